#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#endif
#include <random>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/RecipeTableCache.h"
#include "recipes/TDB.h"
#include "recipes/TZEMItemList.h"
#include "support/ItemDbFixture.h"
#include "support/RandomItemTables.h"

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

using Direction = TZEMItemList::Direction;
using Walk = TZEMItemList::Walk;

// Per entry, the first position whose name equals its own ignoring case: the case keys as the
// tree compares names, whatever their numbering.
QString caseGroups(const TZEMItemList& list) {
    QHash<int, int> first;
    QStringList groups;
    for (int i = 0; i < list.count(); ++i) {
        const int key = list.caseKeys()[std::size_t(i)];
        if (!first.contains(key)) {
            first.insert(key, i);
        }
        groups << QString::number(first.value(key));
    }
    return groups.join(u',');
}

// The list a walk builds, or the partial list and the message of its failure; with the case
// groups of a finished list when asked.
QString outcome(const QString& path, const SqlStatement& statement, Direction direction,
                Walk walk, bool withCaseGroups = false) {
    TZEMItemList list;
    try {
        list.build(path, statement, direction, walk);
    } catch (const TZEMError& e) {
        return describe(list) + " !" + e.message();
    }
    return describe(list) + (withCaseGroups ? " ~" + caseGroups(list) : QString());
}

// The set-based walks, by statements and by whole tables, against the per-entry walk: the same
// list or the same failure. Each runs twice, the second time from the tables and the search that
// the first kept; the first from the tables that earlier searches of the file kept.
bool sameGraph(const QString& path, const SqlStatement& statement, Direction direction) {
    const QString perEntry = outcome(path, statement, direction, Walk::PerEntry, true);
    bool same = true;
    for (const Walk walk : {Walk::SetBased, Walk::WholeTables, Walk::WholeTables, Walk::SetBased}) {
        const QString setBased = outcome(path, statement, direction, walk, true);
        if (setBased != perEntry) {
            qWarning("%s (walk %d)\n  set-based: %s\n  per-entry: %s",
                     qUtf8Printable(statement.values.join(u'|')), int(walk),
                     qUtf8Printable(setBased), qUtf8Printable(perEntry));
            same = false;
        }
    }
    return same;
}

QStringList column(const QString& path, const SqlStatement& statement, const QString& name) {
    TDB db(path);
    db.Connect();
    QStringList result;
    for (TDBQuery& q = db.OpenQuery(statement); !q.eof(); q.next()) {
        result << q.asString(name);
    }
    return result;
}

// Every search a user can start on the sample database: each condition alone, each job with each
// of its catalogues and skills, each product's and each material's name, and the empty texts.
QList<std::pair<SqlStatement, Direction>> sampleSearches(const QString& path) {
    const QString all = QStringLiteral("全て");
    QList<std::pair<SqlStatement, Direction>> searches;
    const auto forward = [&](const SqlStatement& s) { searches.append({s, Direction::Forward}); };
    forward(SqlConditionSearch(all, all, all, all, all));
    for (const QString& job : column(path, SqlJobList(), "生産職業")) {
        forward(SqlConditionSearch(job, all, all, all, all));
        for (const QString& catalog : column(path, SqlCatalogList(job, all), "目録")) {
            forward(SqlConditionSearch(job, catalog, all, all, all));
            for (const QString& skill : column(path, SqlSkillList(catalog, all), "技能")) {
                forward(SqlConditionSearch(job, catalog, skill, all, all));
            }
        }
    }
    for (const QString& version : column(path, SqlVersionList(), "バージョン")) {
        forward(SqlConditionSearch(all, all, all, version, all));
    }
    for (const QString& equip : column(path, SqlEquipList(), "装備区分")) {
        forward(SqlConditionSearch(all, all, all, all, equip));
    }
    forward(SqlNameSearch(QString()));
    for (const QString& name : column(path, SqlNameSearch(QString()), "アイテム名")) {
        forward(SqlNameSearch(name));
    }
    searches.append({SqlMaterialSearch(QString()), Direction::Reverse});
    for (const QString& name : column(path, SqlMaterialSearch(QString()), "材料")) {
        searches.append({SqlMaterialSearch(name), Direction::Reverse});
    }
    return searches;
}

}  // namespace

