#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <QtTest>
#include <functional>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/TDB.h"
#include "support/ItemDbFixture.h"

using Builder = std::function<SqlStatement()>;
Q_DECLARE_METATYPE(Builder)
Q_DECLARE_METATYPE(SqlStatement)

namespace {

const QString all = QStringLiteral("全て");

// A small world: two smiths' products sharing materials, a product one level up, a material
// without an ItemInfo row, a NULL reading, names with a double quote and names that spell
// column names.
ItemDbFixture::Tables worldTables() {
    ItemDbFixture::Tables t;
    t.kinds = {
        {"刀剣", "武器"}, {"兜", "頭"}, {"鉱石", "その他"}, {"木材", "その他"}, {"薬", "特殊"}};
    t.infos = {{"刀", "かたな", "壱の章", "刀剣", 500, 1000},
               {"脇差", "わきざし", "弐の章", "刀剣", 300, 600},
               {"兜", QVariant(), "壱の章", "兜", 200, 400},
               {"玉鋼", "たまはがね", "壱の章", "鉱石", 10, 20},
               {"木炭", "もくたん", "壱の章", "木材", 2, 5},
               {"薬草", "やくそう", "壱の章", "薬", 1, 3},
               {"傷薬", "きずぐすり", "弐の章", "薬", 20, 40},
               {"名\"物", "めいぶつ", "弐の章", "薬", 70, 90},
               {"アイテム名", "あいてむめい", "壱の章", "薬", 5, 6},
               {"材料", "ざいりょう", "壱の章", "鉱石", 1, 1}};
    t.creators = {{"刀", "鍛冶屋", "武具目録", "BUGU", "刀匠一", "A1", 1, "壱の章"},
                  {"刀", "侍", "武具目録", "BUGU", "刀匠一", "A1", 1, "壱の章"},
                  {"脇差", "鍛冶屋", "武具目録", "BUGU", "刀匠二", "A2", 2, "弐の章"},
                  {"兜", "鍛冶屋", "防具目録", "BOUGU", "甲冑一", "B1", 1, "壱の章"},
                  {"玉鋼", "鍛冶屋", "素材目録", "ASOZAI", "精錬", "A0", 5, "壱の章"},
                  {"傷薬", "薬師", "知行産物", "CHIGYO", "調合一", "C1", 3, "弐の章"},
                  {"名\"物", "薬師", "知行名物", "CHIMEI", "調合一", "C1", 2, "弐の章"},
                  {"アイテム名", "薬師", "秘伝", "", "", "", 4, "壱の章"}};
    t.relations = {{"刀", "玉鋼", 3},         {"刀", "木炭", 2},        {"脇差", "玉鋼", 2},
                   {"脇差", "木炭", 1},       {"脇差", "幻の石", 1},    {"兜", "玉鋼", 4},
                   {"玉鋼", "木炭", 1},       {"傷薬", "薬草", 2},      {"名\"物", "薬草", 1},
                   {"アイテム名", "薬草", 5}, {"アイテム名", "材料", 1}};
    return t;
}

// Every row of a statement, its columns joined with '|', NULL as "<NULL>".
QStringList rowsOf(TDB& db, const SqlStatement& statement, const QStringList& columns) {
    QStringList rows;
    for (TDBQuery& q = db.OpenQuery(statement); !q.eof(); q.next()) {
        QStringList cells;
        for (const QString& c : columns) {
            cells << (q.isNull(c) ? QStringLiteral("<NULL>") : q.asString(c));
        }
        rows << cells.join(u'|');
    }
    return rows;
}

QString sampleDatabase() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/TAMU_Item.db");
}

// The sample database's 見本：… products break the rules of ordinary recipes on purpose.
bool isShowcase(const QString& name) {
    return name.startsWith(QStringLiteral("見本："));
}

}  // namespace

class TestItemSql : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase() { m_db.reset(); }
    void statementText_data();
    void statementText();
    void rows_data();
    void rows();
    void sampleDatabaseAnswersEveryStatement();
    void sampleDatabaseHasFiefProducts();
    void sampleDatabaseShowsEveryRule_data();
    void sampleDatabaseShowsEveryRule();

private:
    ItemDbFixture m_fixture;
    std::unique_ptr<TDB> m_db;
};

void TestItemSql::initTestCase() {
    m_db = std::make_unique<TDB>(m_fixture.create(worldTables()));
    QVERIFY(m_db->Connect());
}

