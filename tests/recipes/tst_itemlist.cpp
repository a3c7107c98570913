#include <QSqlDatabase>
#include <QtTest>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/TZEMItemList.h"
#include "recipes/itemlist_graph.h"
#include "support/ItemDbFixture.h"

class TestItemList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void indexOfName_data();
    void indexOfName();
    void forwardBuild_data();
    void forwardBuild();
    void reverseBuild_data();
    void reverseBuild();
    void failedBuild_data();
    void failedBuild();
    void missingFile();
    void searchStatementsStartTheBuild();
};

void TestItemList::indexOfName_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<int>("expected");

    const QStringList abca = {"A", "B", "C", "A", "B"};
    QTest::newRow("first of repeated") << abca << "A" << 0;
    QTest::newRow("second name repeated later") << abca << "B" << 1;
    QTest::newRow("letter case significant") << abca << "a" << -1;
    QTest::newRow("width significant") << QStringList{"Ａ", "A"} << "A" << 1;
    QTest::newRow("absent") << abca << "D" << -1;
    QTest::newRow("empty name") << QStringList{"X", ""} << "" << 1;
    QTest::newRow("empty list") << QStringList{} << "A" << -1;
}

void TestItemList::indexOfName() {
    QFETCH(QStringList, names);
    QFETCH(QString, wanted);
    QFETCH(int, expected);
    TZEMItemList list;
    for (const QString& name : names) {
        list.append(std::make_unique<TZEMItem>(name, 1, false));
    }
    QCOMPARE(list.IndexOfName(wanted), expected);
}

void TestItemList::forwardBuild_data() {
    QTest::addColumn<QString>("relations");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("expected");

    QTest::newRow("self-reference") << "P>P:2"
                                    << "P:1"
                                    << "P*1>0x2";
    QTest::newRow("A and B need each other, only A found") << "A>B:3 B>A:4"
                                                           << "A:5"
                                                           << "A*5>1x3 ; B1>0x4";
    QTest::newRow("shared material") << "A>M:2 B>M:3"
                                     << "A:1 B:1"
                                     << "A*1>2x2 ; B*1>2x3 ; M1>";
    QTest::newRow("same name in two rows") << "A>M"
                                           << "A:1 A:5"
                                           << "A*1>2x1 ; A*5>2x1 ; M1>";
    QTest::newRow("starting product also a material") << "A>B B>C"
                                                      << "A:1 B:2"
                                                      << "A*1>1x1 ; B*2>2x1 ; C1>";
    QTest::newRow("discovery order, walked as the list grows")
        << "A>X A>Y X>Z Y>X Z>A"
        << "A:1"
        << "A*1>1x1,2x1 ; X1>3x1 ; Y1>1x1 ; Z1>0x1";
    QTest::newRow("edge order kept") << "A>C A>B A>D"
                                     << "A:1"
                                     << "A*1>1x1,2x1,3x1 ; C1> ; B1> ; D1>";
    QTest::newRow("raw material found by the search") << "A>M"
                                                      << "M:1"
                                                      << "M*1>";
    QTest::newRow("no rows") << "A>M"
                             << ""
                             << "";
    QTest::newRow("names differing in letter case are two items") << "A>a a>A"
                                                                  << "A:1"
                                                                  << "A*1>1x1 ; a1>0x1";
    QTest::newRow("material without ItemInfo row is invisible") << "A>M! A>N"
                                                                << "A:1"
                                                                << "A*1>1x1 ; N1>";
    QTest::newRow("long chain") << "A>B B>C C>D D>E"
                                << "A:1"
                                << "A*1>1x1 ; B1>2x1 ; C1>3x1 ; D1>4x1 ; E1>";
}

void TestItemList::forwardBuild() {
    QFETCH(QString, relations);
    QFETCH(QString, rows);
    QFETCH(QString, expected);
    ItemDbFixture fixture;
    const QString path = fixture.create(GraphText::tables(relations));
    TZEMItemList list;
    list.BuildFromProducts(path, GraphText::productRows(rows));
    QCOMPARE(GraphText::describe(list), expected);
}

void TestItemList::reverseBuild_data() {
    QTest::addColumn<QString>("relations");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("expected");

    QTest::newRow("users and their users") << "A>M:5 B>M:2 C>A:3"
                                           << "M"
                                           << "M*1>1x1,2x1 ; A1>3x1 ; B1> ; C1>";
    QTest::newRow("material used by nothing") << "A>M"
                                              << "Q"
                                              << "Q*1>";
    QTest::newRow("cycle closes on the existing entry") << "A>B B>A"
                                                        << "A"
                                                        << "A*1>1x1 ; B1>0x1";
    QTest::newRow("two found materials share a user") << "P>M P>N"
                                                      << "M N"
                                                      << "M*1>2x1 ; N*1>2x1 ; P1>";
    QTest::newRow("self-reference") << "P>P:7"
                                    << "P"
                                    << "P*1>0x1";
    QTest::newRow("no rows") << "A>M"
                             << ""
                             << "";
}

