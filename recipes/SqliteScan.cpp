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

std::optional<QString> SqliteScan::plainText(int column) const {
    if (!isText(column)) {
        return std::nullopt;
    }
    const std::string_view bytes = text(column);
    if (!isPlainUtf8(bytes)) {
        return std::nullopt;
    }
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

std::optional<std::int32_t> SqliteScan::plainInteger(int column) const {
    const std::int64_t value = isInteger(column) ? integer(column) : INT64_MIN;
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return std::int32_t(value);
}

std::optional<QStringList> SqliteScan::plainTexts(TDB& db, const SqlStatement& statement) {
    QStringList texts;
    for (SqliteScan scan(db, statement); scan.next();) {
        std::optional<QString> text = scan.plainText(0);
        if (!text) {
            return std::nullopt;
        }
        texts << *std::move(text);
    }
    return texts;
}

int SqliteScan::column(std::string_view name) const {
    for (int i = 0, n = sqlite3_column_count(m_statement); i < n; ++i) {
        if (const char* own = sqlite3_column_name(m_statement, i); own != nullptr && own == name) {
            return i;
        }
    }
    throw TZEMError(QStringLiteral("項目 '%1' が見つかりません")
                        .arg(QString::fromUtf8(name.data(), qsizetype(name.size()))));
}

bool SqliteScan::isPlainUtf8(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF") || text.starts_with("\xEF\xBF\xBE")) {
        return false;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = p + text.size();
    while (p < end) {
        const unsigned lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int trailing = 0;
        char32_t code = 0;
        char32_t least = 0;
        if ((lead & 0xE0) == 0xC0) {
            trailing = 1, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            trailing = 2, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            trailing = 3, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (end - p <= trailing) {
            return false;
        }
        for (int k = 1; k <= trailing; ++k) {
            if ((p[k] & 0xC0) != 0x80) {
                return false;
            }
            code = (code << 6) | (p[k] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            return false;
        }
        p += trailing + 1;
    }
    return true;
}
