#pragma once

#include <QString>
#include <cstdint>
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

private:
    sqlite3_stmt* m_statement = nullptr;
    TDB& m_db;
};
