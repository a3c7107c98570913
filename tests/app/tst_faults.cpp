// Bad files and folders under the real controller: the program starts, stays usable, says what
// is wrong in Japanese, closes, and never leaves a file half written.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/TZEMForm02.h"
#include "common/DataFolder.h"
#include "common/IniProfile.h"
#include "common/ScreenAreas.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "gametime/TZEMTimeConfig.h"
#include "support/ControllerSandbox.h"
#include "support/ImmutableFolder.h"
#include "support/ItemDbFixture.h"
#include "support/MessageRecorder.h"

namespace {

QByteArray noise(int size) {
    QByteArray bytes(size, '\0');
    QRandomGenerator generator(20261208);
    for (char& c : bytes) {
        c = static_cast<char>(generator.bounded(256));
    }
    return bytes;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString SampleDatabase = QStringLiteral("TAMU_Item.db");

}  // namespace

class FaultTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ControllerSandbox> m_sandbox;
    QString m_dat;

    QString sampleDatabase() const {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/") + SampleDatabase;
    }
    void copySample() { QVERIFY(QFile::copy(sampleDatabase(), m_dat + SampleDatabase)); }
    static std::unique_ptr<TZEMForm02> start() {
        auto controller = ControllerSandbox::start();
        controller->show();
        return controller;
    }

private Q_SLOTS:
    void init() {
        m_sandbox = std::make_unique<ControllerSandbox>();
        m_dat = m_sandbox->dat();
    }
    void cleanup() { m_sandbox.reset(); }

