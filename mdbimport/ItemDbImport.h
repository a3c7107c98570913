#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

#include "common/TZEMError.h"
#include "mdbimport/AccessFileIdentity.h"
#include "mdbimport/AccessSource.h"

// Copies the four item tables (ItemKind, ItemInfo, ItemCreator, ItemCreateRelation) of an Access
// item database into a new TAMU_Item.db with the sample database's schema and indices.
//
// Tables and columns are found by name, letter case aside; extra tables and columns are left
// behind. Every row is kept; a value that does not fit the schema (NULL where only ふりがな may
// be NULL, integer text that is none, an item name or kind twice) refuses the whole import
// with a message that names the table, the row and the column. The database is written under a
// temporary name beside the target and renamed into place only when every table was read whole,
// so a failed import leaves the old database as it was. One import at a time writes a target:
// the others are refused while it holds the target's lock. The database also records which
// Access file it came from, in a table of its own (ImportSourceTable: Name, Value rows Size,
// Modified and Hash, the source's AccessFileIdentity), so that TAMU imports a file only once.
namespace ItemDbImport {

inline constexpr char16_t ImportSourceTable[] = u"TamuImportSource";

// Raised when another import is writing the same target.
class Busy : public TZEMError {
public:
    using TZEMError::TZEMError;
};

struct TableCount {
    QString table;
    std::int64_t rows = 0;
};

// Reads `source` into `target`; raises TZEMError with the reason on failure, Busy when another
// import holds the target. A valid `from` is recorded as the source of the new database. The
// target must be a regular file or not exist: a device, a pipe or a symbolic link is refused.
QList<TableCount> run(AccessSource& source, const QString& target,
                      const AccessFileIdentity& from = {});

// The Access file an imported database records as its source; invalid when it records none or
// cannot be read.
AccessFileIdentity importedFrom(const QString& database);

// Opens the Access file and imports it; the error names the file. Busy and AccessReaderMissing
// keep their types.
QList<TableCount> fromFile(const QString& accessFile, const QString& target);

// The message for a failed import of `accessFile`.
QString failureMessage(const QString& accessFile, const QString& reason);

// The name the database is written under until it is complete.
QString temporaryPath(const QString& target);
// The lock that the import writing `target` holds.
QString lockPath(const QString& target);

// Reads every row of a table; raises TZEMError when the rows read differ from the count the
// table declares, which is how a damaged or cut-off file shows. A damaged page chain can lead
// the reader round in circles, so reading stops as soon as it passes the declared count.
void readRows(AccessTable& table, const QString& tableName,
              const std::function<void(const AccessRow& row, std::int64_t number)>& take);

}  // namespace ItemDbImport
