// Bad files and folders under the real controller: the program starts, stays usable, says what
// is wrong in Japanese, closes, and never leaves a file half written.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <csignal>
#include <memory>
#include <stdexcept>

#include "app/SessionEnd.h"
#include "app/TZEMForm02.h"
#include "common/DataFolder.h"
#include "common/IniProfile.h"
#include "common/ScreenAreas.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "gametime/TZEMTimeConfig.h"
#include "support/ControllerSandbox.h"
#include "support/Encoded.h"
#include "support/FileFaults.h"
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

// Settings in forms that every write changes (hexadecimal, hours without a leading zero), so a
// file that was written only in part shows it.
const QByteArray OldSettings("[Controler]\nTop=0x64\nLeft=0xC8\n");
const QByteArray OldAnchor("[TAMUTime]\nSetTime=1:02:03\nNowDate=2026/1/5\nNowTime=7:00:00\n");

// The file is as it was, or holds only new values: never a mix.
bool wholeFile(const QString& path, const QByteArray& old, const QStringList& oldValues) {
    const QByteArray now = readFile(path);
    if (now == old) {
        return true;
    }
    for (const QString& value : oldValues) {
        if (now.contains(value.toUtf8())) {
            return false;
        }
    }
    return !now.isEmpty();
}

// A new anchor in memory, as the ship window's セット leaves it.
void setNewAnchor(TZEMForm02& controller) {
    TZEMTimeConfig& config = *controller.timeConfig();
    config.AssignSetTime(DateTime::encodeTime(12, 34, 56));
    config.AssignNowDate(DateTime::encodeDate(2026, 12, 6));
    config.AssignNowTime(DateTime::encodeTime(19, 0, 5, 250));
}

const QByteArray NewAnchor("[TAMUTime]\nSetTime=12:34:56\nNowDate=2026/12/06\nNowTime=19:00:05\n");

}  // namespace

class FaultTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ControllerSandbox> m_sandbox;
    QString m_dat;

    QString sampleDatabase() const {
        return QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/") + SampleDatabase;
    }
    void writeOldFiles() {
        writeFile(m_dat + QStringLiteral("TAMU.ini"), OldSettings);
        writeFile(m_dat + QStringLiteral("TAMUTime.log"), OldAnchor);
    }
    void copySample() { QVERIFY(QFile::copy(sampleDatabase(), m_dat + SampleDatabase)); }
    static std::unique_ptr<TZEMForm02> start() {
        auto controller = ControllerSandbox::start();
        controller->show();
        return controller;
    }
#ifndef Q_OS_WIN
    // The old files, the controller with a new anchor set, and the end signals wired as the
    // program wires them.
    std::unique_ptr<TZEMForm02> startForSignals(SessionEnd& sessionEnd) {
        copySample();
        writeOldFiles();
        auto controller = start();
        setNewAnchor(*controller);
        connect(&sessionEnd, &SessionEnd::requested, controller.get(),
                &TZEMForm02::closeForSession);
        return controller;
    }
#endif

