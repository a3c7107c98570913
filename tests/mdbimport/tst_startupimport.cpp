// The import at start-up: when it runs, what the user sees while it runs and when it fails, that
// a failure leaves the program with the database it had, and that the import command is bounded
// in time and in the output kept, and ends with TAMU.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>

#include <unistd.h>

#include "common/TZEMError.h"
#include "mdbimport/AccessFileIdentity.h"
#include "mdbimport/ImportProgress.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/OdbcSource.h"
#include "mdbimport/SqlConnection.h"
#include "mdbimport/StartupImport.h"
#include "support/ControllerSandbox.h"
#include "support/MessageRecorder.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes, int ageSeconds = 0) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                          QFileDevice::FileModificationTime));
}

void setTime(const QString& path, const QDateTime& time) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
}

// A database that says it was imported from `from`, as the import command writes it.
void writeImportedDatabase(const QString& path, const AccessFileIdentity& from) {
    const SqlConnection connection(QStringLiteral("QSQLITE"), path);
    QSqlDatabase db = connection.db();
    QVERIFY(db.open());
    QSqlQuery q(db);
    QVERIFY(
        q.exec(QStringLiteral("CREATE TABLE TamuImportSource (Name TEXT PRIMARY KEY, Value "
                              "TEXT NOT NULL)")));
    QVERIFY(q.exec(QStringLiteral("INSERT INTO TamuImportSource VALUES ('Size', '%1'), "
                                  "('Modified', '%2'), ('Hash', '%3')")
                       .arg(from.size)
                       .arg(from.modifiedMs)
                       .arg(QString::fromLatin1(from.hash))));
}

qint64 residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return 0;
}

// A process that still runs; a zombie nobody reaps has ended.
bool running(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && text.mid(close + 2, 1) != "Z";
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QString fixture(const QString& name) {
    return QStringLiteral(TAMU_MDB_FIXTURES "/") + name;
}

QProgressDialog* progressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("StartupImportProgress") && w->isVisible()) {
            return qobject_cast<QProgressDialog*>(w);
        }
    }
    return nullptr;
}

}  // namespace

class StartupImportTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QString m_program;

    QString database() const { return m_data + QStringLiteral("TAMU_Item.db"); }
    QString accessFile() const { return m_data + QStringLiteral("TAMU_Item.mdb"); }

    // An import command of our own making, for the behaviour around a running import.
    QString script(const QByteArray& body) {
        const QString path = m_dir->filePath(QStringLiteral("fake-import"));
        writeFile(path, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }

private Q_SLOTS:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_data = m_dir->filePath(QStringLiteral("DAT/"));
        m_program = m_dir->filePath(QStringLiteral("program/"));
        QDir().mkpath(m_data);
        QDir().mkpath(m_program + QStringLiteral("DAT"));
    }

    // Imported when the file differs from the one the database came from, whatever the times
    // say; not retried after a failure until it changes.
    void pendingSource_data() {
        QTest::addColumn<QString>("accessIn");  // "data", "program" or "none"
        QTest::addColumn<QString>(
            "record");  // the database: "none", "unrecorded", "this file", "other file"
        QTest::addColumn<int>("sourceAge");  // seconds before now; negative: in the future
        QTest::addColumn<int>("databaseAge");
        QTest::addColumn<QString>(
            "failed");  // the file remembered as failed: "none", "this", "other"
        QTest::addColumn<bool>("pending");
        QTest::newRow("no database yet") << "data"
                                         << "none" << 120 << 0 << "none" << true;
        QTest::newRow("database of this file") << "data"
                                               << "this file" << 120 << 60 << "none" << false;
        QTest::newRow("database of this file, older than it")
            << "data"
            << "this file" << 60 << 120 << "none" << false;
        QTest::newRow("this file in the future, imported")
            << "data"
            << "this file" << -86400 << 60 << "none" << false;
        QTest::newRow("copy that kept its old time (cp -p, unzip)")
            << "data"
            << "other file" << 600 << 60 << "none" << true;
        QTest::newRow("database in the future") << "data"
                                                << "other file" << 120 << -86400 << "none" << true;
        QTest::newRow("database not made by an import")
            << "data"
            << "unrecorded" << 120 << 60 << "none" << true;
        QTest::newRow("failed before, unchanged") << "data"
                                                  << "none" << 120 << 0 << "this" << false;
        QTest::newRow("failed before, changed since")
            << "data"
            << "other file" << 120 << 0 << "other" << true;
        QTest::newRow("beside the program, database of it")
            << "program"
            << "this file" << 120 << 60 << "none" << false;
        QTest::newRow("beside the program, copy that kept its time")
            << "program"
            << "other file" << 120 << 60 << "none" << true;
        QTest::newRow("no Access file") << "none"
                                        << "unrecorded" << 120 << 60 << "none" << false;
    }
    void pendingSource() {
        QFETCH(QString, accessIn);
        QFETCH(QString, record);
        QFETCH(int, sourceAge);
        QFETCH(int, databaseAge);
        QFETCH(QString, failed);
        QFETCH(bool, pending);
        const QString source = accessIn == QStringLiteral("data") ? accessFile()
                               : accessIn == QStringLiteral("program")
                                   ? m_program + QStringLiteral("DAT/TAMU_Item.mdb")
                                   : m_dir->filePath(QStringLiteral("unused.mdb"));
        const QDateTime sourceTime = QDateTime::currentDateTime().addSecs(-sourceAge);
        // "Other" is the file as it was before a copy of the same size and time replaced it.
        writeFile(source, "the earlier file");
        setTime(source, sourceTime);
        const AccessFileIdentity other = AccessFileIdentity::of(source);
        writeFile(source, "the current file");
        setTime(source, sourceTime);
        const AccessFileIdentity current = AccessFileIdentity::of(source);
        QVERIFY(current.isValid() && other.isValid() && !(current == other));
        if (accessIn == QStringLiteral("none")) {
            QFile::remove(source);
        }
        if (record != QStringLiteral("none")) {
            if (record == QStringLiteral("unrecorded")) {
                writeFile(database(), "db");
            } else {
                writeImportedDatabase(database(),
                                      record == QStringLiteral("this file") ? current : other);
            }
            setTime(database(), QDateTime::currentDateTime().addSecs(-databaseAge));
        }
        if (failed != QStringLiteral("none")) {
            const AccessFileIdentity& id = failed == QStringLiteral("this") ? current : other;
            writeFile(m_data + QStringLiteral("TAMUImport.ini"),
                      QStringLiteral("[Failed]\nSize=%1\nModified=%2\nHash=%3\n")
                          .arg(id.size)
                          .arg(id.modifiedMs)
                          .arg(QString::fromLatin1(id.hash))
                          .toUtf8());
        }
        const StartupImport import(m_data, m_program);
        QCOMPARE(import.pendingSource(), pending ? source : QString());
    }

    void badFileKeepsTheDatabase_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<QString>("reason");
        QFile f(fixture(QStringLiteral("testUnicodeCompV2003.mdb")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray unicode = f.readAll();
        // The reader's own refusals are tested with it; here, that each one reaches the user.
        QTest::newRow("folder of that name")
            << QByteArray() << true << QStringLiteral("フォルダー");
        QTest::newRow("truncated")
            << unicode.left(40000) << false << QStringLiteral("壊れている可能性があります");
        QTest::newRow("no item tables")
            << unicode << false << QStringLiteral("表 ItemKind がありません");
    }
    void badFileKeepsTheDatabase() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, folder);
        QFETCH(QString, reason);
        writeFile(database(), "old database", 600);
        if (folder) {
            QVERIFY(QDir().mkpath(accessFile()));
        } else {
            writeFile(accessFile(), bytes);
        }
        MessageRecorder messages;
        QVERIFY(!StartupImport(m_data, QCoreApplication::applicationDirPath()).run());
        QCOMPARE(messages.errors.size(), 1);
        const QString& text = messages.errors[0];
        QVERIFY2(text.contains(QDir::toNativeSeparators(accessFile())), qUtf8Printable(text));
        QVERIFY2(text.contains(reason), qUtf8Printable(text));
        QVERIFY(text.endsWith(QStringLiteral("これまでのアイテムデータベースのまま起動します。")));
        QCOMPARE(contents(database()), QByteArray("old database"));
        QVERIFY(!QFile::exists(ItemDbImport::temporaryPath(database())));
    }

    void slowImportShowsProgressAndCanBeCancelled() {
        writeFile(accessFile(), "mdb");
        const QString program = script(": > \"$2.import\"\nexec sleep 60");
        bool shownEarly = false;
        bool shownLater = false;
        QTimer::singleShot(100, [&] { shownEarly = progressDialog() != nullptr; });
        QTimer::singleShot(StartupImport::ProgressDelayMs + 1500, [&] {
            if (QProgressDialog* dialog = progressDialog()) {
                shownLater = true;
                QTest::mouseClick(dialog->findChild<QPushButton*>(), Qt::LeftButton);
            }
        });
        MessageRecorder messages;
        QElapsedTimer clock;
        clock.start();
        StartupImport import(m_data, m_program, program);
        import.setProgressWindow(ImportProgress::window());
        QVERIFY(!import.run());
        QVERIFY(clock.elapsed() < 30000);
        QVERIFY(!shownEarly);
        QVERIFY(shownLater);
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].contains(QStringLiteral("取り込みを中止しました")));
        QVERIFY(!QFile::exists(ItemDbImport::temporaryPath(database())));
        QVERIFY(!QFile::exists(database()));
    }

    // A real file, its time in the future: imported once, then left alone.
    void importIsCheckedAndDoneOnce() {
        writeFile(database(), "old", 600);
        QVERIFY(
            QFile::copy(QStringLiteral(TAMU_ITEM_FIXTURES "/TAMU_Item_jet4.mdb"), accessFile()));
        setTime(accessFile(), QDateTime::currentDateTime().addDays(1));
        MessageRecorder messages;
        QVERIFY(StartupImport(
                    m_data, m_program,
                    QCoreApplication::applicationDirPath() + QStringLiteral("/tamu-import-mdb"))
                    .run());
        QVERIFY2(messages.errors.isEmpty(), qUtf8Printable(messages.errors.join(u'\n')));
        QCOMPARE(ItemDbImport::importedFrom(database()), AccessFileIdentity::of(accessFile()));
        const StartupImport again(m_data, m_program);
        QCOMPARE(again.pendingSource(), QString());
        QVERIFY(!QFile::exists(ItemDbImport::lockPath(database())));
    }

    void brokenImportIsReported_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<bool>("remembered");  // not tried again until the file changes
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << QStringLiteral("異常終了しました")
                               << true;
        QTest::newRow("failure with library notes")
            << QByteArray(
                   "echo 'mdb_read_table: Unable to read page 53' >&2\n"
                   "echo 'tamu-import-mdb: 取り込めません。\n表 ItemInfo に列 店売り がありません' "
                   ">&2\n"
                   "exit 1")
            << QStringLiteral("取り込めません。\n表 ItemInfo に列 店売り がありません") << true;
        QTest::newRow("no program")
            << QByteArray() << QStringLiteral("取り込みプログラム") << false;
        QTest::newRow("success claimed, no database")
            << QByteArray("printf new > \"$2\"")
            << QStringLiteral("取り込みの結果を確かめられません") << false;
        QTest::newRow("another import at work")
            << QByteArray("echo 'tamu-import-mdb: 別の取り込みが書き込んでいます' >&2\nexit 3")
            << QStringLiteral("別の取り込みが書き込んでいます") << false;
    }
    void brokenImportIsReported() {
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);
        QFETCH(bool, remembered);
        writeFile(accessFile(), "mdb");
        const QString program = body.isEmpty() ? m_program + QStringLiteral("none") : script(body);
        MessageRecorder messages;
        StartupImport import(m_data, m_program, program);
        QVERIFY(!import.run());
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY2(messages.errors[0].contains(reason), qUtf8Printable(messages.errors[0]));
        QVERIFY(!messages.errors[0].contains(QStringLiteral("mdb_read_table")));
        QCOMPARE(messages.errors[0].contains(QStringLiteral("変更されるまで取り込みません")),
                 remembered);
        QCOMPARE(import.pendingSource(), remembered ? QString() : accessFile());
        // Changed, it is tried again.
        writeFile(accessFile(), "mdb, mended");
        QCOMPARE(import.pendingSource(), accessFile());
    }

    // Another import holds the database: refused, its unfinished file left to it, tried again.
    void busyDatabaseIsLeftToTheOtherImport() {
        writeFile(database(), "old database", 600);
        QVERIFY(
            QFile::copy(QStringLiteral(TAMU_ITEM_FIXTURES "/TAMU_Item_jet4.mdb"), accessFile()));
        QLockFile other(ItemDbImport::lockPath(database()));
        QVERIFY(other.tryLock(0));
        writeFile(ItemDbImport::temporaryPath(database()), "the other import's");
        MessageRecorder messages;
        StartupImport import(
            m_data, m_program,
            QCoreApplication::applicationDirPath() + QStringLiteral("/tamu-import-mdb"));
        QVERIFY(!import.run());
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY2(messages.errors[0].contains(QStringLiteral("別の取り込み")),
                 qUtf8Printable(messages.errors[0]));
        QCOMPARE(contents(ItemDbImport::temporaryPath(database())),
                 QByteArray("the other import's"));
        QCOMPARE(contents(database()), QByteArray("old database"));
        QCOMPARE(import.pendingSource(), accessFile());
    }

    // An import that never ends and floods its standard error, as the Access library does on
    // some damaged files: ended at its time limit with everything it started, TAMU's memory not
    // grown by what it wrote, the message naming the file.
    void endlessImportIsBounded() {
        writeFile(accessFile(), "mdb");
        const QString pids = m_dir->filePath(QStringLiteral("pids"));
        const QString program =
            script("sleep 600 &\necho $$ $! > '" + pids.toUtf8() +
                   "'\nwhile :; do head -c 2000000 /dev/zero | tr '\\0' w >&2; sleep 0.01; done");
        const qint64 before = residentKiB();
        MessageRecorder messages;
        StartupImport import(m_data, m_program, program);
        import.setTimeLimit(1);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!import.run());
        QVERIFY2(clock.elapsed() < 15000, qUtf8Printable(QString::number(clock.elapsed())));
        const qint64 grown = residentKiB() - before;
