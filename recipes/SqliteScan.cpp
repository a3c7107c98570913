#include "recipes/SqliteScan.h"

#include <sqlite3.h>

#include <QByteArray>

#include "common/TZEMError.h"
#include "recipes/TDB.h"

namespace {

TZEMError sqliteError(sqlite3* handle, const QString& path) {
    return TZEMError(QStringLiteral("アイテムデータベースを読めません：") + path + u'\n' +
                     QString::fromUtf8(sqlite3_errmsg(handle)));
}

}  // namespace

SqliteScan::SqliteScan(TDB& db, const SqlStatement& statement) : m_path(db.Path) {
    sqlite3* handle = db.sqliteHandle();
    const QByteArray text = statement.text.toUtf8();
    if (sqlite3_prepare_v2(handle, text.constData(), int(text.size()), &m_statement, nullptr) !=
        SQLITE_OK) {
        throw sqliteError(handle, m_path);
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
            return true;
        case SQLITE_DONE:
            return false;
        default:
            throw sqliteError(sqlite3_db_handle(m_statement), m_path);
    }
}

bool SqliteScan::isNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool SqliteScan::isText(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_TEXT;
}

std::string_view SqliteScan::text(int column) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return {bytes, static_cast<std::size_t>(sqlite3_column_bytes(m_statement, column))};
}

QVariant SqliteScan::value(int column) const {
    switch (sqlite3_column_type(m_statement, column)) {
        case SQLITE_INTEGER:
            return QVariant(qlonglong(sqlite3_column_int64(m_statement, column)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(m_statement, column));
        case SQLITE_TEXT: {
            const std::string_view bytes = text(column);
            return QVariant(QString::fromUtf8(bytes.data(), qsizetype(bytes.size())));
        }
        case SQLITE_BLOB:
            return QVariant(
                QByteArray(static_cast<const char*>(sqlite3_column_blob(m_statement, column)),
                           sqlite3_column_bytes(m_statement, column)));
        default:
            return QVariant(QMetaType::fromType<QString>());
    }
}
