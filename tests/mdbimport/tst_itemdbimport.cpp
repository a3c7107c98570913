// The mapping of an Access item database onto TAMU_Item.db, through in-memory tables: what is
// kept, what is refused, and that a refusal leaves the old database as it was.
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>
#include <functional>

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"
#include "recipes/ChoiceLists.h"
#include "support/ImmutableFolder.h"
#include "support/ItemDbDump.h"
#include "support/MemoryAccessSource.h"

namespace {

MemoryAccessSource sample() {
    return MemoryAccessSource::items(
        {{"刀剣", "武器"}, {"薬", "その他"}},
        {{"刀", "かたな", "壱の章", "刀剣", 50, 100},
         {"玉鋼", QVariant(), "壱の章", "素材", 5, 20},
         {"傷薬", "", "弐の章", "薬", 5, 10}},
        {{"刀", "鍛冶屋", "武具目録", "BUGU", "一", "ICHI", 1, "壱の章"},
         {"傷薬", "薬師", "薬目録", "KUSURI", "一", "ICHI", 3, "弐の章"}},
        {{"刀", "玉鋼", 3}, {"傷薬", "薬草", 2}});
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

// Puts the columns of a table in reverse order and adds one the import does not know.
void reverseAndPad(MemoryTable& t) {
    std::reverse(t.columns.begin(), t.columns.end());
    t.columns.prepend(
        AccessColumn{QStringLiteral("備考"), AccessType::Other, QStringLiteral("OLE")});
    for (AccessRow& row : t.rows) {
        std::reverse(row.begin(), row.end());
        row.prepend(AccessValue{QStringLiteral("x"), false});
    }
}

void setValue(MemoryAccessSource& s, const QString& table, int row, int column, const QVariant& v) {
    s.find(table)->rows[row][column] =
        v.isNull() ? AccessValue{QString(), true} : AccessValue{v.toString(), false};
}

struct Fault {
    const char* name;
    std::function<void(MemoryAccessSource&)> apply;
    QString message;
};

const QList<Fault>& faults() {
    static const QList<Fault> list{
        {"missing table", [](MemoryAccessSource& s) { s.tables.removeAt(2); },
         QStringLiteral("表 ItemCreator がありません")},
        {"missing column",
         [](MemoryAccessSource& s) { s.find("ItemInfo")->columns[4].name = "売値"; },
         QStringLiteral("表 ItemInfo に列 店売り がありません")},
        {"two missing columns, both named",
         [](MemoryAccessSource& s) {
             s.find("ItemKind")->columns[1].name = "区分";
             s.find("ItemCreateRelation")->columns[2].name = "数";
         },
         QStringLiteral("表 ItemKind に列 装備区分 がありません\n表 ItemCreateRelation に列 必要数 "
                        "がありません")},
        {"date column",
         [](MemoryAccessSource& s) {
             s.find("ItemCreator")->columns[6] = {QStringLiteral("生産数"), AccessType::Other,
                                                  QStringLiteral("日付/時刻型")};
         },
         QStringLiteral("表 ItemCreator の列 生産数 は日付/時刻型で、整数として読めません")},
        {"NULL name", [](MemoryAccessSource& s) { setValue(s, "ItemInfo", 1, 0, QVariant()); },
         QStringLiteral("表 ItemInfo の 2 行目：列 アイテム名 が NULL です")},
        {"NULL count",
         [](MemoryAccessSource& s) { setValue(s, "ItemCreateRelation", 1, 2, QVariant()); },
         QStringLiteral("表 ItemCreateRelation の 2 行目：列 必要数 が NULL です")},
        {"integer text that is none",
         [](MemoryAccessSource& s) { setValue(s, "ItemInfo", 2, 5, "十"); },
         QStringLiteral("表 ItemInfo の 3 行目：列 店買い の値「十」は整数ではありません")},
        {"item name twice", [](MemoryAccessSource& s) { setValue(s, "ItemInfo", 2, 0, "刀"); },
         QStringLiteral("表 ItemInfo の 3 行目：アイテム名「刀」が重複しています")},
        {"kind twice", [](MemoryAccessSource& s) { setValue(s, "ItemKind", 1, 0, "刀剣"); },
         QStringLiteral("表 ItemKind の 2 行目：アイテム種類「刀剣」が重複しています")},
        {"fewer rows than declared",
         [](MemoryAccessSource& s) { s.find("ItemCreator")->declared = 3; },
         QStringLiteral("表 ItemCreator の行数が合いません (表の記録では 3 行、読めたのは 2 行)")},
        {"unreadable page", [](MemoryAccessSource& s) { s.find("ItemCreateRelation")->failAt = 2; },
         QStringLiteral("ページを読めません")},
    };
    return list;
}

}  // namespace

class ItemDbImportTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString target() const { return m_dir.filePath(QStringLiteral("TAMU_Item.db")); }

private Q_SLOTS:
    void cleanup() { QFile::remove(target()); }

