#include "mdbimport/OdbcSource.h"

// The ODBC headers want Windows' types on Windows.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
#include <sql.h>
#include <sqlext.h>

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QSqlDriver>
#include <QSqlError>
#include <QVariant>
#include <algorithm>
#include <vector>

#include "common/TZEMError.h"
#include "mdbimport/AccessField.h"
#include "mdbimport/SqlConnection.h"

static_assert(sizeof(SQLWCHAR) == sizeof(QChar), "ODBC's wide characters are UTF-16");

namespace {

// ODBC takes its strings through non-const pointers that it only reads.
SQLWCHAR* wide(const QString& s) {
    return reinterpret_cast<SQLWCHAR*>(const_cast<QChar*>(s.constData()));
}

// A name the driver wrote into `buffer`, `length` characters long by its count. Some drivers
// (mdbtools) count the bytes of the name in UTF-8; the terminating zero ends it either way.
QString nameIn(const std::vector<SQLWCHAR>& buffer, SQLSMALLINT length) {
    const auto* chars = reinterpret_cast<const QChar*>(buffer.data());
    qsizetype size = 0;
    const qsizetype limit = std::min<qsizetype>(length, qsizetype(buffer.size()) - 1);
    while (size < limit && !chars[size].isNull()) {
        ++size;
    }
    return QString(chars, size);
}

// The driver's messages about the last call on `handle`, one a line.
QString diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    QStringList lines;
    std::vector<SQLWCHAR> message(1024);
    SQLWCHAR state[6];
    SQLINTEGER native = 0;
    SQLSMALLINT length = 0;
    for (SQLSMALLINT i = 1;
         SQL_SUCCEEDED(SQLGetDiagRecW(type, handle, i, state, &native, message.data(),
                                      SQLSMALLINT(message.size()), &length));
         ++i) {
        const QString line = nameIn(message, length).trimmed();
        if (!line.isEmpty()) {
            lines << line;
        }
    }
    return lines.join(QStringLiteral(" / "));
}

QString withDetail(const QString& reason, const QString& detail) {
    return detail.isEmpty() ? reason : reason + QStringLiteral(" (") + detail + u')';
}

QString missingDriver(const QString& driver) {
    return QStringLiteral(
               "ODBC ドライバー「%1」が見つかりません。Access のファイルを読むには、Microsoft の "
               "Access データベース エンジン (Microsoft Access Database Engine 再頒布可能パッケー"
               "ジ) の %2 ビット版を入れてから、TAMU を起動し直してください")
        .arg(driver)
        .arg(sizeof(void*) * 8);
}

// A value of a connection string, in braces where it holds what would end or open one.
QString attribute(const QString& value) {
    const bool plain = !value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') &&
                       value.trimmed() == value;
    return plain ? value : u'{' + QString(value).replace(u'}', QStringLiteral("}}")) + u'}';
}

// A number as the driver wrote it, in the C locale's notation. Drivers write numbers as text in
// the C locale or the user's; whole numbers read alike in both, but a decimal comma does not.
// (Asked for binary values, the mdbtools driver copies the text of decimals and counts instead.)
QString cNotation(const QString& text) {
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    c.toDouble(text, &ok);
    if (ok) {
        return text;
    }
    const double value = QLocale::system().toDouble(text, &ok);
    return ok ? QString::number(value, 'g', QLocale::FloatingPointShortest) : text;
}

// Access names cannot hold brackets, so brackets quote any of them.
QString quoted(const QString& name) {
    return u'[' + name + u']';
}

