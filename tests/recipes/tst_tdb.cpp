#include <QFile>
#include <QSqlDatabase>
#include <QThread>
#include <QtTest>
#include <memory>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/TDB.h"
#include "support/ItemDbFixture.h"

namespace {

QString errorOf(const std::function<void()>& body) {
    try {
        body();
    } catch (const TZEMError& e) {
        return e.message();
    }
    return {};
}

ItemDbFixture::Tables smallTables() {
    ItemDbFixture::Tables t;
    t.creators = {{"刀", "鍛冶屋", "武具目録", "BUGU", "一", "A", 1, "壱の章"},
                  {"兜", "侍", "防具目録", "BOUGU", "一", "A", 2, "壱の章"}};
    t.infos = {{"刀", "かたな", "壱の章", "刀剣", 50, 100},
               {"兜", QVariant(), "壱の章", "兜", "abc", 99999999999LL},
               {"玉鋼", "たまはがね", "弐の章", "鉱石", 10, "-12"}};
    t.kinds = {{"刀剣", "武器"}, {"兜", "頭"}, {"鉱石", "その他"}};
    t.relations = {{"刀", "玉鋼", 3}};
    return t;
}

}  // namespace

class TestTDB : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingFile_data();
    void missingFile();
    void notADatabase_data();
    void notADatabase();
    void missingTable();
    void malformedStatementKeepsTDBUsable();
    void queryBeforeConnect();
    void reopeningReplacesResult();
    void emptyResultIsAtEnd();
    void disconnectTwiceAndReconnect();
    void failedConnectReleasesConnection();
    void twoConnectionsAtOnce();
    void columnConversion_data();
    void columnConversion();
    void unknownColumn();
    void requiredNameThatIsNoTable_data();
    void requiredNameThatIsNoTable();
    void statementLimit_data();
    void statementLimit();
};

void TestTDB::requiredNameThatIsNoTable_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("statement");
    const QString endless = QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i FROM n");
    QTest::newRow("endless view") << QStringLiteral("ItemCreator")
                                  << QStringLiteral("CREATE VIEW ItemCreator AS ") + endless;
    QTest::newRow("view, other case")
        << QStringLiteral("ItemKind") << QStringLiteral("CREATE VIEW itemkind AS SELECT 1");
}

void TestTDB::requiredNameThatIsNoTable() {
    QFETCH(QString, table);
    QFETCH(QString, statement);
    ItemDbFixture fixture;
    ItemDbFixture::Tables t = smallTables();
    t.omit << table;
    t.statements << statement;
    TDB db(fixture.create(t));
    const QString message = errorOf([&] { db.Connect(); });
    QVERIFY2(message.startsWith(QStringLiteral("アイテムデータベースを読めません")),
             qPrintable(message));
    QVERIFY2(message.endsWith(table + QStringLiteral(" はテーブルではありません")),
             qPrintable(message));
}

// However a statement goes on forever, in its first row or in a later one, it is stopped; a
// large honest result whose rows keep coming is never cut short, however long they take together.
void TestTDB::statementLimit_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<int>("rows");  // -1: stopped
    QTest::newRow("endless before the first row")
        << QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
               "SELECT count(*) AS c FROM n")
        << -1;
    QTest::newRow("endless between rows")
        << QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
               "SELECT i AS c FROM n WHERE i = 1 OR i < 0")
        << -1;
    QTest::newRow("rows that keep coming")
        << QStringLiteral(
               "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 400) "
               "SELECT i AS c FROM n")
        << 400;
}

void TestTDB::statementLimit() {
    QFETCH(QString, statement);
    QFETCH(int, rows);
    ItemDbFixture fixture;
    TDB db(fixture.create(smallTables()));
    db.Connect();
    TDB::setTimeLimit(200);
    QElapsedTimer timer;
    timer.start();
    int read = 0;
    const QString message = errorOf([&] {
        for (TDBQuery& q = db.OpenQuery(SqlStatement{statement, {}}); !q.eof(); q.next()) {
            ++read;
            QThread::msleep(2);  // the walk's own work between rows
        }
    });
    TDB::setTimeLimit(0);
    if (rows < 0) {
        QVERIFY(timer.elapsed() < 3000);
        QVERIFY2(message.contains(QStringLiteral("中断しました")), qPrintable(message));
    } else {
        QCOMPARE(message, QString());
        QCOMPARE(read, rows);
        QVERIFY(timer.elapsed() > 400);  // twice the limit, and more
    }
    // The connection stays usable for the next statement.
    QVERIFY(!db.OpenQuery(SqlJobList()).eof());
}

void TestTDB::missingFile_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("no such file") << QStringLiteral("/nonexistent/DAT/TAMU_Item.db");
    QTest::newRow("relative") << QStringLiteral("./DAT/none_such.db");
    QTest::newRow("folder") << QDir::tempPath();
    QTest::newRow("empty path") << QString();
}

