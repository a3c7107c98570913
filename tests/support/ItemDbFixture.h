#pragma once

#include <QFile>
#include <QList>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <QVariantList>
#include <atomic>
#include <stdexcept>

// Item database files for tests: the four tables, filled from compact row lists, written into a
// temporary folder that lives as long as the fixture. A null QVariant() stores NULL.
//
//   ItemDbFixture db;
//   ItemDbFixture::Tables t;
//   t.creators = {{"刀", "鍛冶屋", "武具目録", "BUGU", "一", "A", 1, "壱の章"}};
//   t.infos = {{"刀", "かたな", "壱の章", "刀剣", 50, 100}, {"玉鋼", "たまはがね", ...}};
//   t.kinds = {{"刀剣", "武器"}};
//   t.relations = {{"刀", "玉鋼", 3}};
//   const QString path = db.create(t);
class ItemDbFixture {
public:
    struct Tables {
        // アイテム名, 生産職業, 目録, MOKUROKU, 技能, GINOU, 生産数, バージョン
        QList<QVariantList> creators;
        // アイテム名, ふりがな, バージョン, アイテム種類, 店売り, 店買い
        QList<QVariantList> infos;
        // アイテム種類, 装備区分
        QList<QVariantList> kinds;
        // アイテム名, 材料, 必要数
        QList<QVariantList> relations;
        // Tables left out of the file ("ItemCreator", "ItemInfo", "ItemKind",
        // "ItemCreateRelation").
        QStringList omit;
        // Statements run after the tables are made (views in a table's place and the like).
        QStringList statements;
    };

    ItemDbFixture() {
        if (!m_dir.isValid()) {
            throw std::runtime_error("cannot create a temporary folder");
        }
    }

    QString folder() const { return m_dir.path() + u'/'; }

    // Writes the tables into <folder>/<fileName> (replacing an older file) and returns its path.
    QString create(const Tables& tables, const QString& fileName = QStringLiteral("TAMU_Item.db")) {
        const QString path = folder() + fileName;
        QFile::remove(path);
        write(path, tables);
        return path;
    }

    // A file with the given raw bytes, for files that only look like a database.
    QString createRaw(const QByteArray& bytes, const QString& fileName) {
        const QString path = folder() + fileName;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size()) {
            throw std::runtime_error("cannot write a fixture file");
        }
        return path;
    }

    static void write(const QString& path, const Tables& t) {
        static std::atomic<unsigned> counter{0};
        const QString name = QStringLiteral("ItemDbFixture_%1").arg(++counter);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            if (!db.open()) {
                QSqlDatabase::removeDatabase(name);
                throw std::runtime_error(db.lastError().text().toStdString());
            }
            QString failure;
            const auto table = [&](const QString& tableName, const QString& columns,
                                   int columnCount, const QList<QVariantList>& rows) {
                if (!failure.isEmpty() || t.omit.contains(tableName)) {
                    return;
                }
                QSqlQuery q(db);
                if (!q.exec(QStringLiteral("CREATE TABLE %1 (%2)").arg(tableName, columns))) {
                    failure = q.lastError().text();
                    return;
                }
                QStringList marks;
                for (int i = 0; i < columnCount; ++i) {
                    marks << QStringLiteral("?");
                }
                const QString insert =
                    QStringLiteral("INSERT INTO %1 VALUES (%2)").arg(tableName, marks.join(u','));
                for (const QVariantList& row : rows) {
                    if (row.size() != columnCount) {
                        failure = tableName + QStringLiteral(": wrong number of columns");
                        return;
                    }
                    q.prepare(insert);
                    for (const QVariant& v : row) {
                        q.addBindValue(v);
                    }
                    if (!q.exec()) {
                        failure = q.lastError().text();
                        return;
                    }
                }
            };
            // A scratch file: no waiting for the disk.
            QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous = OFF"));
            QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode = MEMORY"));
            db.transaction();
            table(QStringLiteral("ItemCreator"),
                  QStringLiteral("アイテム名 TEXT, 生産職業 TEXT, 目録 TEXT, MOKUROKU TEXT, 技能 "
                                 "TEXT, GINOU TEXT, 生産数 INTEGER, バージョン TEXT"),
                  8, t.creators);
            table(QStringLiteral("ItemInfo"),
                  QStringLiteral("アイテム名 TEXT, ふりがな TEXT, バージョン TEXT, アイテム種類 "
                                 "TEXT, 店売り INTEGER, 店買い INTEGER"),
                  6, t.infos);
            table(QStringLiteral("ItemKind"), QStringLiteral("アイテム種類 TEXT, 装備区分 TEXT"), 2,
                  t.kinds);
            table(QStringLiteral("ItemCreateRelation"),
                  QStringLiteral("アイテム名 TEXT, 材料 TEXT, 必要数 INTEGER"), 3, t.relations);
            for (const QString& statement : t.statements) {
                QSqlQuery q(db);
                if (failure.isEmpty() && !q.exec(statement)) {
                    failure = q.lastError().text();
                }
            }
            if (failure.isEmpty()) {
                db.commit();
            } else {
                db.rollback();
            }
            db.close();
            if (!failure.isEmpty()) {
                db = QSqlDatabase();
                QSqlDatabase::removeDatabase(name);
                throw std::runtime_error(failure.toStdString());
            }
        }
        QSqlDatabase::removeDatabase(name);
    }

private:
    QTemporaryDir m_dir;
};