void TestItemSql::statementText_data() {
    QTest::addColumn<Builder>("builder");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("values");

    const QString catalogBase = QStringLiteral(
        "Select DISTINCT 目録, MOKUROKU   From ItemCreator  Where 生産職業 = ?   and MOKUROKU <> "
        "''");
    QTest::newRow("catalogues, every version")
        << Builder([] { return SqlCatalogList(QStringLiteral("侍"), all); })
        << catalogBase + " Order by MOKUROKU" << QStringList{"侍"};
    QTest::newRow("catalogues of one version")
        << Builder([] { return SqlCatalogList(QStringLiteral("侍"), QStringLiteral("壱の章")); })
        << catalogBase + " And バージョン = ? Order by MOKUROKU" << QStringList{"侍", "壱の章"};
    const QString searchBase = QStringLiteral(
        "Select distinct a.アイテム名, a.生産数   From ItemCreator a, ItemKind b, ItemInfo c  "
        "Where "
        "c.アイテム種類 = b.アイテム種類    And a.アイテム名   = c.アイテム名 ");
    QTest::newRow("condition search, all")
        << Builder([] { return SqlConditionSearch(all, all, all, all, all); }) << searchBase
        << QStringList{};
    QTest::newRow("condition search, every condition")
        << Builder([] { return SqlConditionSearch("侍", "武具目録", "刀匠一", "壱の章", "武器"); })
        << searchBase +
               "  and a.生産職業 = ?  And a.目録 = ?  And a.技能 = ?  And c.バージョン = ?  And "
               "b.装備区分 = ? "
        << QStringList{"侍", "武具目録", "刀匠一", "壱の章", "武器"};
    QTest::newRow("condition search, empty catalogue and skill left out")
        << Builder([] { return SqlConditionSearch("侍", "", "", all, all); })
        << searchBase + "  and a.生産職業 = ? " << QStringList{"侍"};
    QTest::newRow("condition search, empty job, version and class kept")
        << Builder([] { return SqlConditionSearch("", all, all, "", ""); })
        << searchBase + "  and a.生産職業 = ?  And c.バージョン = ?  And b.装備区分 = ? "
        << QStringList{"", "", ""};
    QTest::newRow("name search") << Builder([] {
        return SqlNameSearch("名\"物");
    }) << "Select distinct アイテム名,生産数   From ItemCreator  Where アイテム名 like ?"
                                 << QStringList{"%名\"物%"};
}

void TestItemSql::statementText() {
    QFETCH(Builder, builder);
    QFETCH(QString, text);
    QFETCH(QStringList, values);
    const SqlStatement s = builder();
    QCOMPARE(s.text, text);
    QCOMPARE(s.values, values);
    QCOMPARE(s.text.count(u'?'), s.values.size());
    QVERIFY(!s.text.contains(u'"'));
}

