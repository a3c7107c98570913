#include <QSqlDatabase>
#include <QtTest>

#include "common/TZEMError.h"
#include "recipes/ChoiceLists.h"
#include "support/ItemDbFixture.h"

class TestChoiceLists : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void load_data();
    void load();
    void missingDatabase();
};

void TestChoiceLists::load_data() {
    QTest::addColumn<QList<QVariantList>>("creators");
    QTest::addColumn<QList<QVariantList>>("infos");
    QTest::addColumn<QList<QVariantList>>("kinds");
    QTest::addColumn<QStringList>("omit");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QStringList>("jobs");  // appended entries, sorted
    QTest::addColumn<QStringList>("versions");
    QTest::addColumn<QStringList>("equips");

    const QList<QVariantList> creators{{"刀", "鍛冶屋", "武具", "B", "一", "A", 1, "壱の章"},
                                       {"兜", "鍛冶屋", "武具", "B", "一", "A", 1, "壱の章"},
                                       {"傷薬", "薬師", "薬", "K", "一", "A", 2, "弐の章"}};
    const QList<QVariantList> infos{{"刀", "かたな", "壱の章", "刀剣", 1, 2},
                                    {"兜", QVariant(), "参の章", "兜", 1, 2}};
    const QList<QVariantList> kinds{{"刀剣", "武器"}, {"兜", "頭"}, {"笠", "頭"}};
    const QString nullText = QStringLiteral("バリアント型 (Null) を (String) に変換できません");

    QTest::newRow("distinct entries")
        << creators << infos << kinds << QStringList{} << QString() << QStringList{"薬師", "鍛冶屋"}
        << QStringList{"参の章", "壱の章"} << QStringList{"武器", "頭"};
    QTest::newRow("null job ends the load at once")
        << (QList<QVariantList>{{"刀", QVariant(), "武具", "B", "一", "A", 1, "壱の章"}}) << infos
        << kinds << QStringList{} << nullText << QStringList{} << QStringList{} << QStringList{};
    QTest::newRow("null equipment class keeps the lists before it")
        << creators << infos << (QList<QVariantList>{{"刀剣", QVariant()}}) << QStringList{}
        << nullText << QStringList{"薬師", "鍛冶屋"} << QStringList{"参の章", "壱の章"}
        << QStringList{};
    QTest::newRow("missing kind table")
        << creators << infos << kinds << QStringList{"ItemKind"} << QStringLiteral("ItemKind")
        << QStringList{"薬師", "鍛冶屋"} << QStringList{"参の章", "壱の章"} << QStringList{};
    QTest::newRow("empty tables") << QList<QVariantList>{} << QList<QVariantList>{}
                                  << QList<QVariantList>{} << QStringList{} << QString()
                                  << QStringList{} << QStringList{} << QStringList{};
}

void TestChoiceLists::load() {
    QFETCH(QList<QVariantList>, creators);
    QFETCH(QList<QVariantList>, infos);
    QFETCH(QList<QVariantList>, kinds);
    QFETCH(QStringList, omit);
    QFETCH(QString, error);
    QFETCH(QStringList, jobs);
    QFETCH(QStringList, versions);
    QFETCH(QStringList, equips);

    ItemDbFixture fx;
    ItemDbFixture::Tables t;
    t.creators = creators;
    t.infos = infos;
    t.kinds = kinds;
    t.omit = omit;
    const QString path = fx.create(t);

    // The lists are appended to, after what they already hold.
    QStringList jobList{"全て"}, versionList{"全て"}, equipList{"全て"};
    QString message;
    try {
        loadChoiceLists(path, jobList, versionList, equipList);
    } catch (const TZEMError& e) {
        message = e.message();
    }
    if (error.isEmpty()) {
        QCOMPARE(message, QString());
    } else {
        QVERIFY2(message.contains(error), qPrintable(message));
    }
    for (QStringList* list : {&jobList, &versionList, &equipList}) {
        QCOMPARE(list->value(0), QStringLiteral("全て"));
        list->removeFirst();
        list->sort();
    }
    QCOMPARE(jobList, jobs);
    QCOMPARE(versionList, versions);
    QCOMPARE(equipList, equips);
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());
}

void TestChoiceLists::missingDatabase() {
    QStringList jobs{"全て"}, versions, equips;
    const QString path = QStringLiteral("/no/such/folder/DAT/TAMU_Item.db");
    try {
        loadChoiceLists(path, jobs, versions, equips);
        QFAIL("no error for a missing database");
    } catch (const TZEMError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Access DB：/no/such/folder/DAT/TAMU_Item.db が存在しません"));
    }
    QCOMPARE(jobs, QStringList{"全て"});
    QVERIFY(versions.isEmpty() && equips.isEmpty());
}

QTEST_GUILESS_MAIN(TestChoiceLists)
#include "tst_choicelists.moc"
