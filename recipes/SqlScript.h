#pragma once

#include <QString>
#include <QStringList>

class QSqlDatabase;

// SQL text as the item database's resource files hold it: statements ended by ';', text values
// in single quotes (a doubled quote stands for one), comments from "--" to the end of the line.
namespace SqlScript {

QStringList split(const QString& script);

// Runs every statement of the script in one transaction; on failure returns false and sets
// `error` to the failing statement's message, and nothing of the script is kept.
bool run(QSqlDatabase& db, const QString& script, QString& error);

}  // namespace SqlScript
