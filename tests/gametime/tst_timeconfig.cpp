#include <QDir>
#include <QtTest>
#include <memory>

#include "common/IniProfile.h"
#include "common/TDateTime.h"
#include "common/TZEMError.h"
#include "gametime/TZEMTimeConfig.h"
#include "support/MessageRecorder.h"

namespace {

QString keyText(const QString& file, const QString& key) {
    return IniProfile(file).readString(QStringLiteral("TAMUTime"), key, QStringLiteral("<none>"));
}

void writeFile(const QString& file, const QByteArray& text) {
    QFile out(file);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(text);
}

}  // namespace

class TestTimeConfig : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noFileGivesDefaultsAndIsWrittenAtClose() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        MessageRecorder messages;
        {
            TZEMTimeConfig config(folder);
            QCOMPARE(config.FileName, folder + QStringLiteral("TAMUTime.log"));
            QCOMPARE(DateTime::msecsOfDay(config.SetTime), 0);
            QCOMPARE(DateTime::toQDateTime(config.NowDateTime),
                     QDateTime(QDate(1999, 7, 7), QTime(7, 0, 0)));
            QVERIFY(!QFile::exists(config.FileName));  // read once, written only at close
        }
        const QString file = folder + QStringLiteral("TAMUTime.log");
        QCOMPARE(keyText(file, QStringLiteral("SetTime")), QStringLiteral("00:00:00"));
        QCOMPARE(keyText(file, QStringLiteral("NowDate")), QStringLiteral("1999/07/07"));
        QCOMPARE(keyText(file, QStringLiteral("NowTime")), QStringLiteral("07:00:00"));
        QVERIFY(messages.errors.isEmpty());
    }

    void setClockRoundTrip() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        MessageRecorder messages;
        {
            TZEMTimeConfig config(folder);
            config.AssignSetTime(DateTime::encodeTime(12, 34, 56));
            config.AssignNowDate(DateTime::encodeDate(2026, 12, 6) + DateTime::encodeTime(1, 2, 3));
            config.AssignNowTime(DateTime::encodeDate(2001, 1, 1) +
                                 DateTime::encodeTime(19, 0, 5, 250));
            QCOMPARE(DateTime::toQDateTime(config.NowDateTime),
                     QDateTime(QDate(2026, 12, 6), QTime(19, 0, 5, 250)));
        }
        const QString file = folder + QStringLiteral("TAMUTime.log");
        QCOMPARE(keyText(file, QStringLiteral("SetTime")), QStringLiteral("12:34:56"));
        QCOMPARE(keyText(file, QStringLiteral("NowDate")), QStringLiteral("2026/12/06"));
        QCOMPARE(keyText(file, QStringLiteral("NowTime")), QStringLiteral("19:00:05"));

        TZEMTimeConfig again(folder);
        QCOMPARE(DateTime::toQTime(again.SetTime), QTime(12, 34, 56));
        QCOMPARE(DateTime::toQDateTime(again.NowDateTime),
                 QDateTime(QDate(2026, 12, 6), QTime(19, 0, 5)));
        QVERIFY(messages.errors.isEmpty());
    }

    void assign_data() {
        QTest::addColumn<QDateTime>("before");
        QTest::addColumn<QDateTime>("dateValue");
        QTest::addColumn<QDateTime>("afterDate");
        QTest::addColumn<QTime>("timeValue");
        QTest::addColumn<QDateTime>("afterTime");
        QTest::newRow("default anchor")
            << QDateTime(QDate(1999, 7, 7), QTime(7, 0, 0))
            << QDateTime(QDate(2026, 2, 28), QTime(23, 59, 59))
            << QDateTime(QDate(2026, 2, 28), QTime(7, 0, 0)) << QTime(8, 15, 30, 500)
            << QDateTime(QDate(2026, 2, 28), QTime(8, 15, 30, 500));
        QTest::newRow("to midnight")
            << QDateTime(QDate(2026, 12, 31), QTime(23, 59, 59, 999))
            << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0))
            << QDateTime(QDate(2027, 1, 1), QTime(23, 59, 59, 999)) << QTime(0, 0, 0)
            << QDateTime(QDate(2027, 1, 1), QTime(0, 0, 0));
    }
    void assign() {
        QFETCH(QDateTime, before);
        QFETCH(QDateTime, dateValue);
        QFETCH(QDateTime, afterDate);
        QFETCH(QTime, timeValue);
        QFETCH(QDateTime, afterTime);
        QTemporaryDir dir;
        MessageRecorder messages;
        TZEMTimeConfig config(dir.path() + u'/');
        config.NowDateTime = DateTime::fromQDateTime(before);
        config.AssignNowDate(DateTime::fromQDateTime(dateValue));
        QCOMPARE(DateTime::toQDateTime(config.NowDateTime), afterDate);
        config.AssignNowTime(DateTime::fromQTime(timeValue));
        QCOMPARE(DateTime::toQDateTime(config.NowDateTime), afterTime);
    }

    void readsWhatOthersWrote_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QDateTime>("anchorReal");
        QTest::addColumn<QTime>("setTime");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("instead");
        const QString none;
        QTest::newRow("hour without leading zero")
            << QByteArray("[TAMUTime]\nSetTime=7:05:09\nNowDate=2026/12/06\nNowTime=9:00:05\n")
            << QDateTime(QDate(2026, 12, 6), QTime(9, 0, 5)) << QTime(7, 5, 9) << none << none;
        QTest::newRow("bad SetTime")
            << QByteArray("[TAMUTime]\nSetTime=noon\nNowDate=2026/12/06\nNowTime=19:00:05\n")
            << QDateTime(QDate(2026, 12, 6), QTime(19, 0, 5)) << QTime(0, 0, 0)
            << TZEMError::notATime(QStringLiteral("noon")).message()
            << "SetTime を 00:00:00 として時計を始めます";
        QTest::newRow("bad NowDate")
            << QByteArray("[TAMUTime]\nSetTime=12:34:56\nNowDate=2026/02/30\nNowTime=19:00:05\n")
            << QDateTime(QDate(1999, 7, 7), QTime(19, 0, 5)) << QTime(12, 34, 56)
            << TZEMError::notADate(QStringLiteral("2026/02/30")).message()
            << "NowDate を 1999/07/07 として時計を始めます";
        QTest::newRow("bad NowTime")
            << QByteArray("[TAMUTime]\nSetTime=12:34:56\nNowDate=2026/12/06\nNowTime=25:00:00\n")
            << QDateTime(QDate(2026, 12, 6), QTime(7, 0, 0)) << QTime(12, 34, 56)
            << TZEMError::notATime(QStringLiteral("25:00:00")).message()
            << "NowTime を 07:00:00 として時計を始めます";
        QTest::newRow("empty value")
            << QByteArray("[TAMUTime]\nSetTime=\nNowDate=2026/12/06\nNowTime=19:00:05\n")
            << QDateTime(QDate(2026, 12, 6), QTime(19, 0, 5)) << QTime(0, 0, 0)
            << TZEMError::notATime(QString()).message()
            << "SetTime を 00:00:00 として時計を始めます";
    }
    void readsWhatOthersWrote() {
        QFETCH(QByteArray, content);
        QFETCH(QDateTime, anchorReal);
        QFETCH(QTime, setTime);
        QFETCH(QString, error);
        QFETCH(QString, instead);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        writeFile(folder + QStringLiteral("TAMUTime.log"), content);
        MessageRecorder messages;
        auto config = std::make_unique<TZEMTimeConfig>(folder);
        QCOMPARE(DateTime::toQDateTime(config->NowDateTime), anchorReal);
        QCOMPARE(DateTime::toQTime(config->SetTime), setTime);
        // What, then which file on a line of its own, then what the clock starts from.
        const QStringList expected{error, QDir::toNativeSeparators(config->FileName), instead};
        QCOMPARE(messages.errors,
                 error.isEmpty() ? QStringList() : QStringList{expected.join(u'\n')});
        // Closing writes sound values back, so the next start is quiet.
        config.reset();
        messages.clear();
        TZEMTimeConfig again(folder);
        QCOMPARE(DateTime::toQDateTime(again.NowDateTime), anchorReal);
        QVERIFY(messages.errors.isEmpty());
    }

    void allValuesBadIsOneMessage() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        writeFile(folder + QStringLiteral("TAMUTime.log"),
                  "[TAMUTime]\nSetTime=a\nNowDate=b\nNowTime=c\n");
        MessageRecorder messages;
        TZEMTimeConfig config(folder);
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(
            messages.errors.first().contains(TZEMError::notADate(QStringLiteral("b")).message()));
        QVERIFY(messages.errors.first().endsWith(
            QStringLiteral("SetTime を 00:00:00、NowDate を 1999/07/07、NowTime を 07:00:00 "
                           "として時計を始めます")));
        QCOMPARE(DateTime::toQDateTime(config.NowDateTime),
                 QDateTime(QDate(1999, 7, 7), QTime(7, 0, 0)));
    }

    void unwritableFolder() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/missing/");
        MessageRecorder messages;
        {
            TZEMTimeConfig config(folder);
            bool raised = false;
            try {
                config.Save();
            } catch (const TZEMError& e) {
                raised = true;
                QCOMPARE(e.message(), TZEMError::cannotWrite(config.FileName).message());
            }
            QVERIFY(raised);
        }
        // The destructor's save reports the failure instead of throwing.
        QCOMPARE(
            messages.errors,
            QStringList{TZEMError::cannotWrite(folder + QStringLiteral("TAMUTime.log")).message()});
    }
};

QTEST_GUILESS_MAIN(TestTimeConfig)
#include "tst_timeconfig.moc"