class TestItemList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void build_data();
    void build();
    void failedBuild_data();
    void failedBuild();
    void setBasedWalkOnSampleDatabase();
    void setBasedWalkOnRandomDatabases();
    void setBasedWalkOnLargeDatabase();
    void namesComparedOtherwiseThanByBytes_data();
    void namesComparedOtherwiseThanByBytes();
    void stopRequested_data();
    void stopRequested();
    void keptTablesFollowTheFile_data();
    void keptTablesFollowTheFile();
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

void TestItemList::setBasedWalkOnSampleDatabase() {
    const QString path = QCoreApplication::applicationDirPath() + "/DAT/TAMU_Item.db";
    const auto searches = sampleSearches(path);
    QVERIFY(searches.size() > 500);
    int failures = 0;
    for (const auto& [statement, direction] : searches) {
        failures += sameGraph(path, statement, direction) ? 0 : 1;
    }
    QCOMPARE(failures, 0);
}

void TestItemList::setBasedWalkOnRandomDatabases() {
    std::mt19937 random(20);
    int failures = 0;
    int failedBuilds = 0;
    int edges = 0;
    for (int round = 0; round < 300; ++round) {
        ItemDbFixture fixture;
        const ItemDbFixture::Tables t = randomTables(random);
        const QString path = fixture.create(t);
        if (round % 2 == 1) {
            const QString connection = QStringLiteral("indexes");
            {
                QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connection);
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY(q.exec("CREATE INDEX r1 ON ItemCreateRelation (アイテム名)"));
                QVERIFY(q.exec("CREATE INDEX r2 ON ItemCreateRelation (材料)"));
                QVERIFY(q.exec("CREATE INDEX i1 ON ItemInfo (アイテム名)"));
                QVERIFY(q.exec("CREATE INDEX c1 ON ItemCreator (アイテム名)"));
            }
            QSqlDatabase::removeDatabase(connection);
        }
        const QString text = round % 3 == 0 ? QString() : QStringLiteral("a");
        for (const auto& [statement, direction] :
             {std::pair{SqlNameSearch(text), Direction::Forward},
              std::pair{SqlMaterialSearch(text), Direction::Reverse},
              std::pair{rows("a:1 A:2 a:3 b:1", true), Direction::Forward},
              std::pair{rows("鉄 a 鉄", false), Direction::Reverse}}) {
            failures += sameGraph(path, statement, direction) ? 0 : 1;
            const QString built = outcome(path, statement, direction, Walk::SetBased);
            failedBuilds += built.contains(u'!') ? 1 : 0;
            edges += int(built.count(u'x'));
        }
    }
    QCOMPARE(failures, 0);
    // The databases reach the interesting cases: failing builds as well as rich graphs.
    QVERIFY(failedBuilds > 20);
    QVERIFY(edges > 3000);
}

// Enough names for the whole-table join's name table to grow several times: a binary tree of
// 12,000 names with an edge back up from every third one.
void TestItemList::setBasedWalkOnLargeDatabase() {
    ItemDbFixture::Tables t;
    const auto name = [](int i) { return QStringLiteral("名%1").arg(i); };
    for (int i = 0; i < 12001; ++i) {
        t.infos.append({name(i), QVariant(), "壱", "素材", 10, 20 + i % 2});
    }
    for (int i = 0; i < 6000; ++i) {
        t.creators.append({name(i), "鍛冶屋", "武具目録", "BUGU", "一", "A", 1, "壱"});
        for (const int m : {2 * i + 1, 2 * i + 2, i % 3 == 0 ? i / 7 : -1}) {
            if (m >= 0) {
                t.relations.append({name(i), name(m), 1 + m % 4});
            }
        }
    }
    t.kinds.append(QVariantList{"素材", "その他"});
    t.statements = {"CREATE INDEX r1 ON ItemCreateRelation (アイテム名)",
                    "CREATE INDEX r2 ON ItemCreateRelation (材料)",
                    "CREATE INDEX i1 ON ItemInfo (アイテム名)",
                    "CREATE INDEX c1 ON ItemCreator (アイテム名)"};
    ItemDbFixture fixture;
    const QString path = fixture.create(t);
    QVERIFY(sameGraph(path, SqlNameSearch(QString()), Direction::Forward));
    QVERIFY(sameGraph(path, SqlMaterialSearch(QString()), Direction::Reverse));
    // Damaged in the middle: the same partial list and message, wherever the walk meets the
    // damage. The search's own rows need no table.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(file.size() / 2));
    QVERIFY(file.write(QByteArray(int(file.size() / 5), '\xA5')) > 0);
    file.close();
    QStringList found;
    for (int i = 0; i < 2500; ++i) {
        found << name(i) + ":1";
    }
    QVERIFY(sameGraph(path, rows(found.join(u' '), true), Direction::Forward));
}

