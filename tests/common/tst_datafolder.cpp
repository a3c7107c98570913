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
