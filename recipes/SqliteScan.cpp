#include "recipes/SqliteScan.h"

#include <sqlite3.h>

#include <QByteArray>

#include "common/TZEMError.h"
#include "recipes/TDB.h"

SqliteScan::SqliteScan(TDB& db, const SqlStatement& statement) : m_db(db) {
    sqlite3* handle = db.startDirectStatement();
    const QByteArray text = statement.text.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &m_statement, nullptr) !=
        SQLITE_OK) {
        throw m_db.failure(QString::fromUtf8(sqlite3_errmsg(handle)));
    }
    for (int i = 0; i < statement.values.size(); ++i) {
        const QByteArray value = statement.values[i].toUtf8();
        sqlite3_bind_text(m_statement, i + 1, value.constData(), int(value.size()),
                          SQLITE_TRANSIENT);
    }
}

SqliteScan::~SqliteScan() {
    sqlite3_finalize(m_statement);
}

bool SqliteScan::next() {
    switch (sqlite3_step(m_statement)) {
        case SQLITE_ROW:
            m_db.rowArrived();
            return true;
        case SQLITE_DONE:
            return false;
        default:
            throw m_db.failure(QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_statement))));
    }
}

bool SqliteScan::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool SqliteScan::isText(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_TEXT;
}

bool SqliteScan::isInteger(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_INTEGER;
}

std::string_view SqliteScan::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return {bytes, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column))};
}

std::int64_t SqliteScan::integer(int column) const {
    return sqlite3_column_int64(m_statement, column);
}