#ifndef __SANITIZE_ADDRESS__  // which keeps freed memory in quarantine, resident all the same
        QVERIFY2(grown < 48 * 1024, qUtf8Printable(QStringLiteral("%1 KiB").arg(grown)));
#else
        Q_UNUSED(grown);
#endif
        QCOMPARE(messages.errors.size(), 1);
        const QString& text = messages.errors[0];
        QVERIFY2(text.contains(QDir::toNativeSeparators(accessFile())), qUtf8Printable(text));
        QVERIFY2(text.contains(QStringLiteral("1 秒以内に終わらない")),
                 qUtf8Printable(text.left(400)));
        QVERIFY(text.size() < 1000);
        for (const QByteArray& pid : contents(pids).trimmed().split(' ')) {
            QTRY_VERIFY_WITH_TIMEOUT(!running(pid.toLongLong()), 3000);
        }
        QCOMPARE(import.pendingSource(), QString());
    }

    // Windows without Microsoft's Access driver: the reader's one message reaches the user as
    // the import command reports it, and TAMU starts with the database it had.
    void missingAccessDriverKeepsTheDatabase() {
        writeFile(database(), "old database", 600);
        QVERIFY(QFile::copy(fixture(QStringLiteral("testUnicodeCompV2003.mdb")), accessFile()));
        QString reason;
        try {
            OdbcSource source(accessFile(), QStringLiteral("TAMU Missing Access Driver (*.mdb)"));
        } catch (const AccessReaderMissing& e) {
            reason = ItemDbImport::failureMessage(accessFile(), e.message());
        }
        QVERIFY(reason.contains(QStringLiteral("「TAMU Missing Access Driver (*.mdb)」")));
        const QString report = m_dir->filePath(QStringLiteral("report.txt"));
        writeFile(report, "tamu-import-mdb: " + reason.toUtf8() + '\n');
        MessageRecorder messages;
        // Not the file's fault: tried again at the next start.
        StartupImport import(m_data, m_program,
                             script("cat '" + report.toUtf8() + "' >&2\nexit 4"));
        QVERIFY(!import.run());
        QCOMPARE(import.pendingSource(), accessFile());
        QCOMPARE(messages.errors,
                 QStringList{reason +
                             QStringLiteral("\nこれまでのアイテムデータベースのまま起動します。")});
        QCOMPARE(contents(database()), QByteArray("old database"));
    }

    // Under the real controller: one message, and the choice lists of the database it had.
    void controllerStartsWithTheDatabaseItHad() {
        ControllerSandbox sandbox;
        const QString db = sandbox.dat() + QStringLiteral("TAMU_Item.db");
        QVERIFY(QFile::copy(
            QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/TAMU_Item.db"), db));
        QFile::setPermissions(db, QFile::ReadOwner | QFile::WriteOwner);
        const QByteArray before = contents(db);
        QFile old(db);
        QVERIFY(old.open(QIODevice::ReadWrite));
        QVERIFY(old.setFileTime(QDateTime::currentDateTime().addSecs(-600),
                                QFileDevice::FileModificationTime));
        old.close();
        writeFile(sandbox.dat() + QStringLiteral("TAMU_Item.mdb"), QByteArray(8192, '\x01'));
        MessageRecorder messages;
        auto controller = ControllerSandbox::start();
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].contains(QStringLiteral("TAMU_Item.mdb")));
        QVERIFY(!controller->jobList().isEmpty());
        QCOMPARE(contents(db), before);
    }
};

QTEST_MAIN(StartupImportTest)
#include "tst_startupimport.moc"