AccessField fieldOf(SQLSMALLINT sqlType, const QString& typeName) {
    // The mdbtools driver calls a memo a VARCHAR and a decimal a LONGVARCHAR; its type names
    // tell them apart, as those of Windows' driver do for money and decimals.
    const QString name = typeName.toUpper();
    if (name == u"MEMO") {
        return AccessField::Memo;
    }
    if (name == u"CURRENCY" || name == u"MONEY") {
        return AccessField::Currency;
    }
    if (name == u"NUMERIC" || name == u"DECIMAL") {
        return AccessField::Decimal;
    }
    switch (sqlType) {
        case SQL_CHAR:
        case SQL_VARCHAR:
        case SQL_WCHAR:
        case SQL_WVARCHAR:
            return AccessField::Text;
        case SQL_LONGVARCHAR:
        case SQL_WLONGVARCHAR:
            return AccessField::Memo;
        case SQL_TINYINT:
            return AccessField::Byte;
        case SQL_SMALLINT:
            return AccessField::Integer;
        case SQL_INTEGER:
            return AccessField::LongInteger;
        case SQL_BIGINT:
            return AccessField::LargeNumber;
        case SQL_REAL:
            return AccessField::Single;
        case SQL_FLOAT:
        case SQL_DOUBLE:
            return AccessField::Double;
        case SQL_NUMERIC:
        case SQL_DECIMAL:
            return AccessField::Decimal;
        case SQL_BIT:
            return AccessField::YesNo;
        case SQL_DATETIME:
        case SQL_TYPE_DATE:
        case SQL_TYPE_TIME:
        case SQL_TYPE_TIMESTAMP:
        case SQL_TIMESTAMP:
            return AccessField::DateTime;
        case SQL_LONGVARBINARY:
            return AccessField::OleObject;
        default:
            return AccessField::Binary;
    }
}

// One statement handle on the connection, with reading of its result's values. A failure
// raises TZEMError with the reason given, a text or a function making it (so that the rows
// read in bulk make no text until one fails), and the driver's words.
class Statement {
public:
    explicit Statement(SQLHDBC dbc) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &m_statement))) {
            m_statement = SQL_NULL_HSTMT;
            throw TZEMError(withDetail(QStringLiteral("ODBC の文を用意できません"),
                                       diagnostics(SQL_HANDLE_DBC, dbc)));
        }
    }
    ~Statement() { SQLFreeHandle(SQL_HANDLE_STMT, m_statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    SQLHSTMT handle() const { return m_statement; }

    template <typename Reason>
    void check(SQLRETURN result, const Reason& reason) const {
        if (!SQL_SUCCEEDED(result)) {
            throw TZEMError(withDetail(reason(), diagnostics(SQL_HANDLE_STMT, m_statement)));
        }
    }
    void check(SQLRETURN result, const QString& reason) const {
        check(result, [&] { return reason; });
    }

    void exec(const QString& sql, const QString& reason) {
        SQLFreeStmt(m_statement, SQL_CLOSE);
        check(SQLExecDirectW(m_statement, wide(sql), SQLINTEGER(sql.size())), reason);
    }

    // The next row; false after the last.
    template <typename Reason>
    bool fetch(const Reason& reason) {
        const SQLRETURN result = SQLFetch(m_statement);
        if (result == SQL_NO_DATA) {
            SQLFreeStmt(m_statement, SQL_CLOSE);
            return false;
        }
        check(result, reason);
        return true;
    }

    // Column `column` (from 1) of the current row as text, read in pieces as long as it goes
    // on; false for NULL.
    template <typename Reason>
    bool text(SQLUSMALLINT column, QString& out, const Reason& reason) {
        out.clear();
        const qsizetype room = qsizetype(m_buffer.size()) - 1;
        for (;;) {
            SQLLEN length = 0;
            const SQLRETURN result =
                SQLGetData(m_statement, column, SQL_C_WCHAR, m_buffer.data(),
                           SQLLEN(m_buffer.size() * sizeof(SQLWCHAR)), &length);
            if (result == SQL_NO_DATA) {
                return true;
            }
            check(result, reason);
            if (length == SQL_NULL_DATA) {
                return false;
            }
            const bool cut = length == SQL_NO_TOTAL || length / SQLLEN(sizeof(SQLWCHAR)) > room;
            out.append(reinterpret_cast<const QChar*>(m_buffer.data()),
                       cut ? room : qsizetype(length / SQLLEN(sizeof(SQLWCHAR))));
            if (!cut || result == SQL_SUCCESS) {
                return true;
            }
        }
    }

private:
    SQLHSTMT m_statement = SQL_NULL_HSTMT;
    std::vector<SQLWCHAR> m_buffer = std::vector<SQLWCHAR>(256);
};

}  // namespace