    void garbageSettingsFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary noise") << noise(4096);
        QTest::newRow("one huge line") << QByteArray(3 << 20, 'x');
        QTest::newRow("keys without section") << QByteArray("Top=5\nSetTime=12:00:00\n");
        QTest::newRow("sections with garbage values")
            << QByteArray("[Controler]\nTop=\xff\xfe\nLeft=--1\n[TAMUTime]\nSetTime=\x01\n");
        QTest::newRow("zero bytes") << QByteArray();
    }
    void garbageSettingsFiles() {
        QFETCH(QByteArray, content);
        writeFile(m_dat + QStringLiteral("TAMU.ini"), content);
        writeFile(m_dat + QStringLiteral("TAMUTime.log"), content);
        copySample();
        MessageRecorder messages;
        int top = 0;
        {
            auto controller = start();
            QCoreApplication::processEvents();  // placed again once its frame is known
            top = controller->frameGeometry().top();
            // Every value that is not ours reads as its default: the default corner, the default
            // anchor (a garbage time is reported once, by its text).
            QCOMPARE(controller->frameGeometry().bottomRight() + QPoint(1, 1),
                     QPoint(1280 - 10, 994 - 10));
            QVERIFY(controller->gameClock());
            QCOMPARE(controller->timeConfig()->SetTime, 0.0);
            QVERIFY(!controller->jobList().isEmpty());
            for (const QString& m : std::as_const(messages.errors)) {
                QVERIFY2(m.contains(QStringLiteral("は時刻ではありません")), qPrintable(m));
            }
            QVERIFY(controller->close());
        }
        const IniProfile time(m_dat + QStringLiteral("TAMUTime.log"));
        QCOMPARE(time.readString(QStringLiteral("TAMUTime"), QStringLiteral("SetTime"), {}),
                 QStringLiteral("00:00:00"));
        QCOMPARE(time.readString(QStringLiteral("TAMUTime"), QStringLiteral("NowDate"), {}),
                 QStringLiteral("1999/07/07"));
        const IniProfile settings(m_dat + QStringLiteral("TAMU.ini"));
        QCOMPARE(settings.readInteger(QStringLiteral("Controler"), QStringLiteral("Top"), -1), top);
    }

    void unparsableClockValueIsReportedAndDefaulted() {
        writeFile(m_dat + QStringLiteral("TAMUTime.log"),
                  "[TAMUTime]\nSetTime=25:61:00\nNowDate=2026/12/06\nNowTime=19:00:05\n");
        copySample();
        MessageRecorder messages;
        auto controller = start();
        QCOMPARE(messages.errors, QStringList{QStringLiteral("'25:61:00' は時刻ではありません")});
        QCOMPARE(controller->timeConfig()->SetTime, 0.0);
        QVERIFY(controller->gameClock());
    }

    void brokenItemDatabase_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("expected");
        QTest::newRow("zero bytes") << 0 << QStringLiteral("アイテムデータベースを読めません");
        QTest::newRow("truncated") << 1 << QStringLiteral("アイテムデータベースを読めません");
        QTest::newRow("text file") << 2 << QStringLiteral("アイテムデータベースを読めません");
        QTest::newRow("a table missing") << 3 << QStringLiteral("アイテムデータベースを読めません");
        QTest::newRow("NULL in every column") << 4 << QStringLiteral("(Null)");
        QTest::newRow("a folder of that name") << 5 << QStringLiteral("が存在しません");
    }
    void brokenItemDatabase() {
        QFETCH(int, kind);
        QFETCH(QString, expected);
        const QString db = m_dat + SampleDatabase;
        switch (kind) {
            case 0:
                writeFile(db, QByteArray());
                break;
            case 1:
                writeFile(db, readFile(sampleDatabase()).left(8192));
                break;
            case 2:
                writeFile(db, "Provider=Microsoft.Jet.OLEDB.4.0;\nnot a database\n");
                break;
            case 3: {
                ItemDbFixture::Tables t;
                t.creators << QVariantList{"刀", "鍛冶屋", "武具目録", "BUGU",
                                           "壱", "A",      1,          "壱の章"};
                t.infos << QVariantList{"刀", "かたな", "壱の章", "刀剣", 10, 20};
                t.omit << QStringLiteral("ItemKind");
                ItemDbFixture::write(db, t);
                break;
            }
            case 4: {
                ItemDbFixture::Tables t;
                const QVariant null;
                t.creators << QVariantList{null, null, null, null, null, null, null, null};
                t.infos << QVariantList{null, null, null, null, null, null};
                t.kinds << QVariantList{null, null};
                t.relations << QVariantList{null, null, null};
                ItemDbFixture::write(db, t);
                break;
            }
            default:
                QDir().mkpath(db);
        }
        MessageRecorder messages;
        auto controller = start();
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY2(messages.errors.first().contains(expected), qPrintable(messages.errors.first()));
        QVERIFY(controller->gameClock());

        // The recipe search still opens, and a search says what is wrong instead of failing.
        messages.clear();
        auto* act = controller->findChild<QAction*>(QStringLiteral("SaS08Create"));
        act->trigger();
        QWidget* search = ControllerSandbox::window(QStringLiteral("生産レシピ検索"));
        QVERIFY(search);
        search->findChild<QLineEdit*>(QStringLiteral("iptItemName"))
            ->setText(QStringLiteral("\"%_' OR 1=1 --") + QString(5000, u'刀'));
        search->findChild<QPushButton*>(QStringLiteral("btnSearchName"))->click();
        QVERIFY(messages.errors.size() + messages.plain.size() >= 1);
        QVERIFY(controller->close());
    }

    void searchTextWithQuotesAndPercentFindsOnlyItsItem() {
        ItemDbFixture::Tables t;
        t.creators << QVariantList{"50%の\"刀\"", "鍛冶屋", "武具目録", "BUGU",
                                   "壱",          "A",      1,          "壱の章"}
                   << QVariantList{"5000の刀", "鍛冶屋", "武具目録", "BUGU",
                                   "壱",       "A",      1,          "壱の章"};
        t.infos << QVariantList{"50%の\"刀\"", "かたな", "壱の章", "刀剣", 10, 20}
                << QVariantList{"5000の刀", "かたな", "壱の章", "刀剣", 10, 20}
                << QVariantList{"鉄", "てつ", "壱の章", "素材", 1, 2};
        t.kinds << QVariantList{"刀剣", "武器"} << QVariantList{"素材", "その他"};
        t.relations << QVariantList{"50%の\"刀\"", "鉄", 2} << QVariantList{"5000の刀", "鉄", 3};
        ItemDbFixture::write(m_dat + SampleDatabase, t);
        MessageRecorder messages;
        auto controller = start();
        controller->findChild<QAction*>(QStringLiteral("SaS08Create"))->trigger();
        QWidget* search = ControllerSandbox::window(QStringLiteral("生産レシピ検索"));
        QVERIFY(search);
        search->findChild<QLineEdit*>(QStringLiteral("iptItemName"))
            ->setText(QStringLiteral("%の\"刀\""));
        search->findChild<QPushButton*>(QStringLiteral("btnSearchName"))->click();
        QVERIFY(messages.errors.isEmpty());
        auto* tree = search->findChild<QAbstractItemView*>(QStringLiteral("CreateTree"));
        QVERIFY(tree);
        QCOMPARE(tree->model()->rowCount(), 1);
        QCOMPARE(tree->model()->index(0, 0).data().toString(), QStringLiteral("50%の\"刀\""));
    }

    void readOnlyDataFolderClosesWithOneMessageAndKeepsTheFiles() {
        copySample();
        const QByteArray settings("[Controler]\nTop=100\nLeft=200\n");
        const QByteArray anchor(
            "[TAMUTime]\nSetTime=12:34:56\nNowDate=2026/12/06\nNowTime=19:00:05\n");
        writeFile(m_dat + QStringLiteral("TAMU.ini"), settings);
        writeFile(m_dat + QStringLiteral("TAMUTime.log"), anchor);
        ImmutableFolder readOnly(m_dat);
        if (!readOnly.ok()) {
            QSKIP("chattr cannot make the folder read-only here");
        }
        MessageRecorder messages;
        auto controller = start();
        QVERIFY(messages.errors.isEmpty());
        controller->move(300, 400);
        QSignalSpy ended(controller.get(), &TZEMForm02::ended);
        QVERIFY(controller->close());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMU.ini に書き込めません")));
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMUTime.log に書き込めません")));
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMU.ini")), settings);
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMUTime.log")), anchor);
    }

    void missingDataFolderStartsWithDefaults() {
        DataFolder::setOverride(m_sandbox->root() + QStringLiteral("/gone/DAT/"));
        MessageRecorder messages;
        auto controller = start();
        QCOMPARE(messages.errors.size(), 1);  // the item database
        QVERIFY(messages.errors.first().contains(QStringLiteral("が存在しません")));
        QVERIFY(controller->gameClock());
        controller->findChild<QAction*>(QStringLiteral("SaS06Ship"))->trigger();
        QVERIFY(ControllerSandbox::window(QStringLiteral("船発着時刻表")));
    }
};

QTEST_MAIN(FaultTest)
#include "tst_faults.moc"
