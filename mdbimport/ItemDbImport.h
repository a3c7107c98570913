#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

#include "mdbimport/AccessSource.h"

// Copies the four item tables (ItemKind, ItemInfo, ItemCreator, ItemCreateRelation) of an Access
// item database into a new TAMU_Item.db with the sample database's schema and indices.
//
// Tables and columns are found by name, letter case aside; extra tables and columns are left
// behind. Every row is kept; a value that does not fit the schema (NULL where only ふりがな may
// be NULL, integer text that is none, an item name or kind twice) refuses the whole import
// with a message that names the table, the row and the column. The database is written under a
// temporary name beside the target and renamed into place only when every table was read whole,
// so a failed import leaves the old database as it was.
namespace ItemDbImport {

struct TableCount {
    QString table;
    std::int64_t rows = 0;
};

// Reads `source` into `target`; raises TZEMError with the reason on failure.
QList<TableCount> run(AccessSource& source, const QString& target);

// Opens the Access file and imports it; the error names the file.
QList<TableCount> fromFile(const QString& accessFile, const QString& target);

// The message for a failed import of `accessFile`.
QString failureMessage(const QString& accessFile, const QString& reason);

// The name the database is written under until it is complete.
QString temporaryPath(const QString& target);

// Reads every row of a table; raises TZEMError when the rows read differ from the count the
// table declares, which is how a damaged or cut-off file shows.
void readRows(AccessTable& table, const QString& tableName,
              const std::function<void(const AccessRow& row, std::int64_t number)>& take);

}  // namespace ItemDbImport