struct OdbcSource::Connection {
    SqlConnection sql;
    SQLHDBC dbc = SQL_NULL_HDBC;

    explicit Connection(const QString& connectionString)
        : sql(QStringLiteral("QODBC"), connectionString) {}
};

namespace {

class OdbcTable : public AccessTable {
public:
    OdbcTable(std::shared_ptr<OdbcSource::Connection> connection, QString name)
        : m_connection(std::move(connection)),
          m_name(std::move(name)),
          m_statement(m_connection->dbc) {
        const QString failure = QStringLiteral("表 %1 を読めません").arg(m_name);
        m_statement.exec(QStringLiteral("SELECT COUNT(*) FROM ") + quoted(m_name), failure);
        const auto reason = [&] { return failure; };
        QString count;
        bool whole = m_statement.fetch(reason) && m_statement.text(1, count, reason);
        if (whole) {
            m_rows = count.toLongLong(&whole);
        }
        if (!whole) {
            throw TZEMError(failure);
        }

        // The columns as a query over all of them describes them, in the table's order.
        m_statement.exec(QStringLiteral("SELECT * FROM ") + quoted(m_name), failure);
        SQLSMALLINT columnCount = 0;
        m_statement.check(SQLNumResultCols(m_statement.handle(), &columnCount), failure);
        std::vector<SQLWCHAR> columnName(256);
        std::vector<SQLWCHAR> typeName(256);
        for (SQLUSMALLINT i = 1; i <= SQLUSMALLINT(columnCount); ++i) {
            SQLSMALLINT nameLength = 0;
            SQLSMALLINT sqlType = 0;
            SQLULEN size = 0;
            SQLSMALLINT digits = 0;
            SQLSMALLINT nullable = 0;
            m_statement.check(SQLDescribeColW(m_statement.handle(), i, columnName.data(),
                                              SQLSMALLINT(columnName.size()), &nameLength, &sqlType,
                                              &size, &digits, &nullable),
                              failure);
            SQLSMALLINT typeBytes = 0;
            const bool typed = SQL_SUCCEEDED(SQLColAttributeW(
                m_statement.handle(), i, SQL_DESC_TYPE_NAME, typeName.data(),
                SQLSMALLINT(typeName.size() * sizeof(SQLWCHAR)), &typeBytes, nullptr));
            const QString type = typed ? nameIn(typeName, SQLSMALLINT(typeName.size())) : QString();
            m_columns << accessColumn(nameIn(columnName, nameLength), fieldOf(sqlType, type));
        }
        SQLFreeStmt(m_statement.handle(), SQL_CLOSE);
    }

    QList<AccessColumn> columns() const override { return m_columns; }
    std::int64_t declaredRows() const override { return m_rows; }

    void select(const QList<int>& columns) override {
        m_selected = columns;
        m_fetched = 0;
        m_done = false;
        QStringList names;
        for (int column : columns) {
            names << quoted(m_columns[column].name);
        }
        m_statement.exec(QStringLiteral("SELECT %1 FROM %2").arg(names.join(u','), quoted(m_name)),
                         QStringLiteral("表 %1 を読めません").arg(m_name));
    }

    bool fetch(AccessRow& row) override {
        const std::int64_t number = m_fetched + 1;
        if (m_done || !m_statement.fetch([&] {
                return QStringLiteral("表 %1 の %2 行目を読めません").arg(m_name).arg(number);
            })) {
            m_done = true;
            return false;
        }
        m_fetched = number;
        row.resize(m_selected.size());
        for (qsizetype i = 0; i < m_selected.size(); ++i) {
            const AccessColumn& column = m_columns[m_selected[i]];
            AccessValue& value = row[i];
            value.null = !m_statement.text(SQLUSMALLINT(i + 1), value.text, [&] {
                return QStringLiteral("表 %1 の %2 行目の列 %3 を読めません")
                    .arg(m_name)
                    .arg(number)
                    .arg(column.name);
            });
            if (column.type == AccessType::Real && !value.null) {
                value.text = cNotation(value.text);
            }
        }
        return true;
    }

private:
    std::shared_ptr<OdbcSource::Connection> m_connection;  // outlives the statement
    QString m_name;
    Statement m_statement;
    QList<AccessColumn> m_columns;
    std::int64_t m_rows = 0;
    QList<int> m_selected;
    std::int64_t m_fetched = 0;
    bool m_done = false;  // the cursor passed the last row and is closed
};

}  // namespace