void TestItemSql::rows_data() {
    QTest::addColumn<Builder>("builder");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<bool>("ordered");
    QTest::addColumn<QStringList>("expected");

    const QStringList product{"アイテム名", "生産数"};
    QTest::newRow("jobs") << Builder(SqlJobList) << QStringList{"生産職業"} << false
                          << QStringList{"侍", "薬師", "鍛冶屋"};
    QTest::newRow("versions") << Builder(SqlVersionList) << QStringList{"バージョン"} << false
                              << QStringList{"壱の章", "弐の章"};
    QTest::newRow("equipment classes") << Builder(SqlEquipList) << QStringList{"装備区分"} << false
                                       << QStringList{"その他", "特殊", "武器", "頭"};
    QTest::newRow("catalogues ordered by key, empty key excluded")
        << Builder([] { return SqlCatalogList("鍛冶屋", all); }) << QStringList{"目録"} << true
        << QStringList{"素材目録", "防具目録", "武具目録"};
    QTest::newRow("catalogues without an empty key")
        << Builder([] { return SqlCatalogList("薬師", all); }) << QStringList{"目録"} << true
        << QStringList{"知行産物", "知行名物"};
    QTest::newRow("catalogues of one version")
        << Builder([] { return SqlCatalogList("鍛冶屋", "弐の章"); }) << QStringList{"目録"} << true
        << QStringList{"武具目録"};
    QTest::newRow("skills ordered by key")
        << Builder([] { return SqlSkillList("武具目録", all); }) << QStringList{"技能"} << true
        << QStringList{"刀匠一", "刀匠二"};
    QTest::newRow("skills of one version")
        << Builder([] { return SqlSkillList("武具目録", "壱の章"); }) << QStringList{"技能"} << true
        << QStringList{"刀匠一"};
    QTest::newRow("skills with empty key excluded")
        << Builder([] { return SqlSkillList("秘伝", all); }) << QStringList{"技能"} << true
        << QStringList{};
    QTest::newRow("condition search, all, distinct over jobs")
        << Builder([] { return SqlConditionSearch(all, all, all, all, all); }) << product << false
        << QStringList{"刀|1", "脇差|2", "兜|1", "玉鋼|5", "傷薬|3", "名\"物|2", "アイテム名|4"};
    QTest::newRow("condition search, job and class")
        << Builder([] { return SqlConditionSearch("鍛冶屋", all, all, all, "武器"); }) << product
        << false << QStringList{"刀|1", "脇差|2"};
    QTest::newRow("condition search, catalogue and skill")
        << Builder([] { return SqlConditionSearch("鍛冶屋", "武具目録", "刀匠二", all, all); })
        << product << false << QStringList{"脇差|2"};
    QTest::newRow("condition search, item version")
        << Builder([] { return SqlConditionSearch(all, "", "", "壱の章", all); }) << product
        << false << QStringList{"刀|1", "兜|1", "玉鋼|5", "アイテム名|4"};
    QTest::newRow("condition search, empty job finds nothing")
        << Builder([] { return SqlConditionSearch("", all, all, all, all); }) << product << false
        << QStringList{};
    QTest::newRow("name search, empty text lists every product")
        << Builder([] { return SqlNameSearch(""); }) << product << false
        << QStringList{"刀|1", "脇差|2", "兜|1", "玉鋼|5", "傷薬|3", "名\"物|2", "アイテム名|4"};
    QTest::newRow("name search, part of a name")
        << Builder([] { return SqlNameSearch("薬"); }) << product << false << QStringList{"傷薬|3"};
    QTest::newRow("name search, double quote") << Builder([] { return SqlNameSearch("\""); })
                                               << product << false << QStringList{"名\"物|2"};
    QTest::newRow("material search") << Builder([] { return SqlMaterialSearch("鋼"); })
                                     << QStringList{"材料"} << false << QStringList{"玉鋼"};
    QTest::newRow("material search, empty text")
        << Builder([] { return SqlMaterialSearch(""); }) << QStringList{"材料"} << false
        << QStringList{"玉鋼", "木炭", "幻の石", "薬草", "材料"};
    QTest::newRow("materials, one row per material although two jobs make it")
        << Builder([] { return SqlItemMaterials("刀"); })
        << QStringList{"アイテム名", "材料", "必要数", "店買い"} << false
        << QStringList{"刀|玉鋼|3|20", "刀|木炭|2|5"};
    QTest::newRow("materials, one without ItemInfo row is missing")
        << Builder([] { return SqlItemMaterials("脇差"); }) << QStringList{"材料", "必要数"}
        << false << QStringList{"玉鋼|2", "木炭|1"};
    QTest::newRow("materials of a raw material") << Builder([] { return SqlItemMaterials("木炭"); })
                                                 << QStringList{"材料"} << false << QStringList{};
    QTest::newRow("materials of a name with a double quote")
        << Builder([] { return SqlItemMaterials("名\"物"); }) << QStringList{"材料", "必要数"}
        << false << QStringList{"薬草|1"};
    QTest::newRow("materials of a name equal to a column")
        << Builder([] { return SqlItemMaterials("アイテム名"); }) << QStringList{"材料"} << false
        << QStringList{"薬草", "材料"};
    QTest::newRow("users of a material")
        << Builder([] { return SqlMaterialUsers("玉鋼"); }) << QStringList{"アイテム名"} << false
        << QStringList{"刀", "脇差", "兜"};
    QTest::newRow("users of a material named like the column")
        << Builder([] { return SqlMaterialUsers("材料"); }) << QStringList{"アイテム名"} << false
        << QStringList{"アイテム名"};
    QTest::newRow("count of an item named like the column")
        << Builder([] { return SqlItemCount("アイテム名"); }) << QStringList{"生産数"} << false
        << QStringList{"4"};
    QTest::newRow("null reading") << Builder([] { return SqlItemYomi("兜"); })
                                  << QStringList{"ふりがな"} << false << QStringList{"<NULL>"};
    QTest::newRow("jobs of an item")
        << Builder([] { return SqlItemJobs("刀"); }) << QStringList{"生産職業"} << false
        << QStringList{"鍛冶屋", "侍"};
    QTest::newRow("catalogue of an item")
        << Builder([] { return SqlItemCatalog("名\"物"); }) << QStringList{"目録"} << false
        << QStringList{"知行名物"};
    QTest::newRow("product info, one row per producing job")
        << Builder([] { return SqlProductInfo("刀"); })
        << QStringList{"生産職業", "目録", "技能", "生産数", "ふりがな", "店売り", "店買い"}
        << false
        << QStringList{"鍛冶屋|武具目録|刀匠一|1|かたな|500|1000",
                       "侍|武具目録|刀匠一|1|かたな|500|1000"};
}

