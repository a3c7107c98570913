#pragma once

#include <QHash>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>

#include "common/TZEMError.h"

class QSqlError;
class QSqlQuery;

// Integer text as the database and the windows hold it: an optional sign and decimal digits
// within 32 bits; anything else raises "'<text>' は整数ではありません".
std::int32_t integerFromText(const QString& text);
// A column value read as text or as an integer; NULL raises the conversion error.
QString textFromValue(const QVariant& value);
std::int32_t integerFromValue(const QVariant& value);

// The open result of one statement, positioned on a row. Columns are found by name; reading a
// NULL, or integer text that does not parse, raises the conversion error.
class TDBQuery {
public:
    TDBQuery();
    ~TDBQuery();
    TDBQuery(const TDBQuery&) = delete;
    TDBQuery& operator=(const TDBQuery&) = delete;

    bool eof() const;
    void next();
    bool isNull(const QString& column) const;
    QString asString(const QString& column) const;
    std::int32_t asInteger(const QString& column) const;
    // The column's value as the database holds it (NULL, integer, real, text or bytes).
    QVariant value(const QString& column) const;
    // The same by the column's position, for reading many rows.
    int position(const QString& column) const;
    QVariant value(int position) const;

    // Plumbing for TDB, which owns the query and its column positions by name: open() moves an
    // executed query to its first row; close() finishes it. A closed query is at its end. A row
    // that cannot be fetched raises the error that `failure` makes of the driver's.
    using Failure = std::function<TZEMError(const QSqlError& error)>;
    void open(QSqlQuery* query, const QHash<QString, int>* columns, Failure failure,
              std::function<void()> rowArrived = {});
    void close();

private:
    void step();

    QSqlQuery* m_query = nullptr;
    const QHash<QString, int>* m_columns = nullptr;
    Failure m_failure;
    std::function<void()> m_rowArrived;
    bool m_eof = true;
};