void TestTDB::missingFile() {
    QFETCH(QString, path);
    const QStringList before = QSqlDatabase::connectionNames();
    const QString message = errorOf([&] { TDB db(path); });
    QCOMPARE(message, QStringLiteral("Access DB：") + path + QStringLiteral(" が存在しません"));
    QCOMPARE(QSqlDatabase::connectionNames(), before);
}

void TestTDB::notADatabase_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text file")
        << QByteArray("Provider=Microsoft.Jet.OLEDB.4.0;\r\nnot a database\r\n").repeated(20);
    QTest::newRow("access header")
        << QByteArray("\x00\x01\x00\x00Standard Jet DB", 19).leftJustified(4096, '\0');
}

void TestTDB::notADatabase() {
    QFETCH(QByteArray, bytes);
    ItemDbFixture fx;
    const QString path = fx.createRaw(bytes, QStringLiteral("TAMU_Item.db"));
    const QStringList before = QSqlDatabase::connectionNames();
    {
        TDB db(path);
        const QString message = errorOf([&] { db.Connect(); });
        QVERIFY2(!message.isEmpty(), "a file that is no database must fail to connect");
        // After the failure the TDB can still be released and asked to disconnect.
        db.Disconnect();
    }
    QCOMPARE(QSqlDatabase::connectionNames(), before);
    // The file is opened read-only and stays as it was.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes);
}

void TestTDB::missingTable() {
    ItemDbFixture fx;
    ItemDbFixture::Tables t = smallTables();
    t.omit = {QStringLiteral("ItemInfo")};
    TDB db(fx.create(t));
    QVERIFY(db.Connect());
    QCOMPARE(db.OpenQuery(SqlJobList()).asString(QStringLiteral("生産職業")).isEmpty(), false);
    const QString message = errorOf([&] { db.OpenQuery(SqlItemYomi(QStringLiteral("刀"))); });
    QVERIFY2(message.contains(QStringLiteral("ItemInfo")), qPrintable(message));
}

void TestTDB::malformedStatementKeepsTDBUsable() {
    ItemDbFixture fx;
    TDB db(fx.create(smallTables()));
    db.Connect();
    QVERIFY(!errorOf([&] {
                 db.OpenQuery(SqlStatement{QStringLiteral("Select from"), {}});
             }).isEmpty());
    // Fewer values than marks is an error, not a silent NULL comparison, also when the same
    // text ran before with all its values.
    const QString twoMarks =
        QStringLiteral("Select 生産数 From ItemCreator Where アイテム名 = ? And 生産職業 = ?");
    QCOMPARE(db.OpenQuery(SqlStatement{twoMarks, {"刀", "鍛冶屋"}}).asInteger("生産数"), 1);
    QVERIFY(!errorOf([&] { db.OpenQuery(SqlStatement{twoMarks, {"刀"}}); }).isEmpty());
    QVERIFY(!errorOf([&] { db.OpenQuery(SqlStatement{twoMarks, {"刀", "侍", "x"}}); }).isEmpty());
    QVERIFY(db.OpenQuery(SqlStatement{twoMarks, {"刀", "侍"}}).eof());
    TDBQuery& q = db.OpenQuery(SqlItemCount(QStringLiteral("兜")));
    QVERIFY(!q.eof());
    QCOMPARE(q.asInteger(QStringLiteral("生産数")), 2);
}

void TestTDB::queryBeforeConnect() {
    ItemDbFixture fx;
    TDB db(fx.create(smallTables()));
    QVERIFY(!errorOf([&] { db.OpenQuery(SqlJobList()); }).isEmpty());
}

void TestTDB::reopeningReplacesResult() {
    ItemDbFixture fx;
    TDB db(fx.create(smallTables()));
    db.Connect();
    TDBQuery& first = db.OpenQuery(SqlJobList());
    QVERIFY(!first.eof());
    first.asString(QStringLiteral("生産職業"));
    // The second statement is read in full through the same query object, from its first row.
    TDBQuery& second = db.OpenQuery(SqlVersionList());
    QCOMPARE(&second, &first);
    QStringList versions;
    for (; !second.eof(); second.next()) {
        versions << second.asString(QStringLiteral("バージョン"));
    }
    versions.sort();
    QCOMPARE(versions, (QStringList{QStringLiteral("壱の章"), QStringLiteral("弐の章")}));
    QVERIFY(!errorOf([&] { second.asString(QStringLiteral("生産職業")); }).isEmpty());
}

void TestTDB::emptyResultIsAtEnd() {
    ItemDbFixture fx;
    TDB db(fx.create(smallTables()));
    db.Connect();
    TDBQuery& q = db.OpenQuery(SqlItemCount(QStringLiteral("無い品")));
    QVERIFY(q.eof());
    q.next();
    QVERIFY(q.eof());
    QVERIFY(!errorOf([&] { q.asInteger(QStringLiteral("生産数")); }).isEmpty());
}

