#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "common/TZEMError.h"

// What the importer needs of an Access file: its tables by name, their columns by name and
// type, and their rows as text. The readers (MdbSource on libmdb, OdbcSource on an ODBC driver)
// and the tests' in-memory tables implement it.

// Column types as far as the import cares: text, whole numbers, other numbers, and the rest
// (dates, yes/no, binary and OLE objects), which no item column may have.
enum class AccessType { Text, Integer, Real, Other };

struct AccessColumn {
    QString name;
    AccessType type = AccessType::Text;
    QString typeName;  // as Access calls it, for messages
};

// One value: the text the reader gives for it, or NULL.
struct AccessValue {
    QString text;
    bool null = false;
};

using AccessRow = QList<AccessValue>;

class AccessTable {
public:
    virtual ~AccessTable() = default;

    virtual QList<AccessColumn> columns() const = 0;
    // The number of rows the file declares for the table; reading must yield exactly these.
    virtual std::int64_t declaredRows() const = 0;
    // Chooses which columns (positions in columns()) fetch() fills, in that order.
    virtual void select(const QList<int>& columns) = 0;
    // The next row's selected values; false after the last row. Raises TZEMError when the
    // file cannot be read.
    virtual bool fetch(AccessRow& row) = 0;
};

// Raised when this system has no reader for Access files (a driver not installed): the file
// itself may be fine.
class AccessReaderMissing : public TZEMError {
public:
    using TZEMError::TZEMError;
};

class AccessSource {
public:
    virtual ~AccessSource() = default;

    // The platform's reader on `path`: libmdb where it is built (Linux), Windows' own Access
    // driver through ODBC on Windows. Raises TZEMError with the reason.
    static std::unique_ptr<AccessSource> open(const QString& path);

    // The user tables, in the file's order.
    virtual QStringList tableNames() const = 0;
    // Opens a table listed by tableNames(); raises TZEMError when it cannot be read.
    virtual std::unique_ptr<AccessTable> table(const QString& name) = 0;

protected:
    // Raises TZEMError when `path` is missing, a folder, unreadable or empty: what every reader
    // checks before its library sees the file.
    static void checkFile(const QString& path);
};
