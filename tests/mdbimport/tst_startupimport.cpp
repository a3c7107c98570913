// The import at start-up: when it runs, what the user sees while it runs and when it fails, and
// that a failure leaves the program with the database it had.
#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/OdbcSource.h"
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

    void pendingSource_data() {
        QTest::addColumn<QString>("accessIn");  // "data", "program" or "none"
        QTest::addColumn<int>("databaseAge");   // seconds, relative to the Access file; -1: none
        QTest::addColumn<bool>("pending");
        QTest::newRow("no database yet") << "data" << -1 << true;
        QTest::newRow("database older") << "data" << 60 << true;
        QTest::newRow("database newer") << "data" << -60 << false;
        QTest::newRow("beside the program, database older") << "program" << 60 << true;
        QTest::newRow("beside the program, database newer") << "program" << -60 << false;
        QTest::newRow("no Access file") << "none" << 60 << false;
    }
    void pendingSource() {
        QFETCH(QString, accessIn);
        QFETCH(int, databaseAge);
        QFETCH(bool, pending);
        const QString source = accessIn == QStringLiteral("data") ? accessFile()
                               : accessIn == QStringLiteral("program")
                                   ? m_program + QStringLiteral("DAT/TAMU_Item.mdb")
                                   : QString();
        if (!source.isEmpty()) {
            writeFile(source, "mdb", 120);
        }
        if (databaseAge >= -60 && databaseAge != -1) {
            writeFile(database(), "db", 120 + databaseAge);
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
        QVERIFY(!StartupImport(m_data, m_program, program).run());
        QVERIFY(clock.elapsed() < 30000);
        QVERIFY(!shownEarly);
        QVERIFY(shownLater);
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors[0].contains(QStringLiteral("取り込みを中止しました")));
        QVERIFY(!QFile::exists(ItemDbImport::temporaryPath(database())));
        QVERIFY(!QFile::exists(database()));
    }

    void quickImportReplacesTheDatabase() {
        writeFile(database(), "old", 600);
        writeFile(accessFile(), "mdb", 60);
        const QString program = script("printf new > \"$2\"");
        MessageRecorder messages;
        QVERIFY(StartupImport(m_data, m_program, program).run());
        QVERIFY(messages.errors.isEmpty());
        QCOMPARE(contents(database()), QByteArray("new"));
    }

    void brokenImportIsReported_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("reason");
        QTest::newRow("crash") << QByteArray("kill -SEGV $$") << QStringLiteral("異常終了しました");
        QTest::newRow("failure with library notes")
            << QByteArray(
                   "echo 'mdb_read_table: Unable to read page 53' >&2\n"
                   "echo 'tamu-import-mdb: 取り込めません。\n表 ItemInfo に列 店売り がありません' "
                   ">&2\n"
                   "exit 1")
            << QStringLiteral("取り込めません。\n表 ItemInfo に列 店売り がありません");
        QTest::newRow("no program") << QByteArray() << QStringLiteral("取り込みプログラム");
    }
    void brokenImportIsReported() {
        QFETCH(QByteArray, body);
        QFETCH(QString, reason);
        writeFile(accessFile(), "mdb");
        const QString program = body.isEmpty() ? m_program + QStringLiteral("none") : script(body);
        MessageRecorder messages;
        QVERIFY(!StartupImport(m_data, m_program, program).run());
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY2(messages.errors[0].contains(reason), qUtf8Printable(messages.errors[0]));
        QVERIFY(!messages.errors[0].contains(QStringLiteral("mdb_read_table")));
    }

    // Windows without Microsoft's Access driver: the reader's one message reaches the user as
    // the import command reports it, and TAMU starts with the database it had.
    void missingAccessDriverKeepsTheDatabase() {
        writeFile(database(), "old database", 600);
        QVERIFY(QFile::copy(fixture(QStringLiteral("testUnicodeCompV2003.mdb")), accessFile()));
        QString reason;
        try {
            OdbcSource source(accessFile(), QStringLiteral("TAMU Missing Access Driver (*.mdb)"));
        } catch (const TZEMError& e) {
            reason = ItemDbImport::failureMessage(accessFile(), e.message());
        }
        QVERIFY(reason.contains(QStringLiteral("「TAMU Missing Access Driver (*.mdb)」")));
        const QString report = m_dir->filePath(QStringLiteral("report.txt"));
        writeFile(report, "tamu-import-mdb: " + reason.toUtf8() + '\n');
        MessageRecorder messages;
        QVERIFY(
            !StartupImport(m_data, m_program, script("cat '" + report.toUtf8() + "' >&2\nexit 1"))
                 .run());
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
