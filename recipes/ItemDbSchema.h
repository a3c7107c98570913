#pragma once

#include <QList>
#include <QString>

// The item database's four tables, read only by the program: the one description that the
// recipe search reads by, the Access import writes by, and the sample and benchmark databases
// are built from. Item names join the tables; only ふりがな may be NULL; 生産数, 必要数, 店売り
// and 店買い hold decimal integers.
namespace ItemDbSchema {

enum class Kind { Text, Integer };

struct Column {
    const char16_t* name;
    Kind kind = Kind::Text;
    bool nullable = false;
};

struct Table {
    const char16_t* name;
    QList<Column> columns;    // in the table's order
    bool firstIsKey = false;  // the first column is the table's primary key
};

// ItemKind, ItemInfo, ItemCreator, ItemCreateRelation.
const QList<Table>& tables();

// SQL scripts (statements ended by ';') that create the tables, and their indices: every
// recipe walk looks items up by product and by material. A bulk load creates the indices once
// the rows are in.
QString tablesScript();
QString indicesScript();

}  // namespace ItemDbSchema
