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
std::int32_t IntegerFromText(const QString& text);

// The open result of one statement, positioned on a row. Columns are found by name; reading a
// NULL, or integer text that does not parse, raises the conversion error.
class TDBQuery {
public:
    TDBQuery();
    ~TDBQuery();
    TDBQuery(const TDBQuery&) = delete;
    TDBQuery& operator=(const TDBQuery&) = delete;

    bool Eof() const;
    void Next();
    bool IsNull(const QString& column) const;
    QString AsString(const QString& column) const;
    std::int32_t AsInteger(const QString& column) const;

    // Plumbing for TDB, which owns the query and its column positions by name: open() moves an
    // executed query to its first row; close() finishes it. A closed query is at its end. A row
    // that cannot be fetched raises the error that `failure` makes of the driver's.
    using Failure = std::function<TZEMError(const QSqlError& error)>;
    void open(QSqlQuery* query, const QHash<QString, int>* columns, Failure failure);
    void close();

private:
    QVariant value(const QString& column) const;
    void step();

    QSqlQuery* m_query = nullptr;
    const QHash<QString, int>* m_columns = nullptr;
    Failure m_failure;
    bool m_eof = true;
};
