#include <QSqlDatabase>
#include <QtTest>

#include "common/TZEMError.h"
#include "recipes/TZEMItemList.h"
#include "support/ItemDbFixture.h"

namespace {

// Tables from relations "A>B:2 B>A" (product > material : needed count, default 1; "NULL"
// stores NULL). Every name gets an ItemInfo row, except a material written "M!"; every product
// an ItemCreator row.
ItemDbFixture::Tables tables(const QString& relations) {
    ItemDbFixture::Tables t;
    QStringList names;
    QStringList products;
    for (const QString& edge : relations.split(u' ', Qt::SkipEmptyParts)) {
        const QString product = edge.section(u'>', 0, 0);
        const QString material = edge.section(u'>', 1).section(u':', 0, 0);
        const QString needed = edge.section(u':', 1, 1);
        for (const QString& name : {product, material}) {
            if (!names.contains(name)) {
                names << name;
            }
        }
        products << product;
        t.relations.append(
            {product, QString(material).remove(u'!'),
             needed == "NULL" ? QVariant() : QVariant(needed.isEmpty() ? 1 : needed.toInt())});
    }
    for (const QString& name : names) {
        if (!name.endsWith(u'!')) {
            t.infos.append({name, QVariant(), "壱", "素材", 10, 20});
        }
    }
    products.removeDuplicates();
    for (const QString& p : products) {
        t.creators.append({p, "鍛冶屋", "武具目録", "BUGU", "一", "A", 1, "壱"});
    }
    t.kinds.append(QVariantList{"素材", "その他"});
    return t;
}

// A search returning exactly these rows, in order: "A:2 B:NULL" (name:count) or "M N".
SqlStatement rows(const QString& text, bool products) {
    QStringList values{products ? "('x', 1)" : "('x')"};
    for (const QString& row : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString name = u'\'' + row.section(u':', 0, 0) + u'\'';
        values << u'(' + (products ? name + u',' + row.section(u':', 1, 1) : name) + u')';
    }
    const QString columns =
        products ? "column1 AS アイテム名, column2 AS 生産数" : "column1 AS 材料";
    return {QStringLiteral("SELECT %1 FROM (VALUES %2) LIMIT -1 OFFSET 1")
                .arg(columns, values.join(u',')),
            {}};
}

// "A*2>1x3,2x1 ; B1>": name, '*' for a starting item, count, edges as position x count.
QString describe(const TZEMItemList& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        const TZEMItem& item = list.at(i);
        QStringList edges;
        for (const TZEMItemSource& edge : item.Sources) {
            edges << QStringLiteral("%1x%2").arg(edge.Index).arg(edge.Count);
        }
        items << item.Name + (item.IsRoot ? "*" : "") + QString::number(item.Count) + u'>' +
                     edges.join(u',');
    }
    return items.join(" ; ");
}

}  // namespace

class TestItemList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void build_data();
    void build();
    void failedBuild_data();
    void failedBuild();
};

void TestItemList::build_data() {
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QString>("relations");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("expected");

    QTest::newRow("self-reference") << true << "P>P:2"
                                    << "P:1"
                                    << "P*1>0x2";
    QTest::newRow("A and B need each other, only A found") << true << "A>B:3 B>A:4"
                                                           << "A:5"
                                                           << "A*5>1x3 ; B1>0x4";
    QTest::newRow("shared material") << true << "A>M:2 B>M:3"
                                     << "A:1 B:1"
                                     << "A*1>2x2 ; B*1>2x3 ; M1>";
    QTest::newRow("same name in two rows, edges lead to the first") << true << "A>M M>A"
                                                                    << "A:1 A:5"
                                                                    << "A*1>2x1 ; A*5>2x1 ; M1>0x1";
    QTest::newRow("starting product also a material") << true << "A>B B>C"
                                                      << "A:1 B:2"
                                                      << "A*1>1x1 ; B*2>2x1 ; C1>";
    QTest::newRow("walked as the list grows, edges in order")
        << true << "A>Y A>X Y>Z X>Y Z>A"
        << "A:1"
        << "A*1>1x1,2x1 ; Y1>3x1 ; X1>1x1 ; Z1>0x1";
    QTest::newRow("names differing in case are two items") << true << "A>a a>A"
                                                           << "A:1"
                                                           << "A*1>1x1 ; a1>0x1";
    QTest::newRow("material without ItemInfo row is invisible") << true << "A>M! A>N"
                                                                << "A:1"
                                                                << "A*1>1x1 ; N1>";
    QTest::newRow("no rows") << true << "A>M"
                             << ""
                             << "";
    QTest::newRow("reverse: users and their users") << false << "A>M:5 B>M:2 C>A:3"
                                                    << "M"
                                                    << "M*1>1x1,2x1 ; A1>3x1 ; B1> ; C1>";
    QTest::newRow("reverse: cycle closes on the entry") << false << "A>B B>A"
                                                        << "A"
                                                        << "A*1>1x1 ; B1>0x1";
    QTest::newRow("reverse: material used by nothing") << false << "A>M"
                                                       << "Q"
                                                       << "Q*1>";
}

void TestItemList::build() {
    QFETCH(bool, forward);
    QFETCH(QString, relations);
    QFETCH(QString, found);
    QFETCH(QString, expected);
    ItemDbFixture fixture;
    const QString path = fixture.create(tables(relations));
    TZEMItemList list;
    if (forward) {
        list.BuildFromProducts(path, rows(found, true));
    } else {
        list.BuildFromMaterials(path, rows(found, false));
    }
    QCOMPARE(describe(list), expected);
}

void TestItemList::failedBuild_data() {
    QTest::addColumn<QString>("relations");
    QTest::addColumn<QString>("found");
    QTest::addColumn<QString>("omit");
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
    QFETCH(QString, found);
    QFETCH(QString, omit);
    QFETCH(QString, partial);
    ItemDbFixture fixture;
    ItemDbFixture::Tables t = tables(relations);
    t.omit << omit;
    const QString path = fixture.create(t);
    const QStringList connections = QSqlDatabase::connectionNames();
    TZEMItemList list;
    QVERIFY_THROWS_EXCEPTION(TZEMError, list.BuildFromProducts(path, rows(found, true)));
    QCOMPARE(describe(list), partial);
    QCOMPARE(QSqlDatabase::connectionNames(), connections);  // released on the way out
}

QTEST_GUILESS_MAIN(TestItemList)
#include "tst_itemlist.moc"
