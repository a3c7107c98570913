#pragma once

#include <QLatin1String>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QVariant>

// Every row of the four item tables of the database at `path`, in the order stored, one text a
// row: "Table|value:type,...", NULL as NULL.
inline QStringList dumpItemDb(const QString& path) {
    const QString connection = QStringLiteral("dumpItemDb");
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.open();
        for (const char* table : {"ItemKind", "ItemInfo", "ItemCreator", "ItemCreateRelation"}) {
            QSqlQuery q(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)),
                        db);
            while (q.next()) {
                QStringList values;
                for (int i = 0; i < q.record().count(); ++i) {
                    values << (q.isNull(i) ? QStringLiteral("NULL")
                                           : q.value(i).toString() + u':' + q.value(i).typeName());
                }
                rows << QLatin1String(table) + u'|' + values.join(u',');
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return rows;
}
