#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "gametime/ClockOptions.h"
#include "support/MessageRecorder.h"

namespace {

QByteArray contents(const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

void write(const QString& file, const QByteArray& text) {
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

}  // namespace

class ClockOptionsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // 1 is on; anything else, garbage included, is the default (off), without a message.
    void reads_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("on");
        QTest::newRow("no file") << QByteArray() << false;
        QTest::newRow("on") << QByteArray("[Clock]\nStayOnTop=1\n") << true;
        QTest::newRow("off") << QByteArray("[Clock]\nStayOnTop=0\n") << false;
        QTest::newRow("hexadecimal") << QByteArray("[Clock]\nStayOnTop=0x1\n") << true;
        QTest::newRow("any case") << QByteArray("[CLOCK]\r\nstayontop=1\r\n") << true;
        QTest::newRow("two") << QByteArray("[Clock]\nStayOnTop=2\n") << false;
        QTest::newRow("word") << QByteArray("[Clock]\nStayOnTop=yes\n") << false;
        QTest::newRow("empty") << QByteArray("[Clock]\nStayOnTop=\n") << false;
        QTest::newRow("binary") << QByteArray("\xff\xfe[Clock]\0\nStayOnTop=\x01", 22) << false;
        QTest::newRow("other section") << QByteArray("[Controler]\nStayOnTop=1\n") << false;
    }
    void reads() {
        QFETCH(QByteArray, content);
        QFETCH(bool, on);
        MessageRecorder messages;
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        if (!content.isEmpty()) {
            write(folder + QStringLiteral("TAMUClock.ini"), content);
        }
        {
            const ClockOptions options(folder);
            QCOMPARE(options.fileName(), folder + QStringLiteral("TAMUClock.ini"));
            QCOMPARE(options.stayOnTop(), on);
        }
        QVERIFY(messages.errors.isEmpty());
        // Nothing changed: the file is left exactly as it was (or not made).
        QCOMPARE(contents(folder + QStringLiteral("TAMUClock.ini")),
                 content.isEmpty() ? QByteArray("(none)") : content);
    }

    void writtenWhenChangedKeepingTheRest() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString file = folder + QStringLiteral("TAMUClock.ini");
        write(file, "[Mine]\nKeep=1\n");
        {
            ClockOptions options(folder);
            options.setStayOnTop(true);
        }
        QCOMPARE(contents(file), QByteArray("[Mine]\nKeep=1\n[Clock]\nStayOnTop=1\n"));
        {
            ClockOptions options(folder);
            QVERIFY(options.stayOnTop());
            options.setStayOnTop(false);
        }
        QCOMPARE(contents(file), QByteArray("[Mine]\nKeep=1\n[Clock]\nStayOnTop=0\n"));
    }

    void unwritableFileSaysSo() {
        MessageRecorder messages;
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/missing/");
        {
            ClockOptions options(folder);
            options.setStayOnTop(true);
        }
        QCOMPARE(messages.errors,
                 QStringList{folder + QStringLiteral("TAMUClock.ini に書き込めません")});
    }
};

QTEST_GUILESS_MAIN(ClockOptionsTest)
#include "tst_clockoptions.moc"
