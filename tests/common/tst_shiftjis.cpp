#include <QtTest>

#include "common/ShiftJis.h"

// Code page 932 as the game's settings files hold it, byte for byte: ICU's converter on Linux and
// the system's on Windows must agree with these.
class ShiftJisTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII") << QStringLiteral("Top=812") << QByteArray("Top=812");
        QTest::newRow("kanji") << QStringLiteral("東京都")
                               << QByteArray("\x93\x8c\x8b\x9e\x93\x73");
        QTest::newRow("half-width kana") << QStringLiteral("ｱｲ") << QByteArray("\xb1\xb2");
        QTest::newRow("NEC circled digit") << QStringLiteral("①") << QByteArray("\x87\x40");
        QTest::newRow("NEC ㈱") << QStringLiteral("㈱") << QByteArray("\x87\x8a");
        QTest::newRow("full-width tilde") << QStringLiteral("～") << QByteArray("\x81\x60");
        QTest::newRow("empty") << QString() << QByteArray();
    }
    void roundTrip() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(ShiftJis::encode(text), std::optional<QByteArray>(bytes));
        QCOMPARE(ShiftJis::decode(bytes), std::optional<QString>(text));
        QCOMPARE(ShiftJis::decodeLoosely(bytes), text);
    }

    // Code page 932 holds some IBM characters twice, once among NEC's selection: both codes read
    // as the character, and a write may take either (ICU takes NEC's, Windows IBM's).
    void duplicateCodesReadAlike() {
        const QString takaHashigo = QStringLiteral("髙");
        QCOMPARE(ShiftJis::decode("\xee\xe0"), std::optional<QString>(takaHashigo));
        QCOMPARE(ShiftJis::decode("\xfb\xfc"), std::optional<QString>(takaHashigo));
        const std::optional<QByteArray> written = ShiftJis::encode(takaHashigo);
        QVERIFY(written == QByteArray("\xee\xe0") || written == QByteArray("\xfb\xfc"));
    }

    void notShiftJis_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lead byte cut off at the end") << QByteArray("Name=\x93");
        QTest::newRow("lead byte before a control") << QByteArray("\x93\n");
        QTest::newRow("unassigned row 85") << QByteArray("\x85\x40");
    }
    void notShiftJis() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(ShiftJis::decode(bytes), std::nullopt);
    }

    // A character without a code of its own is refused, never written as a look-alike.
    void unencodable_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("emoji") << QStringLiteral("船🚢");
        QTest::newRow("Latin ß") << QStringLiteral("Straße");
        QTest::newRow("Hangul") << QStringLiteral("한");
    }
    void unencodable() {
        QFETCH(QString, text);
        QCOMPARE(ShiftJis::encode(text), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(ShiftJisTest)
#include "tst_shiftjis.moc"
