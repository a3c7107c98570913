// The Access reader on real files: text in several scripts, NULL against text, numbers, column
// types, a deleted column, and the files it must refuse.
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/MdbSource.h"

namespace {

QString fixture(const QString& name) {
    return QStringLiteral(TAMU_MDB_FIXTURES "/") + name;
}

// Every row of one column, read as the importer reads (row count checked).
QList<AccessValue> readColumn(const QString& file, const QString& table, const QString& column) {
    MdbSource source(file);
    if (!source.tableNames().contains(table)) {
        throw TZEMError(QStringLiteral("no table ") + table);
    }
    std::unique_ptr<AccessTable> t = source.table(table);
    const QList<AccessColumn> columns = t->columns();
    int at = -1;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name == column) {
            at = i;
        }
    }
    if (at < 0) {
        throw TZEMError(QStringLiteral("no column ") + column);
    }
    t->select({at});
    QList<AccessValue> values;
    ItemDbImport::readRows(*t, table,
                           [&](const AccessRow& row, std::int64_t) { values << row[0]; });
    return values;
}

QString charactersOneTo255() {
    QString s;
    for (char16_t c = 1; c <= 255; ++c) {
        s += QChar(c);
    }
    return s;
}

}  // namespace

class MdbSourceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsValues_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("text");
        const QString unicode = QStringLiteral("testUnicodeCompV2003.mdb");
        QTest::newRow("Japanese") << unicode << "Table"
                                  << "Unicode" << 8 << 5 << QStringLiteral("漢字仮名交じり文");
        QTest::newRow("Cyrillic") << unicode << "Table"
                                  << "Unicode" << 8 << 3 << QStringLiteral("Мир");
        QTest::newRow("Greek") << unicode << "Table"
                               << "Unicode" << 8 << 4
                               << QStringLiteral("ϰαὶ τ\u1F79τ' ἐγὼ Κ\u1F7Bϰλωπα");
        QTest::newRow("control characters")
            << unicode << "Table"
            << "Unicode" << 8 << 6 << QStringLiteral("3L9\u001d52\u0002_AB(¥\u0005!!V");
        QTest::newRow("characters 1 to 255") << unicode << "Table"
                                             << "Unicode" << 8 << 8 << charactersOneTo255();
        QTest::newRow("integer column") << unicode << "Table"
                                        << "ID" << 8 << 7 << "7";
        QTest::newRow("Japanese column name") << "japanese-colname.mdb"
                                              << "Table" << QStringLiteral("アイテム名生産") << 8
                                              << 5 << QStringLiteral("漢字仮名交じり文");
        // The library's limit: a character outside the BMP reads as two question marks.
        QTest::newRow("outside the BMP") << "nonbmp-value.mdb"
                                         << "Table"
                                         << "Unicode" << 8 << 5 << QStringLiteral("??仮名交じり文");
        QTest::newRow("memo") << "test2V2003.mdb"
                              << "MSP_PROJECTS"
                              << "PROJ_NAME" << 1 << 1 << "Project1";
        QTest::newRow("decimal, negative") << "mit/V2003-numeric.mdb"
                                           << "test"
                                           << "col6" << 1 << 1 << "-1";
        QTest::newRow("accdb, after a deleted column") << "mit/V2016-withdeletedcol.accdb"
                                                       << "Table1"
                                                       << "col1" << 1 << 1 << "0";
        QTest::newRow("accdb, before a deleted column") << "mit/V2016-withdeletedcol.accdb"
                                                        << "Table1"
                                                        << "col8" << 1 << 1 << "7";
    }
    void readsValues() {
        QFETCH(QString, file);
        QFETCH(QString, table);
        QFETCH(QString, column);
        QFETCH(int, rows);
        QFETCH(int, row);
        QFETCH(QString, text);
        const QList<AccessValue> values = readColumn(fixture(file), table, column);
        QCOMPARE(values.size(), rows);
        QVERIFY(!values[row - 1].null);
        QCOMPARE(values[row - 1].text, text);
    }

    void tellsNullFromText_data() {
        QTest::addColumn<QString>("column");
        QTest::addColumn<bool>("null");
        QTest::addColumn<QString>("text");
        QTest::newRow("NULL memo") << "PROJ_PROP_CATEGORY" << true << "";
        QTest::newRow("NULL number") << "PROJ_OPT_DEF_STD_RATE" << false << "0";
        QTest::newRow("NULL text") << "PROJ_PROP_SUBJECT" << true << "";
        QTest::newRow("memo with text") << "PROJ_INFO_CAL_NAME" << false << "Standard";
        QTest::newRow("yes/no is never NULL") << "PROJ_OPT_CALC_ACT_COSTS" << false << "1";
    }
    void tellsNullFromText() {
        QFETCH(QString, column);
        QFETCH(bool, null);
        QFETCH(QString, text);
        const QList<AccessValue> values = readColumn(fixture(QStringLiteral("test2V2003.mdb")),
                                                     QStringLiteral("MSP_PROJECTS"), column);
        QCOMPARE(values.size(), 1);
        QCOMPARE(values[0].null, null);
        QCOMPARE(values[0].text, text);
    }

    // The character set the library converts to comes from MDBICONV; TAMU reads UTF-8 whatever
    // the environment says.
    void ignoresTheCharacterSetVariable() {
        qputenv("MDBICONV", "ISO-8859-1");
        const QList<AccessValue> values =
            readColumn(fixture(QStringLiteral("testUnicodeCompV2003.mdb")), QStringLiteral("Table"),
                       QStringLiteral("Unicode"));
        qunsetenv("MDBICONV");
        QCOMPARE(values[4].text, QStringLiteral("漢字仮名交じり文"));
    }

    void refusesFilesItCannotRead_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        QFile f(fixture(QStringLiteral("testUnicodeCompV2003.mdb")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray whole = f.readAll();
        QTest::newRow("zero bytes") << QByteArray() << QStringLiteral("空のファイル");
        QTest::newRow("text file") << QByteArray("アイテム名,材料\n刀,玉鋼\n").repeated(400)
                                   << QStringLiteral("Access のデータベースではない");
        const QString damaged =
            QStringLiteral("表の一覧を読めません。ファイルが壊れている可能性があります");
        QTest::newRow("cut in the system tables") << whole.left(16384) << damaged;
        // The library would list no table at all here, without an error.
        QTest::newRow("cut in the table list") << whole.left(40000) << damaged;
        QTest::newRow("cut in the table")
            << whole.left(whole.size() / 2) << QStringLiteral("表 Table を読めません");
    }
    void refusesFilesItCannotRead() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("TAMU_Item.mdb"));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(bytes);
        out.close();
        try {
            readColumn(path, QStringLiteral("Table"), QStringLiteral("Unicode"));
            QFAIL("a damaged file read as whole");
        } catch (const TZEMError& e) {
            QVERIFY2(e.message().contains(reason), qUtf8Printable(e.message()));
        }
        QCOMPARE(QFileInfo(path).size(), bytes.size());
    }
};

QTEST_GUILESS_MAIN(MdbSourceTest)
#include "tst_mdbsource.moc"
