// The tamu-import-mdb command as its manual page describes it: the options, where it writes, what
// goes to standard output and to standard error, and the exit codes 0, 1 and 2.
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString command() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tamu-import-mdb");
}

const QString RealDatabase = QStringLiteral(TAMU_ITEM_FIXTURES "/TAMU_Item_jet4.mdb");
const QString NoItemTables = QStringLiteral(TAMU_MDB_FIXTURES "/testUnicodeCompV2003.mdb");

}  // namespace

class ImportCommandTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");        // a text standard output must hold
        QTest::addColumn<QString>("err");        // a text standard error must hold
        QTest::addColumn<QString>("written");    // the file it must write, in its folder
        QTest::addColumn<QString>("untouched");  // a file there before that must stay as it was

        const QString usage = QStringLiteral("使い方: tamu-import-mdb");
        const QString version = QStringLiteral("tamu-import-mdb " TAMU_VERSION "\n");
        QTest::newRow("no arguments")
            << QStringList() << 2 << QString() << usage << QString() << QString();
        QTest::newRow("three arguments") << QStringList{"items.mdb", "a.db", "b.db"} << 2
                                         << QString() << usage << QString() << "items.mdb";
        QTest::newRow("unknown option before the file")
            << QStringList{"-f", "items.mdb"} << 2 << QString()
            << QStringLiteral("オプション -f はありません") << QString() << "items.mdb";
        // An option after the file is not taken for the output's name.
        QTest::newRow("unknown option after the file")
            << QStringList{"items.mdb", "--force"} << 2 << QString()
            << QStringLiteral("オプション --force はありません") << QString() << "items.mdb";
        QTest::newRow("--help") << QStringList{"--help"} << 0 << QStringLiteral("終了コード")
                                << QString() << QString() << QString();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QString() << QString()
                            << QString();
        QTest::newRow("--help beside a file")
            << QStringList{"items.mdb", "--help"} << 0 << QStringLiteral("終了コード") << QString()
            << QString() << "items.mdb";
        QTest::newRow("--version")
            << QStringList{"--version"} << 0 << version << QString() << QString() << QString();
        QTest::newRow("-V") << QStringList{"-V"} << 0 << version << QString() << QString()
                            << QString();
        QTest::newRow("missing input")
            << QStringList{"none.mdb", "out.db"} << 1 << QString()
            << QStringLiteral("tamu-import-mdb: ") << QString() << "out.db";
        QTest::newRow("no item tables")
            << QStringList{"unicode.mdb", "out.db"} << 1 << QString()
            << QStringLiteral("表 ItemKind がありません") << QString() << "out.db";
        QTest::newRow("output beside the input")
            << QStringList{"items.mdb"} << 0 << QStringLiteral("ItemInfo") << QString()
            << "items.db" << QString();
        QTest::newRow("output named")
            << QStringList{"items.mdb", "named.db"} << 0
            << QStringLiteral("named.db に書き込みました") << QString() << "named.db" << QString();
        QTest::newRow("--help after --, a file name")
            << QStringList{"--", "--help"} << 1 << QString() << QStringLiteral("tamu-import-mdb: ")
            << QString() << QString();
        QTest::newRow("-- before a name with a dash")
            << QStringList{"--", "-items.mdb"} << 0 << QStringLiteral("-items.db に書き込みました")
            << QString() << "-items.db" << QString();
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QString, written);
        QFETCH(QString, untouched);

        QTemporaryDir dir;
        QVERIFY(QFile::copy(RealDatabase, dir.filePath(QStringLiteral("items.mdb"))));
        QVERIFY(QFile::copy(RealDatabase, dir.filePath(QStringLiteral("-items.mdb"))));
        QVERIFY(QFile::copy(NoItemTables, dir.filePath(QStringLiteral("unicode.mdb"))));
        QByteArray before;
        if (!untouched.isEmpty()) {
            QFile f(dir.filePath(untouched));
            if (!f.exists()) {
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("the user's file");
                f.close();
            }
            QVERIFY(f.open(QIODevice::ReadOnly));
            before = f.readAll();
        }

        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(command(), arguments);
        QVERIFY2(process.waitForFinished(60000), qUtf8Printable(process.errorString()));
        const QString stdOut = QString::fromUtf8(process.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(process.readAllStandardError());
        const QString both = QStringLiteral("stdout: %1\nstderr: %2").arg(stdOut, stdErr);

        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QVERIFY2(process.exitCode() == exitCode, qUtf8Printable(both));
        // Help and version are asked for: standard output, nothing on standard error. Refusals
        // go to standard error alone.
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.contains(out), qUtf8Printable(both));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qUtf8Printable(both));
        if (!written.isEmpty()) {
            QFile db(dir.filePath(written));
            QVERIFY(db.open(QIODevice::ReadOnly));
            QCOMPARE(db.read(16), QByteArray("SQLite format 3\0", 16));
        }
        if (!untouched.isEmpty()) {
            QFile f(dir.filePath(untouched));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), before);
        }
        const QStringList left = QDir(dir.path()).entryList(QDir::Files);
        QVERIFY2(left.filter(QStringLiteral(".import")).isEmpty(), qUtf8Printable(left.join(u' ')));
    }
};

QTEST_GUILESS_MAIN(ImportCommandTest)
#include "tst_importcommand.moc"
