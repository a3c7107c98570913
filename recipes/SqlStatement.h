#pragma once

#include <QString>
#include <QStringList>

// A statement for the item database: the text with a '?' wherever a value is bound, and the
// values in the order of their '?'. Values are never pasted into the text, so a name holding a
// double quote, or one that happens to spell a column name, is compared as the text it is.
struct SqlStatement {
    QString text;
    QStringList values;
};