void TestItemSql::rows() {
    QFETCH(Builder, builder);
    QFETCH(QStringList, columns);
    QFETCH(bool, ordered);
    QFETCH(QStringList, expected);
    QStringList got = rowsOf(*m_db, builder(), columns);
    if (!ordered) {
        got.sort();
        expected.sort();
    }
    QCOMPARE(got, expected);
}

// The database that the build makes beside the program answers every statement, for values
// taken from its own lists.
void TestItemSql::sampleDatabaseAnswersEveryStatement() {
    QVERIFY2(QFileInfo::exists(sampleDatabase()), qPrintable(sampleDatabase()));
    TDB db(sampleDatabase());
    db.Connect();
    const QStringList jobs = rowsOf(db, SqlJobList(), {"生産職業"});
    const QStringList versions = rowsOf(db, SqlVersionList(), {"バージョン"});
    const QStringList equips = rowsOf(db, SqlEquipList(), {"装備区分"});
    QVERIFY(jobs.size() >= 7);
    QVERIFY(versions.size() >= 3);
    QCOMPARE(QSet<QString>(equips.begin(), equips.end()),
             (QSet<QString>{"頭", "首", "胴", "腰", "武器", "腕", "足", "家紋", "お守り", "特殊",
                            "袋", "その他"}));
    int catalogues = 0;
    for (const QString& job : jobs) {
        const QStringList cats = rowsOf(db, SqlCatalogList(job, all), {"目録"});
        QVERIFY2(!cats.isEmpty(), qPrintable(job));
        catalogues += int(cats.size());
        for (const QString& cat : cats) {
            QVERIFY2(!rowsOf(db, SqlSkillList(cat, all), {"技能"}).isEmpty(), qPrintable(cat));
            const QStringList found =
                rowsOf(db, SqlConditionSearch(job, cat, "", all, all), {"アイテム名", "生産数"});
            QVERIFY2(!found.isEmpty(), qPrintable(job + cat));
        }
        rowsOf(db, SqlCatalogList(job, versions.first()), {"目録"});
    }
    QVERIFY(catalogues >= 10);
    const QStringList products =
        rowsOf(db, SqlConditionSearch(all, all, all, all, all), {"アイテム名", "生産数"});
    QVERIFY(products.size() >= 100);
    QCOMPARE(rowsOf(db, SqlNameSearch(""), {"アイテム名"}).size() >= products.size(), true);
    const QStringList materials = rowsOf(db, SqlMaterialSearch(""), {"材料"});
    QVERIFY(materials.size() >= 50);
    for (const QString& row : products) {
        const QString name = row.section(u'|', 0, 0);
        if (isShowcase(name)) {
            continue;
        }
        QVERIFY(!rowsOf(db, SqlItemMaterials(name), {"材料", "必要数", "店買い"}).isEmpty());
        QVERIFY(!rowsOf(db, SqlItemCount(name), {"生産数"}).isEmpty());
        QCOMPARE(rowsOf(db, SqlItemYomi(name), {"ふりがな"}).size(), 1);
        QVERIFY(!rowsOf(db, SqlItemJobs(name), {"生産職業"}).isEmpty());
        QVERIFY(!rowsOf(db, SqlItemCatalog(name), {"目録"}).isEmpty());
        QVERIFY(!rowsOf(db, SqlProductInfo(name), {"生産数", "店売り", "店買い"}).isEmpty());
    }
    for (const QString& m : materials) {
        QVERIFY(!rowsOf(db, SqlMaterialUsers(m), {"アイテム名"}).isEmpty());
    }
    // Every integer column reads as an integer.
    for (TDBQuery& q = db.OpenQuery(SqlStatement{"Select 店売り, 店買い From ItemInfo", {}});
         !q.eof(); q.next()) {
        QVERIFY(q.asInteger("店売り") >= 0);
        QVERIFY(q.asInteger("店買い") >= 0);
    }
}