// Databases whose rows the whole-table join cannot take as the statements compare or convert
// them: the walks must still build the per-entry walk's graph.
void TestItemList::namesComparedOtherwiseThanByBytes_data() {
    QTest::addColumn<QStringList>("statements");
    const auto noCase = [](const QString& table, const QString& columns) {
        return QStringList{"CREATE TABLE t (" + columns + ")",
                           "INSERT INTO t SELECT * FROM " + table, "DROP TABLE " + table,
                           "ALTER TABLE t RENAME TO " + table};
    };
    QTest::newRow("names compared without case")
        << noCase("ItemInfo",
                  "アイテム名 TEXT COLLATE NOCASE, ふりがな, バージョン, "
                  "アイテム種類, 店売り, 店買い") +
               noCase("ItemCreateRelation",
                      "アイテム名 TEXT COLLATE NOCASE, 材料 TEXT COLLATE NOCASE, 必要数");
    const auto renamed = [](const QString& bytes) {
        QStringList s;
        for (const QString column :
             {"ItemInfo SET アイテム名", "ItemCreator SET アイテム名",
              "ItemCreateRelation SET 材料", "ItemCreateRelation SET アイテム名"}) {
            const QString name = column.section(u' ', 2);
            s << "UPDATE " + column + " = CAST(x'" + bytes + "' AS TEXT) WHERE " + name + " = 'b'";
        }
        return s;
    };
    QTest::newRow("a name that is no UTF-8") << renamed("62ff");
    QTest::newRow("a name led by a byte order mark") << renamed("efbbbf62");
    QTest::newRow("a surrogate spelt in UTF-8") << renamed("eda080");
    QTest::newRow("needed counts as reals")
        << QStringList{"UPDATE ItemCreateRelation SET 必要数 = 2.0"};
    QTest::newRow("a price as text") << QStringList{"UPDATE ItemInfo SET 店買い = '20'"};
}

void TestItemList::namesComparedOtherwiseThanByBytes() {
    QFETCH(QStringList, statements);
    ItemDbFixture fixture;
    ItemDbFixture::Tables t = tables("a>X! q>x a>b b>c:3 B>a c>b:2");
    t.statements = statements;
    const QString path = fixture.create(t);
    QVERIFY(sameGraph(path, SqlNameSearch(QString()), Direction::Forward));
    QVERIFY(sameGraph(path, rows("a:1 q:1", true), Direction::Forward));
    QVERIFY(sameGraph(path, SqlMaterialSearch(QString()), Direction::Reverse));
    QVERIFY(sameGraph(path, rows("x X c", false), Direction::Reverse));
}

void TestItemList::stopRequested_data() {
    QTest::addColumn<int>("walk");
    QTest::newRow("set-based") << int(Walk::SetBased);
    QTest::newRow("per-entry") << int(Walk::PerEntry);
    QTest::newRow("whole tables") << int(Walk::WholeTables);
}

// A build whose stop is requested ends with Cancelled and releases its connection.
void TestItemList::stopRequested() {
    QFETCH(int, walk);
    ItemDbFixture fixture;
    const QString path = fixture.create(tables("A>B B>C C>A"));
    const QStringList connections = QSqlDatabase::connectionNames();
    std::stop_source stop;
    stop.request_stop();
    TZEMItemList list;
    QVERIFY_THROWS_EXCEPTION(
        TZEMItemList::Cancelled,
        list.build(path, rows("A:1", true), Direction::Forward, Walk(walk), stop.get_token()));
    QCOMPARE(QSqlDatabase::connectionNames(), connections);
}