private Q_SLOTS:
    void init() {
        m_sandbox = std::make_unique<ControllerSandbox>();
        m_dat = m_sandbox->dat();
    }
    void cleanup() {
        m_sandbox.reset();
    }

    void garbageSettingsFiles_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("binary noise") << noise(4096);
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

    // Files too large to be settings are not read: each is named once, the defaults are used, and
    // the close leaves them as they are.
    void oversizedSettingsFilesAreLeftAlone() {
        const QByteArray huge(3 << 20, 'x');
        writeFile(m_dat + QStringLiteral("TAMU.ini"), huge);
        writeFile(m_dat + QStringLiteral("TAMUTime.log"), huge);
        copySample();
        MessageRecorder messages;
        {
            auto controller = start();
            QCoreApplication::processEvents();
            QCOMPARE(controller->timeConfig()->SetTime, 0.0);
            QVERIFY(controller->close());
        }
        for (const char* name : {"TAMU.ini", "TAMUTime.log"}) {
            const QString file = m_dat + QString::fromLatin1(name);
            QCOMPARE(messages.errors.count(
                         file + QStringLiteral(
                                    " を読めません（512 KB を超える設定ファイルは読みません）")),
                     1);
            QCOMPARE(readFile(file), huge);
        }
    }

    void unparsableClockValueIsReportedAndDefaulted() {
        writeFile(m_dat + QStringLiteral("TAMUTime.log"),
                  "[TAMUTime]\nSetTime=25:61:00\nNowDate=2026/12/06\nNowTime=19:00:05\n");
        copySample();
        MessageRecorder messages;
        auto controller = start();
        QCOMPARE(messages.errors.size(), 1);
        QCOMPARE(messages.errors.front().split(u'\n'),
                 QStringList({QStringLiteral("'25:61:00' は時刻ではありません"),
                              QDir::toNativeSeparators(m_dat + QStringLiteral("TAMUTime.log")),
                              QStringLiteral("SetTime を 00:00:00 として時計を始めます")}));
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
        QTRY_VERIFY_WITH_TIMEOUT(messages.errors.size() + messages.plain.size() >= 1, 20000);
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
        auto* tree = search->findChild<QAbstractItemView*>(QStringLiteral("CreateTree"));
        QVERIFY(tree);
        QTRY_COMPARE(tree->model()->rowCount(), 1);
        QVERIFY(messages.errors.isEmpty());
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

    void diskFullAtCloseKeepsBothFilesAndSaysSo() {
        copySample();
        writeOldFiles();
        MessageRecorder messages;
        auto controller = start();
        setNewAnchor(*controller);
        controller->move(300, 400);
        {
            const FileFaults::SizeLimit full(0);
            if (!full.ok()) {
                QSKIP("no file size limit on this system");
            }
            QVERIFY(controller->close());
        }
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMU.ini に書き込めません")));
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMUTime.log に書き込めません")));
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMU.ini")), OldSettings);
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMUTime.log")), OldAnchor);
    }

    // The program dies at the n-th replacement of a file during its close: every file is whole.
    void killDuringCloseLeavesWholeFiles_data() {
        QTest::addColumn<int>("dies");
        for (int n = 1; n <= 3; ++n) {
            QTest::addRow("at replacement %d", n) << n;
        }
    }
    void killDuringCloseLeavesWholeFiles() {
        QFETCH(int, dies);
        copySample();
        writeOldFiles();
        MessageRecorder messages;
        int replacements = 0;
        IniProfile::setReplaceHook([&](const QString&) {
            if (++replacements >= dies) {
                throw std::runtime_error("killed");
            }
        });
        {
            auto controller = start();
            setNewAnchor(*controller);
            controller->move(300, 400);
            controller->close();
        }
        IniProfile::setReplaceHook({});
        QVERIFY(wholeFile(m_dat + QStringLiteral("TAMU.ini"), OldSettings,
                          {QStringLiteral("0x64"), QStringLiteral("0xC8")}));
        QVERIFY(wholeFile(
            m_dat + QStringLiteral("TAMUTime.log"), OldAnchor,
            {QStringLiteral("1:02:03"), QStringLiteral("2026/1/5"), QStringLiteral("=7:00:00")}));
    }

    void unreadableSettingsFileIsReportedAndKept() {
        copySample();
        QFile::setPermissions(m_sandbox->root(), FileFaults::OpenFolder);
        QFile::setPermissions(m_dat, FileFaults::OpenFolder);
        const QString ini = m_dat + QStringLiteral("TAMU.ini");
        const QByteArray settings("[Controler]\nTop=100\nLeft=200\n[Mine]\nKeep=1\n");
        writeFile(ini, settings);
        QFile::setPermissions(ini, FileFaults::WriteOnly);
        MessageRecorder messages;
        {
            const FileFaults::Unprivileged user;
            if (!user.ok()) {
                QSKIP("cannot take an unprivileged user here");
            }
            auto controller = start();
            QCOMPARE(messages.errors, QStringList{ini + QStringLiteral(" を読めません")});
            QVERIFY(controller->gameClock());
            messages.clear();
            QVERIFY(controller->close());
            QCOMPARE(messages.errors.size(), 1);
            QVERIFY(messages.errors.first().contains(QStringLiteral("TAMU.ini に書き込めません")));
        }
        QCOMPARE(readFile(ini), settings);
        QVERIFY(readFile(m_dat + QStringLiteral("TAMUTime.log")).contains("SetTime=00:00:00"));
    }

    // Files written on Japanese Windows: read, and after a run that changed nothing, unchanged to
    // the byte.
    void foreignEncodingsSurviveARun_data() {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QByteArray>("bom");
        QTest::newRow("UTF-16 LE") << QByteArray("UTF-16LE") << QByteArray("\xFF\xFE");
        QTest::newRow("UTF-16 BE") << QByteArray("UTF-16BE") << QByteArray("\xFE\xFF");
        QTest::newRow("Shift-JIS") << QByteArray("windows-31j") << QByteArray();
        QTest::newRow("UTF-8 with BOM") << QByteArray("UTF-8") << QByteArray("\xEF\xBB\xBF");
    }
    void foreignEncodingsSurviveARun() {
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, bom);
        copySample();
        auto inEncoding = [&](const QString& text) {
            return encoded(encoding.constData(), text, bom);
        };
        const QByteArray settings = inEncoding(
            QStringLiteral("; コントローラーの位置\r\n[Controler]\r\nTop=100\r\nLeft=200\r\n"));
        const QByteArray anchor =
            inEncoding(QStringLiteral("[TAMUTime]\r\nSetTime=12:34:56\r\nNowDate=2026/12/06\r\n"
                                      "NowTime=19:00:05\r\n[メモ]\r\n船=尾張\r\n"));
        writeFile(m_dat + QStringLiteral("TAMU.ini"), settings);
        writeFile(m_dat + QStringLiteral("TAMUTime.log"), anchor);
        MessageRecorder messages;
        {
            auto controller = start();
            QCOMPARE(controller->frameGeometry().topLeft(), QPoint(200, 100));
            QCOMPARE(DateTime::formatLongTime(controller->timeConfig()->SetTime),
                     QStringLiteral("12:34:56"));
            QVERIFY(controller->close());
        }
        QVERIFY(messages.errors.isEmpty());
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMU.ini")), settings);
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMUTime.log")), anchor);
    }

    // Logout, shutdown, Ctrl+C: the close runs as from the end button, without message boxes.
    void signalClosesAndSaves_data() {
        QTest::addColumn<int>("signal");
        QTest::addColumn<int>("second");  // right after the first, as logouts send them
        QTest::addColumn<bool>("diskFull");
#ifndef Q_OS_WIN  // Windows' console events are not signals
        QTest::newRow("SIGTERM") << SIGTERM << 0 << false;
        QTest::newRow("SIGHUP") << SIGHUP << 0 << false;
        QTest::newRow("SIGINT") << SIGINT << 0 << false;
        QTest::newRow("SIGTERM, disk full") << SIGTERM << 0 << true;
        QTest::newRow("SIGTERM, then SIGHUP") << SIGTERM << SIGHUP << false;
        QTest::newRow("SIGTERM twice") << SIGTERM << SIGTERM << false;
        QTest::newRow("a double Ctrl+C") << SIGINT << SIGINT << false;
#else
        QTest::newRow("no signals") << 0 << 0 << false;
#endif
    }
    void signalClosesAndSaves() {
#ifdef Q_OS_WIN
        QSKIP("Windows ends a program with console events, not signals");
#else
        QFETCH(int, signal);
        QFETCH(int, second);
        QFETCH(bool, diskFull);
        MessageRecorder messages;
        SessionEnd sessionEnd;
        auto controller = startForSignals(sessionEnd);
        QSignalSpy ended(controller.get(), &TZEMForm02::ended);
        {
            std::unique_ptr<FileFaults::SizeLimit> full;
            if (diskFull) {
                full = std::make_unique<FileFaults::SizeLimit>(0);
            }
            std::raise(signal);
            if (second != 0) {
                std::raise(second);
            }
            QTRY_COMPARE(ended.count(), 1);
        }
        QVERIFY(messages.errors.isEmpty());
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMUTime.log")),
                 diskFull ? OldAnchor : NewAnchor);
