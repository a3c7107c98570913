#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "common/DataFolder.h"

class DataFolderTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void choose_data() {
        QTest::addColumn<bool>("datExists");
        QTest::addColumn<bool>("creatable");
        QTest::addColumn<QString>("userFolder");
        QTest::addColumn<QString>("expected");
        const QString user = QStringLiteral("/home/u/.local/share/TAMU");
        const QString portable = QStringLiteral("/opt/tamu/bin/DAT/");
        QTest::newRow("portable, new") << false << true << user << portable;
        // A DAT/ of its own is the user's data, also where it cannot be written.
        QTest::newRow("own DAT, read-only") << true << false << user << portable;
        QTest::newRow("installed") << false << false << user << user + QStringLiteral("/DAT/");
        QTest::newRow("no user folder known") << false << false << QString() << portable;
    }
    void choose() {
        QFETCH(bool, datExists);
        QFETCH(bool, creatable);
        QFETCH(QString, userFolder);
        QFETCH(QString, expected);
        const QString folder = DataFolder::choose(
            QStringLiteral("/opt/tamu/bin"), userFolder,
            [&](const QString& f) {
                return datExists && f == QStringLiteral("/opt/tamu/bin/DAT/");
            },
            [&](const QString& f) {
                return creatable && f == QStringLiteral("/opt/tamu/bin/DAT/");
            });
        QCOMPARE(folder, expected);
    }

    // The folder chosen, made and seeded on disk, for a program folder the test can write.
    void prepare_data() {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("ownDat");
        QTest::addColumn<bool>("beside");
        QTest::newRow("portable") << false << false << true;
        QTest::newRow("installed, own DAT") << true << true << true;
#ifdef Q_OS_WIN
        // The installer's folder under the user's profile is the player's to write.
        QTest::newRow("installed, writable folder") << true << false << true;
#else
        // As root, or with --prefix ~/.local: the data still goes to the user's folder.
        QTest::newRow("installed, writable folder") << true << false << false;
#endif
    }
    void prepare() {
        QFETCH(bool, installed);
        QFETCH(bool, ownDat);
        QFETCH(bool, beside);
        QTemporaryDir dir;
        const QString program = dir.filePath(QStringLiteral("prefix/bin"));
        const QString user = dir.filePath(QStringLiteral("home/.local/share/TAMU"));
        QVERIFY(QDir().mkpath(program));
        if (ownDat) {
            QVERIFY(QDir().mkpath(program + QStringLiteral("/DAT")));
        }
        if (installed) {
#ifdef Q_OS_WIN
            const QString share = program + QStringLiteral("/share/tamu");
#else
            const QString share = dir.filePath(QStringLiteral("prefix/share/tamu"));
#endif
            QVERIFY(QDir().mkpath(share));
            QFile f(share + QStringLiteral("/TAMU_Item.db"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("installed");
        }
        const QString besideDat = program + QStringLiteral("/DAT/");
        const QString userDat = user + QStringLiteral("/DAT/");
        const QString folder = DataFolder::prepare(program, user);
        QCOMPARE(folder, beside ? besideDat : userDat);
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(!QFileInfo::exists(beside ? userDat : besideDat));
        QCOMPARE(QFileInfo::exists(folder + QStringLiteral("TAMU_Item.db")), installed);
    }

    void seedCopiesOnceAndNeverReplaces() {
        QTemporaryDir dir;
        const QString installed = dir.filePath(QStringLiteral("share/TAMU_Item.db"));
        QDir().mkpath(dir.filePath(QStringLiteral("share")));
        QDir().mkpath(dir.filePath(QStringLiteral("user/DAT")));
        {
            QFile f(installed);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("installed");
        }
        const QString userDat = dir.filePath(QStringLiteral("user/DAT"));
        QVERIFY(DataFolder::seedItemDatabase(userDat, installed));
        QFile copy(userDat + QStringLiteral("/TAMU_Item.db"));
        QVERIFY(copy.open(QIODevice::ReadWrite));
        QCOMPARE(copy.readAll(), QByteArray("installed"));
        copy.write(" and changed by the user");
        copy.close();
        QVERIFY(!DataFolder::seedItemDatabase(userDat, installed));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), QByteArray("installed and changed by the user"));
        QVERIFY(!QFile::exists(userDat + QStringLiteral("/TAMU_Item.db.part")));
    }

    void seedWithoutInstalledCopyDoesNothing() {
        QTemporaryDir dir;
        QVERIFY(!DataFolder::seedItemDatabase(dir.path(), dir.filePath(QStringLiteral("none.db"))));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("TAMU_Item.db"))));
    }

    void overrideWins() {
        DataFolder::setOverride(QStringLiteral("/tmp/x"));
        QCOMPARE(DataFolder::path(), QStringLiteral("/tmp/x/"));
        DataFolder::setOverride(QString());
    }
};

QTEST_GUILESS_MAIN(DataFolderTest)
#include "tst_datafolder.moc"