QString OdbcSource::defaultDriver() {
    return QStringLiteral("Microsoft Access Driver (*.mdb, *.accdb)");
}

bool OdbcSource::driverInstalled(const QString& driver) {
    if (driver.contains(u'/') || driver.contains(u'\\')) {
        return QFileInfo(driver).isFile();
    }
    SQLHENV env = SQL_NULL_HENV;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env))) {
        return false;
    }
    bool found = false;
    if (SQL_SUCCEEDED(SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION,
                                    reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0))) {
        std::vector<SQLWCHAR> name(512);
        std::vector<SQLWCHAR> attributes(4096);
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT attributesLength = 0;
        SQLUSMALLINT direction = SQL_FETCH_FIRST;
        while (!found &&
               SQL_SUCCEEDED(SQLDriversW(env, direction, name.data(), SQLSMALLINT(name.size()),
                                         &nameLength, attributes.data(),
                                         SQLSMALLINT(attributes.size()), &attributesLength))) {
            found = nameIn(name, nameLength).compare(driver, Qt::CaseInsensitive) == 0;
            direction = SQL_FETCH_NEXT;
        }
    }
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    return found;
}

OdbcSource::OdbcSource(const QString& path, const QString& driver) {
    checkFile(path);
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QODBC"))) {
        throw AccessReaderMissing(QStringLiteral(
            "Qt の ODBC ドライバー (qsqlodbc) がありません。TAMU を入れ直してください"));
    }
    if (!driverInstalled(driver)) {
        throw AccessReaderMissing(missingDriver(driver));
    }
    m_connection = std::make_shared<Connection>(
        QStringLiteral("DRIVER=%1;DBQ=%2;ReadOnly=1")
            .arg(u'{' + driver + u'}', attribute(QDir::toNativeSeparators(path))));
    QSqlDatabase db = m_connection->sql.db();
    if (!db.open()) {
        throw TZEMError(withDetail(QStringLiteral("Access のデータベースではないか、壊れています"),
                                   db.lastError().databaseText().trimmed()));
    }
    const QVariant handle = db.driver()->handle();
    if (handle.metaType() != QMetaType::fromType<SQLHDBC>() ||
        !*static_cast<const SQLHDBC*>(handle.constData())) {
        throw TZEMError(QStringLiteral("ODBC の接続を使えません"));
    }
    m_connection->dbc = *static_cast<const SQLHDBC*>(handle.constData());

    // The user tables; drivers that do not filter by type (mdbtools) still tell the type.
    Statement tables(m_connection->dbc);
    const QString failure = QStringLiteral("表の一覧を読めません");
    const QString tableType = QStringLiteral("TABLE");
    tables.check(SQLTablesW(tables.handle(), nullptr, 0, nullptr, 0, nullptr, 0, wide(tableType),
                            SQLSMALLINT(tableType.size())),
                 failure);
    QString name;
    QString type;
    const auto reason = [&] { return failure; };
    while (tables.fetch(reason)) {
        if (tables.text(3, name, reason) && tables.text(4, type, reason) && type == tableType) {
            m_tables << name;
        }
    }
}

OdbcSource::~OdbcSource() = default;

QStringList OdbcSource::tableNames() const {
    return m_tables;
}

std::unique_ptr<AccessTable> OdbcSource::table(const QString& name) {
    if (!m_tables.contains(name)) {
        throw TZEMError(QStringLiteral("表 %1 がありません").arg(name));
    }
    return std::make_unique<OdbcTable>(m_connection, name);
}