#endif
    }

    // An end signal while a handler waits in a modal dialog's loop: the dialog ends, the handler
    // returns with its window intact, and only then the program closes and saves.
    void signalDuringAModalDialog_data() {
        QTest::addColumn<bool>("fileDialog");
#ifndef Q_OS_WIN
        QTest::newRow("CSV で保存's file dialog") << true;
        QTest::newRow("a message box") << false;
#else
        QTest::newRow("no signals") << false;
#endif
    }
    void signalDuringAModalDialog() {
#ifdef Q_OS_WIN
        QSKIP("Windows ends a program with console events, not signals");
#else
        QFETCH(bool, fileDialog);
        MessageRecorder messages;
        SessionEnd sessionEnd;
        auto controller = startForSignals(sessionEnd);
        QSignalSpy ended(controller.get(), &TZEMForm02::ended);
        auto* tool = new QWidget(nullptr, Qt::Tool);  // a tool window, closed with the program
        tool->setWindowTitle(QStringLiteral("レベル別一覧"));
        tool->show();
        QPointer<QWidget> alive(tool);
        bool returnedToItsWindow = false;
        QTimer::singleShot(0, tool, [&] {
            QTimer::singleShot(200, [] { std::raise(SIGTERM); });
            if (fileDialog) {
                QFileDialog::getSaveFileName(tool, QStringLiteral("CSV で保存"), QString(),
                                             QString(), nullptr, QFileDialog::DontUseNativeDialog);
            } else {
                QMessageBox box(QMessageBox::Warning, QStringLiteral("TAMU"),
                                QStringLiteral("読めない産物が 1 件あり、一覧から外しました。"),
                                QMessageBox::Ok, tool);
                box.exec();
            }
            returnedToItsWindow = !alive.isNull() && alive->isVisible();
        });
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 1, 10000);
        QVERIFY(returnedToItsWindow);
        QVERIFY(alive.isNull());  // then closed with the program
        QCOMPARE(readFile(m_dat + QStringLiteral("TAMUTime.log")), NewAnchor);
