#pragma once

#include <QString>

#include "mdbimport/AccessSource.h"

// The field types of an Access table, as both readers learn them (libmdb from the file, ODBC
// from the driver), and what the import makes of each: the AccessType and the name Access gives
// the type, for messages.
enum class AccessField {
    Text,
    Memo,
    Byte,
    Integer,
    LongInteger,
    LargeNumber,
    Single,
    Double,
    Currency,
    Decimal,
    YesNo,
    DateTime,
    OleObject,
    Binary,
};

AccessColumn accessColumn(const QString& name, AccessField field);