// The tables of a whole-table walk are kept for the next search of the same file and read afresh
// once the file is another: rewritten (a new time, the same size), replaced, or cut short. The
// identity is what is compared: a rewrite whose time is put back is not seen.
void TestItemList::keptTablesFollowTheFile_data() {
    QTest::addColumn<QString>("change");
    for (const char* change : {"none", "rewritten", "replaced", "truncated", "time put back",
                               "time put back after a cancelled search"}) {
        QTest::newRow(change) << QString::fromLatin1(change);
    }
}

void TestItemList::keptTablesFollowTheFile() {
    QFETCH(QString, change);
#ifdef Q_OS_WIN
    if (change.startsWith(QStringLiteral("time put back"))) {
        QSKIP("the time is put back to the nanosecond with utimensat");
    }
#endif
    RecipeTableCache::clear();
    ItemDbFixture::Tables t;
    t.kinds.append(QVariantList{"素材", "その他"});
    for (const char* item : {"刀", "鋼", "炭"}) {
        t.infos.append({item, QVariant(), "壱", "素材", 10, 20});
    }
    t.creators.append({"刀", "鍛冶屋", "武具目録", "BUGU", "一", "A", 1, "壱"});
    t.relations = {{"刀", "鋼", 1}, {"刀", "炭", 2}};
    ItemDbFixture fixture;
    const QString path = fixture.create(t);
    const SqlStatement search = SqlNameSearch(QString());
    const QString first = outcome(path, search, Direction::Forward, Walk::WholeTables);
    QCOMPARE(first, outcome(path, search, Direction::Forward, Walk::PerEntry));
    if (change.endsWith(QStringLiteral("cancelled search"))) {
        // A search stopped on the kept tables gives them back.
        std::stop_source stop;
        stop.request_stop();
        TZEMItemList list;
        QVERIFY_THROWS_EXCEPTION(TZEMItemList::Cancelled,
                                 list.build(path, search, Direction::Forward, Walk::WholeTables,
                                            stop.get_token()));
        change = QStringLiteral("time put back");
    }

    const auto rewrite = [](const QString& file) {
        const QString connection = QStringLiteral("rewrite");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(
                QStringLiteral("UPDATE ItemCreateRelation SET 必要数 = 7 WHERE 材料 = '炭'")));
        }
        QSqlDatabase::removeDatabase(connection);
    };
    const qint64 size = QFileInfo(path).size();
    if (change == QStringLiteral("rewritten")) {
        QTest::qWait(5);  // a time the file system tells from the first
        rewrite(path);
        QCOMPARE(QFileInfo(path).size(), size);
    } else if (change == QStringLiteral("replaced")) {
        ItemDbFixture other;
        t.relations = {{"刀", "鋼", 3}};
        const QString replacement = other.create(t);
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::copy(replacement, path));
    } else if (change == QStringLiteral("truncated")) {
        QFile file(path);
        QVERIFY(file.resize(size / 2));
    } else if (change == QStringLiteral("time put back")) {
#ifndef Q_OS_WIN
        struct stat before {};
        QCOMPARE(stat(QFile::encodeName(path).constData(), &before), 0);
        rewrite(path);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        QCOMPARE(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
        QCOMPARE(QFileInfo(path).size(), size);
#endif
    }
    const QString again = outcome(path, search, Direction::Forward, Walk::WholeTables);
    if (change == QStringLiteral("time put back")) {
        QCOMPARE(again, first);
        QVERIFY(outcome(path, search, Direction::Forward, Walk::PerEntry) != first);
    } else {
        QCOMPARE(again, outcome(path, search, Direction::Forward, Walk::PerEntry));
        QCOMPARE(again == first, change == QStringLiteral("none"));
    }
}

QTEST_MAIN(TestItemList)
#include "tst_itemlist.moc"
