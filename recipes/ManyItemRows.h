#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <stop_token>
#include <vector>

#include "recipes/RecipeDirection.h"

class TDB;
struct SqlStatement;

// Reading the rows of many items in one statement as the one-item statements give them, item by
// item: the same rows, in the same order, equal rows once as their DISTINCT keeps them.
namespace ManyItemRows {

// SQLite takes a bound name that starts with U+FEFF or U+FFFE as a byte order mark, not as a
// character, and a lone surrogate as no character: the one-item statements look for another name
// then, which only they can tell.
bool boundAsItStands(const QString& name);

// A column collation makes the statements compare and tell apart names otherwise than by their
// text, in ways that only the one-item statements themselves reproduce.
bool namesCompareAsText(TDB& db);

// One row of a one-item materials or users statement: the other end of the edge and, forward,
// the needed count and the material's shop price, as the database holds them, for the reader to
// convert as the one-item reader would.
struct EdgeRow {
    QVariant other;
    QVariant needed;
    QVariant buy;
    std::size_t hash = 0;
};
using EdgeRows = QHash<QString, std::vector<EdgeRow>>;

// Reads the rows of a materials or users statement into rows, grouped by its item column, or all
// under the given item. The rows of one item come one after another. Returns false, with the
// rows incomplete, when a stop was requested.
bool read(TDB& db, RecipeDirection direction, const SqlStatement& statement, EdgeRows& rows,
          const std::stop_token& stop, const QString& item = QString());

}  // namespace ManyItemRows
