// The ODBC reader: the files and drivers it refuses, each with one clear message, and what it
// reads, held against libmdb's reading of the same files.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/OdbcSource.h"
#include "support/OdbcTestDriver.h"
#ifndef _WIN32
#include "support/OdbcAsanSuppressions.h"
#endif
#ifndef _WIN32
#include "mdbimport/MdbSource.h"
#endif

namespace {

QString fixture(const QString& name) {
    return QStringLiteral(TAMU_MDB_FIXTURES "/") + name;
}

[[maybe_unused]] QStringList describe(const QList<AccessColumn>& columns) {
    QStringList out;
    for (const AccessColumn& c : columns) {
        out << c.name + u':' + QString::number(int(c.type)) + u':' + c.typeName;
    }
    return out;
}

// Every value of the columns of `table` that the import could take (text and numbers), row by
// row, NULL told from the text.
[[maybe_unused]] QStringList readValues(AccessSource& source, const QString& name) {
    std::unique_ptr<AccessTable> table = source.table(name);
    const QList<AccessColumn> columns = table->columns();
    QList<int> selected;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].type != AccessType::Other) {
            selected << i;
        }
    }
    table->select(selected);
    QStringList values;
    ItemDbImport::readRows(*table, name, [&](const AccessRow& row, std::int64_t number) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            values << QStringLiteral("%1/%2 %3")
                          .arg(number)
                          .arg(columns[selected[i]].name,
                               row[i].null ? QStringLiteral("NULL") : u'«' + row[i].text + u'»');
        }
    });
    return values;
}

}  // namespace

class OdbcSourceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refuses_data() {
        QTest::addColumn<QString>("file");  // a fixture, or a kind of file made here
        QTest::addColumn<QString>("driver");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing file") << "(missing)" << odbcTestDriver() << "ファイルがありません";
        QTest::newRow("folder") << "(folder)" << odbcTestDriver()
                                << "ファイルではなくフォルダーです";
        QTest::newRow("empty file") << "(empty)" << odbcTestDriver() << "空のファイルです";
        QTest::newRow("text file")
            << "(text)" << odbcTestDriver() << "Access のデータベースではないか、壊れています";
        const QString missing = QStringLiteral(
            "ODBC ドライバー「%1」が見つかりません。Access のファイルを読むには、"
            "Microsoft の Access データベース エンジン (Microsoft Access Database "
            "Engine 再頒布可能パッケージ) の ");
        const QString name = QStringLiteral("TAMU Missing Access Driver (*.mdb)");
        QTest::newRow("driver name nobody has")
            << "testUnicodeCompV2003.mdb" << name << missing.arg(name);
        const QString library = QDir::temp().filePath(QStringLiteral("tamu-no-driver/libodbc.so"));
        QTest::newRow("driver library that is not there")
            << "testUnicodeCompV2003.mdb" << library << missing.arg(library);
    }
    void refuses() {
        QFETCH(QString, file);
        QFETCH(QString, driver);
        QFETCH(QString, reason);
        if (file == u"(text)" && !OdbcSource::driverInstalled(driver)) {
            QSKIP("no ODBC driver for Access files here to refuse the file");
        }
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("TAMU_Item.mdb"));
        if (file == u"(folder)") {
            QVERIFY(QDir().mkpath(path));
        } else if (file == u"(empty)" || file == u"(text)") {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(file == u"(text)" ? QByteArray("アイテム名,材料\n刀,玉鋼\n").repeated(400)
                                        : QByteArray());
        } else if (file != u"(missing)") {
            path = fixture(file);
        }
        try {
            OdbcSource source(path, driver);
            QFAIL("opened");
        } catch (const TZEMError& e) {
            QVERIFY2(e.message().startsWith(reason), qUtf8Printable(e.message()));
            QVERIFY2(!e.message().contains(u'\n'), qUtf8Printable(e.message()));
        }
    }

    void agreesWithLibmdb_data() {
        QTest::addColumn<QString>("file");
        for (const char* file : {"testUnicodeCompV2003.mdb", "japanese-colname.mdb",
                                 "nonbmp-value.mdb", "test2V2003.mdb", "mit/V2000-empty.mdb",
                                 "mit/V2003-numeric.mdb", "mit/V2016-withdeletedcol.accdb"}) {
            QTest::newRow(file) << QString::fromLatin1(file);
        }
    }
    // Every table: its columns with their types, its row count and every value.
    void agreesWithLibmdb() {
#ifdef _WIN32
        QSKIP("libmdb is not built for Windows");
#else
        QFETCH(QString, file);
        MdbSource mdb(fixture(file));
        OdbcSource odbc(fixture(file), odbcTestDriver());
        QStringList tables = mdb.tableNames();
        QStringList odbcTables = odbc.tableNames();
        std::sort(tables.begin(), tables.end());
        std::sort(odbcTables.begin(), odbcTables.end());
        QCOMPARE(odbcTables, tables);
        for (const QString& name : tables) {
            QCOMPARE(describe(odbc.table(name)->columns()), describe(mdb.table(name)->columns()));
            QCOMPARE(odbc.table(name)->declaredRows(), mdb.table(name)->declaredRows());
            QCOMPARE(readValues(odbc, name), readValues(mdb, name));
        }
#endif
    }
};

QTEST_GUILESS_MAIN(OdbcSourceTest)
#include "tst_odbcsource.moc"