void TestItemList::reverseBuild() {
    QFETCH(QString, relations);
    QFETCH(QString, rows);
    QFETCH(QString, expected);
    ItemDbFixture fixture;
    const QString path = fixture.create(GraphText::tables(relations));
    TZEMItemList list;
    list.BuildFromMaterials(path, GraphText::materialRows(rows));
    QCOMPARE(GraphText::describe(list), expected);
}

void TestItemList::failedBuild_data() {
    QTest::addColumn<QString>("relations");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("omitTable");
    QTest::addColumn<QString>("partial");

    // The material is appended before its needed count is read.
    QTest::newRow("NULL needed count mid-walk") << "A>B B>C:NULL"
                                                << "A:1"
                                                << ""
                                                << "A*1>1x1 ; B1> ; C1>";
    QTest::newRow("NULL production count in a later row") << "A>M"
                                                          << "A:2 B:NULL"
                                                          << ""
                                                          << "A*2>";
    QTest::newRow("relation table missing") << "A>M"
                                            << "A:1 B:3"
                                            << "ItemCreateRelation"
                                            << "A*1> ; B*3>";
}

void TestItemList::failedBuild() {
    QFETCH(QString, relations);
    QFETCH(QString, rows);
    QFETCH(QString, omitTable);
    QFETCH(QString, partial);
    ItemDbFixture fixture;
    ItemDbFixture::Tables tables = GraphText::tables(relations.replace(":NULL", ":0"));
    for (QVariantList& row : tables.relations) {
        if (row.at(2).toInt() == 0) {
            row[2] = QVariant();
        }
    }
    if (!omitTable.isEmpty()) {
        tables.omit << omitTable;
    }
    const QString path = fixture.create(tables);
    const QStringList connectionsBefore = QSqlDatabase::connectionNames();

    TZEMItemList list;
    bool failed = false;
    try {
        list.BuildFromProducts(path, GraphText::productRows(rows));
    } catch (const TZEMError& e) {
        failed = !e.message().isEmpty();
    }
    QVERIFY(failed);
    QCOMPARE(GraphText::describe(list), partial);
    // The connection was released on the way out.
    QCOMPARE(QSqlDatabase::connectionNames(), connectionsBefore);
}

void TestItemList::missingFile() {
    ItemDbFixture fixture;
    const QString path = fixture.folder() + QStringLiteral("nothing.db");
    TZEMItemList list;
    try {
        list.BuildFromMaterials(path, SqlMaterialSearch(QString()));
        QFAIL("the build went on without a database");
    } catch (const TZEMError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Access DB：") + path + QStringLiteral(" が存在しません"));
    }
    QVERIFY(list.isEmpty());
}

// The real search statements feed the build: a name search finds both products in the order
// the database returns them and the closure follows.
void TestItemList::searchStatementsStartTheBuild() {
    ItemDbFixture fixture;
    const QString path = fixture.create(GraphText::tables("刀>玉鋼:3 太刀>玉鋼:5 玉鋼>砂鉄:2"));

    TZEMItemList forward;
    forward.BuildFromProducts(path, SqlNameSearch(QStringLiteral("刀")));
    QCOMPARE(forward.count(), 4);
    QVERIFY(forward.at(0).IsRoot && forward.at(1).IsRoot && !forward.at(2).IsRoot);
    QCOMPARE(forward.at(2).Name, QStringLiteral("玉鋼"));
    QCOMPARE(forward.at(3).Name, QStringLiteral("砂鉄"));
    QCOMPARE(forward.at(2).Sources.at(0).Count, 2);

    TZEMItemList reverse;
    reverse.BuildFromMaterials(path, SqlMaterialSearch(QStringLiteral("砂")));
    QCOMPARE(GraphText::describe(reverse).section(u'>', 0, 0), QStringLiteral("砂鉄*1"));
    QCOMPARE(reverse.count(), 4);  // 砂鉄, 玉鋼, then its two users
    QCOMPARE(reverse.at(1).Name, QStringLiteral("玉鋼"));
    QCOMPARE(reverse.at(1).Sources.count(), 2);
}

QTEST_GUILESS_MAIN(TestItemList)
#include "tst_itemlist.moc"