#endif
    }

    // Nothing can be written and the close says so in a box; a logout then must not wait for
    // anyone to press OK.
    void signalWhileTheClosingBoxIsUp() {
#ifdef Q_OS_WIN
        QSKIP("Windows ends a program with console events, not signals");
#else
        DataFolder::setOverride(m_sandbox->root() + QStringLiteral("/gone/DAT/"));
        MessageRecorder messages;
        auto controller = start();
        SessionEnd sessionEnd;
        connect(&sessionEnd, &SessionEnd::requested, controller.get(),
                &TZEMForm02::closeForSession);
        QSignalSpy ended(controller.get(), &TZEMForm02::ended);
        QStringList boxes;
        const Messages::Presenters previous = Messages::setPresenters(
            {[&boxes](const QString& text) {
                 boxes << text;
                 QMessageBox box(QMessageBox::Warning, QStringLiteral("TAMU"), text,
                                 QMessageBox::Ok);
                 box.exec();
             },
             [](const QString&) {}, [](const QString&, const QString&) { return true; }});
        QTimer::singleShot(300, [] { std::raise(SIGTERM); });
        controller->close();  // the end button
        Messages::setPresenters(previous);
        QCOMPARE(boxes.size(), 1);
        QVERIFY(boxes.front().contains(QStringLiteral("に書き込めません")));
        QTRY_COMPARE(ended.count(), 1);
#endif
    }

    void endlessItemDatabaseViewEndsInAMessage() {
        ItemDbFixture::Tables t;
        t.omit << QStringLiteral("ItemCreator");
        t.statements << QStringLiteral(
            "CREATE VIEW ItemCreator AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
            "FROM n) SELECT i AS 生産職業, i AS アイテム名 FROM n");
        ItemDbFixture::write(m_dat + SampleDatabase, t);
        MessageRecorder messages;
        QElapsedTimer timer;
        timer.start();
        auto controller = start();
        QVERIFY(timer.elapsed() < 3000);
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(
            messages.errors.first().contains(QStringLiteral("アイテムデータベースを読めません")));
        QVERIFY(controller->gameClock());
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
