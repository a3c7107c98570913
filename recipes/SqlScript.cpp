#include "recipes/SqlScript.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace SqlScript {

QStringList split(const QString& script) {
    QStringList statements;
    QString current;
    bool inText = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (inText) {
            current += c;
            if (c == u'\'') {
                if (i + 1 < script.size() && script[i + 1] == u'\'') {
                    current += script[++i];
                } else {
                    inText = false;
                }
            }
        } else if (c == u'\'') {
            inText = true;
            current += c;
        } else if (c == u'-' && i + 1 < script.size() && script[i + 1] == u'-') {
            while (i < script.size() && script[i] != u'\n') {
                ++i;
            }
            current += u'\n';
        } else if (c == u';') {
            if (!current.trimmed().isEmpty()) {
                statements << current.trimmed();
            }
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty()) {
        statements << current.trimmed();
    }
    return statements;
}

bool run(QSqlDatabase& db, const QString& script, QString& error) {
    if (!db.transaction()) {
        error = db.lastError().text();
        return false;
    }
    {
        QSqlQuery query(db);
        for (const QString& statement : split(script)) {
            if (!query.exec(statement)) {
                error = query.lastError().text() + QStringLiteral("\n  in: ") + statement.left(200);
                query.finish();
                db.rollback();
                return false;
            }
        }
    }
    if (!db.commit()) {
        error = db.lastError().text();
        return false;
    }
    return true;
}

}  // namespace SqlScript
