#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string_view>

#include "recipes/SqlStatement.h"

class TDB;
struct sqlite3_stmt;

// One statement run straight on the SQLite connection of a TDB, row by row, for reads of whole
// tables: text comes as the database's own UTF-8 bytes, without a QVariant or QString per value.
class SqliteScan {
public:
    // Fails with the database's message.
    SqliteScan(TDB& db, const SqlStatement& statement);
    ~SqliteScan();
    SqliteScan(const SqliteScan&) = delete;
    SqliteScan& operator=(const SqliteScan&) = delete;

    // Moves to the next row; false at the end. Fails with the database's message.
    bool next();
    bool isNull(int column) const;
    bool isText(int column) const;
    bool isInteger(int column) const;
    // The text of a text column, valid until the next row.
    std::string_view text(int column) const;
    std::int64_t integer(int column) const;
    // The column exactly as Qt SQL reads it and TDBQuery converts it, when it is text that is one
    // QString's UTF-8 (isPlainUtf8) or an integer within 32 bits; nothing otherwise.
    std::optional<QString> plainText(int column) const;
    std::optional<std::int32_t> plainInteger(int column) const;
    // The first column of every row as plainText, or nothing when one is not plain.
    static std::optional<QStringList> plainTexts(TDB& db, const SqlStatement& statement);
    // The position of the result column of that name; fails as TDBQuery does for a name it lacks.
    int column(std::string_view name) const;

    // Well-formed UTF-8, not led by U+FEFF or U+FFFE: exactly the bytes of one QString, so that
    // equal names are equal bytes, and the text that Qt SQL reads from the column.
    static bool isPlainUtf8(std::string_view text);

private:
    sqlite3_stmt* m_statement = nullptr;
    TDB& m_db;
};