void TestTDB::disconnectTwiceAndReconnect() {
    ItemDbFixture fx;
    const QString path = fx.create(smallTables());
    TDB db(path);
    db.Disconnect();  // never connected
    QVERIFY(db.Connect());
    QVERIFY(db.ConnectionString.contains(path));
    db.OpenQuery(SqlJobList());
    db.Disconnect();
    db.Disconnect();
    QVERIFY(!errorOf([&] { db.OpenQuery(SqlJobList()); }).isEmpty());
    QVERIFY(db.Connect());
    QVERIFY(db.Connect());  // connecting again first disconnects
    QVERIFY(!db.OpenQuery(SqlEquipList()).eof());
}

void TestTDB::failedConnectReleasesConnection() {
    ItemDbFixture fx;
    const QString bad = fx.createRaw(QByteArray(2048, 'x'), QStringLiteral("bad.db"));
    const QString good = fx.create(smallTables());
    const QStringList before = QSqlDatabase::connectionNames();
    for (int i = 0; i < 3; ++i) {
        auto db = std::make_unique<TDB>(bad);
        QVERIFY(!errorOf([&] { db->Connect(); }).isEmpty());
        db.reset();
        TDB never(good);  // destroyed without Connect
    }
    QCOMPARE(QSqlDatabase::connectionNames(), before);
}

void TestTDB::twoConnectionsAtOnce() {
    ItemDbFixture fx;
    const QString path = fx.create(smallTables());
    TDB a(path);
    TDB b(path);
    a.Connect();
    b.Connect();
    TDBQuery& qa = a.OpenQuery(SqlItemMaterials(QStringLiteral("刀")));
    TDBQuery& qb = b.OpenQuery(SqlItemCount(QStringLiteral("刀")));
    QVERIFY(&qa != &qb);
    QCOMPARE(qb.asInteger(QStringLiteral("生産数")), 1);
    QCOMPARE(qa.asString(QStringLiteral("材料")), QStringLiteral("玉鋼"));
    b.Disconnect();
    QCOMPARE(qa.asInteger(QStringLiteral("必要数")), 3);
    qa.next();
    QVERIFY(qa.eof());
}

void TestTDB::columnConversion_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("column");
    QTest::addColumn<bool>("asInteger");
    QTest::addColumn<QString>("expected");  // value, or the error message
    QTest::addColumn<bool>("fails");

    const QString yomi = QStringLiteral("ふりがな");
    const QString sell = QStringLiteral("店売り");
    const QString buy = QStringLiteral("店買い");
    QTest::newRow("text") << "刀" << yomi << false << "かたな" << false;
    QTest::newRow("integer as text") << "刀" << buy << false << "100" << false;
    QTest::newRow("integer") << "刀" << buy << true << "100" << false;
    QTest::newRow("negative integer text") << "玉鋼" << buy << true << "-12" << false;
    QTest::newRow("null as text") << "兜" << yomi << false
                                  << "バリアント型 (Null) を (String) に変換できません" << true;
    QTest::newRow("null as integer")
        << "兜" << yomi << true << "バリアント型 (Null) を (Integer) に変換できません" << true;
    QTest::newRow("letters as integer")
        << "兜" << sell << true << "'abc' は整数ではありません" << true;
    QTest::newRow("beyond 32 bits")
        << "兜" << buy << true << "'99999999999' は整数ではありません" << true;
    QTest::newRow("beyond 32 bits as text") << "兜" << buy << false << "99999999999" << false;
}

void TestTDB::columnConversion() {
    QFETCH(QString, item);
    QFETCH(QString, column);
    QFETCH(bool, asInteger);
    QFETCH(QString, expected);
    QFETCH(bool, fails);
    ItemDbFixture fx;
    TDB db(fx.create(smallTables()));
    db.Connect();
    TDBQuery& q = db.OpenQuery(SqlStatement{
        QStringLiteral("Select ふりがな, 店売り, 店買い From ItemInfo Where アイテム名 = ?"),
        {item}});
    QVERIFY(!q.eof());
    QString got;
    const QString message = errorOf(
        [&] { got = asInteger ? QString::number(q.asInteger(column)) : q.asString(column); });
    QCOMPARE(message, fails ? expected : QString());
    if (!fails) {
        QCOMPARE(got, expected);
    }
    QCOMPARE(q.isNull(column), expected.contains(QStringLiteral("Null")));
}

void TestTDB::unknownColumn() {
    ItemDbFixture fx;
    TDB db(fx.create(smallTables()));
    db.Connect();
    TDBQuery& q = db.OpenQuery(SqlItemCount(QStringLiteral("刀")));
    for (const QString& column : {QStringLiteral("生産職業"), QString()}) {
        QVERIFY(!errorOf([&] { q.asString(column); }).isEmpty());
        QVERIFY(!errorOf([&] { q.isNull(column); }).isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestTDB)
#include "tst_tdb.moc"