    void importsEveryRow() {
        MemoryAccessSource source = sample();
        const QList<ItemDbImport::TableCount> counts = ItemDbImport::run(source, target());
        QStringList summary;
        for (const auto& c : counts) {
            summary << c.table + u'=' + QString::number(c.rows);
        }
        QCOMPARE(summary, (QStringList{"ItemKind=2", "ItemInfo=3", "ItemCreator=2",
                                       "ItemCreateRelation=2"}));
        const QStringList rows = dumpItemDb(target());
        QVERIFY(rows.contains(QStringLiteral(
            "ItemInfo|玉鋼:QString,NULL,壱の章:QString,素材:QString,5:qlonglong,20:qlonglong")));
        QVERIFY(rows.contains(QStringLiteral(
            "ItemInfo|傷薬:QString,:QString,弐の章:QString,薬:QString,5:qlonglong,10:qlonglong")));
        QVERIFY(rows.contains(
            QStringLiteral("ItemCreateRelation|刀:QString,玉鋼:QString,3:qlonglong")));
        QVERIFY(!QFile::exists(ItemDbImport::temporaryPath(target())));

        // The program reads the result as it reads the sample database.
        QStringList jobs, versions, equips;
        loadChoiceLists(target(), jobs, versions, equips);
        std::sort(jobs.begin(), jobs.end());
        QCOMPARE(jobs, (QStringList{"薬師", "鍛冶屋"}));
        QCOMPARE(equips.size(), 2);

        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("idx"));
        db.setDatabaseName(target());
        db.open();
        QSqlQuery q(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'index' AND sql IS "
                                   "NOT NULL ORDER BY name"),
                    db);
        QStringList indices;
        while (q.next()) {
            indices << q.value(0).toString();
        }
        q = QSqlQuery();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("idx"));
        QCOMPARE(indices, (QStringList{"ItemCreateRelation_material", "ItemCreateRelation_name",
                                       "ItemCreator_name"}));
    }

    // Columns in another order, extra columns and tables, names in other letter case.
    void findsTablesAndColumnsByName() {
        MemoryAccessSource plain = sample();
        ItemDbImport::run(plain, target());
        const QStringList expected = dumpItemDb(target());
        QFile::remove(target());

        MemoryAccessSource source = sample();
        for (auto& [name, table] : source.tables) {
            reverseAndPad(table);
        }
        source.tables[1].first = QStringLiteral("iteminfo");
        source.find("ItemCreator")->columns[5].name = QStringLiteral("Mokuroku");
        source.tables.prepend({QStringLiteral("メモ"), MemoryTable()});
        ItemDbImport::run(source, target());
        QCOMPARE(dumpItemDb(target()), expected);
    }

    void integerColumns_data() {
        QTest::addColumn<AccessType>("type");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("long integer") << AccessType::Integer << "7" << true;
        QTest::newRow("text holding an integer") << AccessType::Text << "12" << true;
        QTest::newRow("negative text") << AccessType::Text << "-3" << true;
        QTest::newRow("whole double") << AccessType::Real << "120" << true;
        QTest::newRow("fraction") << AccessType::Real << "1.5" << false;
        QTest::newRow("empty text") << AccessType::Text << "" << false;
        QTest::newRow("beyond 32 bits") << AccessType::Integer << "2147483648" << false;
        QTest::newRow("full-width digits") << AccessType::Text << "１２" << false;
    }
    void integerColumns() {
        QFETCH(AccessType, type);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        MemoryAccessSource source = sample();
        source.find("ItemCreator")->columns[6].type = type;
        setValue(source, "ItemCreator", 1, 6, text);
        try {
            ItemDbImport::run(source, target());
            QVERIFY(accepted);
            QVERIFY(dumpItemDb(target()).contains(
                QStringLiteral(
                    "ItemCreator|傷薬:QString,薬師:QString,薬目録:QString,KUSURI:QString,"
                    "一:QString,ICHI:QString,%1:qlonglong,弐の章:QString")
                    .arg(text)));
        } catch (const TZEMError& e) {
            QVERIFY2(!accepted, qUtf8Printable(e.message()));
            QVERIFY(e.message().contains(
                QStringLiteral("2 行目：列 生産数 の値「%1」は整数ではありません").arg(text)));
        }
    }

    void refusesAndKeepsTheOldDatabase_data() {
        QTest::addColumn<int>("fault");
        for (int i = 0; i < faults().size(); ++i) {
            QTest::newRow(faults()[i].name) << i;
        }
    }
    void refusesAndKeepsTheOldDatabase() {
        QFETCH(int, fault);
        QFile old(target());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the user's previous database");
        old.close();
        MemoryAccessSource source = sample();
        faults()[fault].apply(source);
        try {
            ItemDbImport::run(source, target());
            QFAIL("imported");
        } catch (const TZEMError& e) {
            QVERIFY2(e.message().contains(faults()[fault].message), qUtf8Printable(e.message()));
        }
        QCOMPARE(contents(target()), QByteArray("the user's previous database"));
        QVERIFY(!QFile::exists(ItemDbImport::temporaryPath(target())));
    }

    void hundredThousandRows() {
        MemoryAccessSource source = sample();
        MemoryTable& infos = *source.find("ItemInfo");
        for (int i = 0; i < 100000; ++i) {
            infos.addRow({QStringLiteral("品%1").arg(i), QVariant(), "壱の章", "素材", i, i + 1});
        }
        const QList<ItemDbImport::TableCount> counts = ItemDbImport::run(source, target());
        QCOMPARE(counts[1].rows, 100003);
        const QStringList rows = dumpItemDb(target());
        QVERIFY(
            rows.contains(QStringLiteral("ItemInfo|品99999:QString,NULL,壱の章:QString,素材:"
                                         "QString,99999:qlonglong,100000:qlonglong")));
    }

    void readOnlyFolderKeepsTheOldDatabase() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("TAMU_Item.db"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        ImmutableFolder readOnly(dir.path());
        if (!readOnly.ok()) {
            QSKIP("chattr cannot make the folder read-only here");
        }
        MemoryAccessSource source = sample();
        try {
            ItemDbImport::run(source, path);
            QFAIL("wrote into a read-only folder");
        } catch (const TZEMError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("に書き込めません")),
                     qUtf8Printable(e.message()));
        }
        QCOMPARE(contents(path), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(ItemDbImportTest)
#include "tst_itemdbimport.moc"
