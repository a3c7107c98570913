// The tamu-import-mdb command as its manual page describes it: the options, where it writes, what
// goes to standard output and to standard error, the exit codes 0 to 3, what it refuses to write
// over, and one import at a time per output.
#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "mdbimport/AccessFileIdentity.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/SqlConnection.h"

namespace {

QString command() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/tamu-import-mdb");
}

const QString RealDatabase = QStringLiteral(TAMU_ITEM_FIXTURES "/TAMU_Item_jet4.mdb");
const QString NoItemTables = QStringLiteral(TAMU_MDB_FIXTURES "/testUnicodeCompV2003.mdb");
const QString RealAccdb = QStringLiteral(TAMU_ITEM_FIXTURES "/TAMU_Item_ace2007.accdb");

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result runCommand(const QStringList& arguments, const QString& folder = QString()) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(command(), arguments);
    Result r;
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit) {
        r.exitCode = process.exitCode();
    }
    r.out = QString::fromUtf8(process.readAllStandardOutput());
    r.err = QString::fromUtf8(process.readAllStandardError());
    return r;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

qint64 itemRows(const QString& database) {
    const SqlConnection connection(QStringLiteral("QSQLITE"), database);
    QSqlDatabase db = connection.db();
    QSqlQuery q(db);
    return db.open() && q.exec(QStringLiteral("SELECT count(*) FROM ItemInfo")) && q.next()
               ? q.value(0).toLongLong()
               : -1;
}

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
        QTest::newRow("time limit of none")
            << QStringList{"--time-limit=0", "items.mdb"} << 2 << QString()
            << QStringLiteral("--time-limit=0 の秒数") << QString() << "items.mdb";
        QTest::newRow("time limit not a number")
            << QStringList{"items.mdb", "--time-limit=soon"} << 2 << QString()
            << QStringLiteral("--time-limit=soon の秒数") << QString() << "items.mdb";
        QTest::newRow("time limit given")
            << QStringList{"--time-limit=30", "items.mdb"} << 0
            << QStringLiteral("items.db に書き込みました") << QString() << "items.db" << QString();
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

    // Renaming the new database into place would replace the node itself (as root, /dev/null).
    void outputThatIsNoRegularFileIsRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("link to a file") << "link";
        QTest::newRow("link to a device") << "device link";
        QTest::newRow("link to nothing") << "dangling link";
        QTest::newRow("FIFO") << "fifo";
        QTest::newRow("device node") << "device";
    }
    void outputThatIsNoRegularFileIsRefused() {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("out.db"));
        const QString file = dir.filePath(QStringLiteral("the user's.db"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("the user's file");
        f.close();
        const QByteArray path = QFile::encodeName(output);
        if (kind == QStringLiteral("link")) {
            QVERIFY(QFile::link(file, output));
        } else if (kind == QStringLiteral("device link")) {
            QVERIFY(QFile::link(QStringLiteral("/dev/null"), output));
        } else if (kind == QStringLiteral("dangling link")) {
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("none")), output));
        } else if (kind == QStringLiteral("fifo")) {
            QCOMPARE(::mkfifo(path.constData(), 0600), 0);
        } else if (::mknod(path.constData(), S_IFCHR | 0600, makedev(1, 3)) != 0) {
            QSKIP("making a device node needs root");
        }
        struct stat before = {};
        QCOMPARE(::lstat(path.constData(), &before), 0);

        const Result r = runCommand({RealDatabase, output});
        QVERIFY2(r.exitCode == 1, qUtf8Printable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("通常のファイルではない")), qUtf8Printable(r.err));
        struct stat after = {};
        QCOMPARE(::lstat(path.constData(), &after), 0);
        QCOMPARE(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(contents(file), QByteArray("the user's file"));
        QVERIFY(!QFile::exists(ItemDbImport::temporaryPath(output)));
    }

    // While one import holds the output, another is refused with 3 and writes nothing; two
    // started together never leave a database without its tables.
    void oneImportPerOutput() {
        QTemporaryDir dir;
        const QString output = dir.filePath(QStringLiteral("out.db"));
        {
            QFile f(output);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("the database before");
        }
        {
            QLockFile held(ItemDbImport::lockPath(output));
            QVERIFY(held.tryLock(0));
            const Result r = runCommand({RealDatabase, output});
            QVERIFY2(r.exitCode == 3, qUtf8Printable(r.err));
            QVERIFY2(r.err.contains(QStringLiteral("別の取り込み")), qUtf8Printable(r.err));
            QCOMPARE(contents(output), QByteArray("the database before"));
        }
        for (int round = 0; round < 8; ++round) {
            QProcess first;
            QProcess second;
            first.start(command(), {RealDatabase, output});
            second.start(command(), {RealAccdb, output});
            QVERIFY(first.waitForFinished(60000));
            QVERIFY(second.waitForFinished(60000));
            const QList<int> codes{first.exitCode(), second.exitCode()};
            QVERIFY2(codes.contains(0),
                     qUtf8Printable(QStringLiteral("%1 %2").arg(codes[0]).arg(codes[1])));
            for (const int code : codes) {
                QVERIFY(code == 0 || code == 3);
            }
            QCOMPARE(itemRows(output), 368);
            const AccessFileIdentity from = ItemDbImport::importedFrom(output);
            QVERIFY(from == AccessFileIdentity::of(RealDatabase) ||
                    from == AccessFileIdentity::of(RealAccdb));
        }
        QVERIFY(!QFile::exists(ItemDbImport::lockPath(output)));
    }

    // A file on which the Access library crashes: a failure with its message, nothing left.
    void crashInTheLibraryIsAFailure() {
        QTemporaryDir dir;
        QByteArray bytes = contents(RealAccdb);
        QCOMPARE(bytes.size(), 466944);
        bytes[380983] = '\x28';  // a length in the definition of a table
        const QString input = dir.filePath(QStringLiteral("damaged.accdb"));
        QFile f(input);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        const QString output = dir.filePath(QStringLiteral("out.db"));
        const Result r = runCommand({input, output});
        QVERIFY2(r.exitCode == 1, qUtf8Printable(r.err));
        QVERIFY2(r.err.contains(QStringLiteral("damaged.accdb を取り込めません")) &&
                     r.err.contains(QStringLiteral("異常終了しました")),
                 qUtf8Printable(r.err));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"damaged.accdb"});
    }
};

QTEST_GUILESS_MAIN(ImportCommandTest)
#include "tst_importcommand.moc"