void TestItemSql::sampleDatabaseHasFiefProducts() {
    QVERIFY2(QFileInfo::exists(sampleDatabase()), qPrintable(sampleDatabase()));
    TDB db(sampleDatabase());
    db.Connect();
    for (const QString& catalogue : {QStringLiteral("知行産物"), QStringLiteral("知行名物")}) {
        const QStringList names = rowsOf(
            db,
            SqlStatement{"Select distinct アイテム名 From ItemCreator Where 目録 = ?", {catalogue}},
            {"アイテム名"});
        QVERIFY2(names.size() >= 5, qPrintable(catalogue));
        QSet<int> materialCounts;
        for (const QString& name : names) {
            if (isShowcase(name)) {
                continue;
            }
            const int n = int(rowsOf(db, SqlItemMaterials(name), {"材料"}).size());
            QVERIFY2(n >= 1 && n <= 7, qPrintable(name));
            materialCounts << n;
        }
        QVERIFY2(materialCounts.size() >= 3, qPrintable(catalogue));
    }
}

void TestItemSql::sampleDatabaseShowsEveryRule_data() {
    QTest::addColumn<SqlStatement>("statement");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<QStringList>("rows");
    const QString mihon = QStringLiteral("見本：");
    const auto materials = [&](const QString& name) { return SqlItemMaterials(mihon + name); };
    QTest::newRow("cycle, one way") << materials("循環する甲") << QStringList{"材料"}
                                    << QStringList{mihon + "循環する乙", "杉材"};
    QTest::newRow("cycle, the other way") << materials("循環する乙") << QStringList{"材料"}
                                          << QStringList{mihon + "循環する甲", "竹"};
    QTest::newRow("self-reference") << materials("自分を材料にする品") << QStringList{"材料"}
                                    << QStringList{mihon + "自分を材料にする品", "杉材"};
    QTest::newRow("material without ItemInfo: a material...")
        << SqlMaterialSearch("台帳に無い材料") << QStringList{"材料"}
        << QStringList{mihon + "台帳に無い材料"};
    QTest::newRow("...that no material list shows")
        << materials("台帳に無い材料を使う品") << QStringList{"材料"} << QStringList{"竹"};
    QTest::newRow("empty MOKUROKU: not a listed catalogue")
        << SqlCatalogList("見本師", all) << QStringList{"目録"}
        << QStringList{"知行名物", "知行産物", "見本目録"};
    QTest::newRow("empty GINOU: not a listed skill")
        << SqlSkillList("見本目録", all) << QStringList{"技能"} << QStringList{"見本一"};
    QTest::newRow("both still found by name")
        << SqlNameSearch(mihon + "%の並び順が空の品") << QStringList{"アイテム名"}
        << QStringList{mihon + "目録の並び順が空の品", mihon + "技能の並び順が空の品"};
    QTest::newRow("product without materials")
        << materials("材料の無い品") << QStringList{"材料"} << QStringList{};
    QTest::newRow("nine materials")
        << SqlStatement{"Select count(*) AS n From ItemCreateRelation Where アイテム名 = ?",
                        {mihon + "材料が九つの品"}}
        << QStringList{"n"} << QStringList{"9"};
    QTest::newRow("fief and other catalogue")
        << SqlProductInfo(mihon + "知行とほかの目録に載る品") << QStringList{"目録", "生産数"}
        << QStringList{"知行産物|2", "見本目録|5"};
    QTest::newRow("names differing in case")
        << SqlNameSearch(mihon + "Sample Box") << QStringList{"アイテム名"}
        << QStringList{mihon + "Sample Box", mihon + "SAMPLE BOX"};
    QTest::newRow("recipe of 五の章 lists its catalogue...")
        << SqlCatalogList("見本師", "五の章") << QStringList{"目録"} << QStringList{"見本目録"};
    QTest::newRow("...while its item, of 壱の章, is not found in 五の章")
        << SqlConditionSearch("見本師", all, all, "五の章", all) << QStringList{"アイテム名"}
        << QStringList{};
    QTest::newRow("figures at the 32-bit limit")
        << SqlProductInfo(mihon + "桁の大きい品") << QStringList{"生産数", "店買い"}
        << QStringList{"2147483647|2147483647"};
}

// Every rule of the recipe search can be seen in the shipped database (rows in any order).
void TestItemSql::sampleDatabaseShowsEveryRule() {
    QFETCH(SqlStatement, statement);
    QFETCH(QStringList, columns);
    QFETCH(QStringList, rows);
    TDB db(sampleDatabase());
    db.Connect();
    QStringList found = rowsOf(db, statement, columns);
    found.sort();
    rows.sort();
    QCOMPARE(found, rows);
}

QTEST_GUILESS_MAIN(TestItemSql)
#include "tst_itemsql.moc"
