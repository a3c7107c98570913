// Writes a large item database for benchmarks:
//   tamu_gen_itemdb <output.db> [items]
// Half of the items (10,000 by default) are raw materials, half products on six levels; a
// product of level L needs one material of level L-1 and up to six more of lower levels, so
// recipes run six deep and materials are shared widely. The same arguments always give the
// same file.
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>
#include <vector>

#include "recipes/ItemDbSchema.h"
#include "recipes/SqlScript.h"

namespace {

constexpr int levels = 6;

const QStringList jobs{"侍",     "僧",   "神職",   "陰陽師", "忍者",
                       "鍛冶屋", "薬師", "裁縫師", "大工",   "料理人"};
const QStringList versions{"壱の章", "弐の章", "参の章", "四の章", "五の章"};
const QStringList equipClasses{"頭", "首",   "胴",     "腰",   "武器", "腕",
                               "足", "家紋", "お守り", "特殊", "袋",   "その他"};
const QStringList skillNames{"一", "二", "三", "四", "五"};

struct Item {
    QString name;
    int level = 0;
};

class Generator {
public:
    Generator(QSqlDatabase& db, int items) : m_db(db), m_items(items) {}

    bool run(QString& error) {
        if (!SqlScript::run(m_db, ItemDbSchema::tablesScript() + ItemDbSchema::indicesScript(),
                            error)) {
            return false;
        }
        m_db.transaction();
        makeItems();
        bool ok = insertKinds() && insertInfos() && insertRecipes();
        if (!ok) {
            error = m_error;
            m_db.rollback();
            return false;
        }
        if (!m_db.commit()) {
            error = m_db.lastError().text();
            return false;
        }
        return true;
    }

private:
    int pick(int below) { return std::uniform_int_distribution<int>(0, below - 1)(m_random); }

    void makeItems() {
        const int raw = m_items - m_items / 2;
        for (int i = 0; i < m_items; ++i) {
            Item item;
            if (i < raw) {
                item.name = QStringLiteral("素材%1").arg(i + 1, 5, 10, QChar(u'0'));
            } else {
                const int p = i - raw;
                item.level = 1 + p * levels / (m_items - raw);
                item.name = QStringLiteral("製品%1").arg(p + 1, 5, 10, QChar(u'0'));
            }
            m_byLevel.resize(levels + 1);
            m_byLevel[item.level].push_back(i);
            m_all.push_back(item);
        }
    }

    bool exec(QSqlQuery& q, const QVariantList& values) {
        for (int i = 0; i < values.size(); ++i) {
            q.bindValue(i, values[i]);
        }
        if (!q.exec()) {
            m_error = q.lastError().text();
            return false;
        }
        return true;
    }

    bool insertKinds() {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO ItemKind VALUES (?, ?)"));
        for (int k = 0; k < equipClasses.size(); ++k) {
            if (!exec(q, {QStringLiteral("種類%1").arg(k), equipClasses[k]})) {
                return false;
            }
        }
        return true;
    }

    bool insertInfos() {
        QSqlQuery q(m_db);
        q.prepare(QStringLiteral("INSERT INTO ItemInfo VALUES (?, ?, ?, ?, ?, ?)"));
        for (int i = 0; i < int(m_all.size()); ++i) {
            const int buy = 2 + pick(200) * (1 + m_all[i].level);
            const QVariant reading =
                i % 97 == 0 ? QVariant() : QVariant(QStringLiteral("よみ%1").arg(i));
            if (!exec(q, {m_all[i].name, reading, versions[pick(int(versions.size()))],
                          QStringLiteral("種類%1").arg(pick(int(equipClasses.size()))), buy / 2,
                          buy})) {
                return false;
            }
        }
        return true;
    }

    bool insertRecipes() {
        QSqlQuery creator(m_db);
        creator.prepare(QStringLiteral("INSERT INTO ItemCreator VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery relation(m_db);
        relation.prepare(QStringLiteral("INSERT INTO ItemCreateRelation VALUES (?, ?, ?)"));
        for (int level = 1; level <= levels; ++level) {
            for (const int i : m_byLevel[level]) {
                const Item& item = m_all[i];
                // One job for most products, two for every tenth.
                const int jobCount = i % 10 == 0 ? 2 : 1;
                for (int j = 0; j < jobCount; ++j) {
                    const int job = pick(int(jobs.size()));
                    const int catalogue = pick(4);
                    const int skill = pick(int(skillNames.size()));
                    const QString catalogueName =
                        (catalogue == 0 && job % 3 == 0) ? QStringLiteral("知行産物")
                        : (catalogue == 1 && job % 3 == 1)
                            ? QStringLiteral("知行名物")
                            : QStringLiteral("%1目録%2").arg(jobs[job]).arg(catalogue + 1);
                    if (!exec(creator, {item.name, jobs[job], catalogueName,
                                        QStringLiteral("K%1C%2").arg(job).arg(catalogue),
                                        catalogueName.left(2) + skillNames[skill],
                                        QString(QChar(u'A' + skill)), 1 + pick(5),
                                        versions[pick(int(versions.size()))]})) {
                        return false;
                    }
                }
                // One material from the level below, more from any lower level, all different.
                std::vector<int> materials;
                const auto& below = m_byLevel[level - 1];
                materials.push_back(below[pick(int(below.size()))]);
                const int more = pick(7);
                for (int k = 0; k < more; ++k) {
                    const int lower = pick(level);
                    const auto& pool = m_byLevel[lower];
                    const int m = pool[pick(int(pool.size()))];
                    if (std::find(materials.begin(), materials.end(), m) == materials.end()) {
                        materials.push_back(m);
                    }
                }
                for (const int m : materials) {
                    if (!exec(relation, {item.name, m_all[m].name, 1 + pick(9)})) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

    QSqlDatabase& m_db;
    int m_items;
    std::mt19937 m_random{20240601u};
    std::vector<Item> m_all;
    std::vector<std::vector<int>> m_byLevel;
    QString m_error;
};

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    bool ok = true;
    const int items = args.size() >= 2 ? args[1].toInt(&ok) : 10000;
    if (args.isEmpty() || !ok || items < 2 * (levels + 1)) {
        std::fprintf(stderr, "usage: tamu_gen_itemdb <output.db> [items, at least %d]\n",
                     2 * (levels + 1));
        return 2;
    }
    const QString output = args[0];
    const QString temporary = output + QStringLiteral(".part");
    QFile::remove(temporary);
    QString error;
    const QString connection = QStringLiteral("tamu_gen_itemdb");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temporary);
        if (!db.open()) {
            error = db.lastError().text();
            ok = false;
        } else {
            Generator generator(db, items);
            ok = generator.run(error);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                                std::filesystem::path(output.toStdU16String()), ec);
        if (ec) {
            error = QString::fromStdString(ec.message());
            ok = false;
        }
    }
    if (!ok) {
        QFile::remove(temporary);
        std::fprintf(stderr, "tamu_gen_itemdb: %s\n", qUtf8Printable(error));
        return 1;
    }
    return 0;
}
