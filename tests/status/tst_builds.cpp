// Saved builds and their share codes, without widgets.
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "common/TZEMError.h"
#include "status/BuildCode.h"
#include "status/StatusBuildBook.h"
#include "support/FileFaults.h"
#include "support/MessageRecorder.h"

namespace {

StatusBuild build(int job, int faction, std::array<std::int32_t, 5> bonus, int level) {
    return StatusBuild{job, faction, bonus, level};
}

// The message decoding raises, empty when the code is taken.
QString refusal(const QString& text) {
    try {
        BuildCode::decode(text);
    } catch (const TZEMError& e) {
        return e.message();
    }
    return QString();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A hand-kept file: a comment, a section of its own, a line that is no key and sections that do
// not read as builds (an unknown job, a missing level, points over the pool, a name taken).
const QByteArray KeptFile(
    "; my builds\r\n[Notes]\r\nwho=me\r\n[Build2]\r\nName=陰陽師の試し\r\nJOB=3\r\nINF=4\r\n"
    "POW=0\r\nVIT=0\r\nDEX=2\r\nINT=3\r\nPHI=5\r\nLV=50\r\nthis line is noise\r\n"
    "[Build5]\r\nName=謎\r\nJOB=9\r\nINF=0\r\nPOW=0\r\nVIT=0\r\nDEX=0\r\nINT=0\r\nPHI=0\r\nLV=1\r\n"
    "[Build7]\r\nName=レベルなし\r\nJOB=0\r\nINF=0\r\nPOW=0\r\nVIT=0\r\nDEX=0\r\nINT=0\r\nPHI=0\r\n"
    "[Build8]\r\nName=多すぎ\r\nJOB=0\r\nINF=0\r\nPOW=3\r\nVIT=5\r\nDEX=3\r\nINT=0\r\nPHI=0\r\nLV="
    "1\r\n"
    "[Build3]\r\nName=陰陽師の試し\r\nJOB=0\r\nINF=0\r\nPOW=0\r\nVIT=0\r\nDEX=0\r\nINT=0\r\nPHI="
    "0\r\n"
    "LV=9\r\n");

}  // namespace

class BuildsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every job, faction and level with a spread of bonus sets: each code is short, chat-safe
    // ASCII, its own, and reads back as the build, also typed in lower case inside a chat line.
    void codesRoundTrip() {
        const QList<std::array<std::int32_t, 5>> spread{
            {0, 0, 0, 0, 0}, {8, 0, 0, 0, 2}, {0, 8, 2, 0, 0}, {2, 2, 2, 2, 2},
            {0, 0, 8, 0, 0}, {0, 0, 0, 8, 0}, {1, 0, 3, 0, 6}, {0, 1, 0, 1, 0}};
        QSet<QString> codes;
        QSet<QString> builds;
        int count = 0;
        for (int job = 0; job < TZEMStatusSrc::JobCount; ++job) {
            for (int faction = 0; faction < TZEMStatusSrc::FactionCount; ++faction) {
                for (int level = 1; level <= TZEMStatusNow::MaxLevel; ++level) {
                    for (const auto& points : spread) {
                        StatusBuild b = build(job, faction, points, level);
                        for (int i = 0; i < 5; ++i) {  // within what the status window allows
                            b.bonus[i] =
                                std::min(b.bonus[i], StatusBuild::bonusCap(job, faction, i));
                        }
                        QVERIFY(!b.problem());
                        const QString code = BuildCode::encode(b);
                        QVERIFY2(code.size() <= 16 && code.startsWith(QStringLiteral("TAMU1-")),
                                 qPrintable(code));
                        for (const QChar c : code) {
                            QVERIFY(c.unicode() > 32 && c.unicode() < 127);
                        }
                        QCOMPARE(BuildCode::decode(code), b);
                        if (level % 13 == 0) {
                            QCOMPARE(BuildCode::decode(QStringLiteral("[隊] 僕の: ") +
                                                       code.toLower() + QStringLiteral(" です")),
                                     b);
                        }
                        codes.insert(code);
                        builds.insert(b.describe());
                        ++count;
                    }
                }
            }
        }
        // Distinct builds, distinct codes (the caps make some of the spread alike).
        QCOMPARE(codes.size(), builds.size());
        QCOMPARE(count, 7 * 14 * 60 * 8);

        // Retyped: O for 0, I or l for 1.
        const StatusBuild first = build(0, 0, {1, 0, 0, 0, 0}, 1);
        const QString code = BuildCode::encode(first);
        QString typed = code.mid(6);
        typed.replace(u'0', u'O').replace(u'1', u'l');
        QVERIFY(typed != code.mid(6));
        QCOMPARE(BuildCode::decode(code.left(6) + typed), first);
    }

    // Each kind of bad code is refused with a message that says which.
    void badCodesRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("says");
        const QString good = BuildCode::encode(build(3, 4, {0, 0, 2, 3, 5}, 50));
        const int body = good.indexOf(u'-') + 1;
        QString changed = good;
        changed[body + 3] = changed[body + 3] == u'A' ? u'B' : u'A';
        QString swapped = good;
        int at = body;
        while (swapped[at] == swapped[at + 1]) {
            ++at;
        }
        std::swap(swapped[at], swapped[at + 1]);
        QVERIFY(swapped != good);
        const auto packed = [](const StatusBuild& b, int version = BuildCode::Version) {
            return BuildCode::pack(b, version);
        };
        QTest::newRow("no code") << QStringLiteral("よろしく！") << "コードが見つかりません";
        QTest::newRow("a character short") << good.chopped(1) << "9 文字のところ 8 文字";
        QTest::newRow("not of the alphabet")
            << good.left(body) + u'U' + good.mid(body + 1) << "使えない文字「U」";
        QTest::newRow("a character changed") << changed << "検査文字が合いません";
        QTest::newRow("neighbours swapped") << swapped << "検査文字が合いません";
        QTest::newRow("version 0") << packed(build(0, 0, {}, 1), 0) << "版の番号 0 はありません";
        QTest::newRow("newer version") << packed(build(0, 0, {}, 1), 2) << "第 2 版";
        QTest::newRow("unknown job")
            << packed(build(7, 0, {}, 1)) << "職業が分かりません（番号 7）";
        QTest::newRow("unknown faction")
            << packed(build(0, 14, {}, 1)) << "所属勢力が分かりません（番号 14）";
        QTest::newRow("level 0") << packed(build(0, 0, {}, 0)) << "レベル 0 はありません";
        QTest::newRow("level 61") << packed(build(0, 0, {}, 61)) << "レベル 61 はありません";
        QTest::newRow("over the pool")
            << packed(build(0, 0, {0, 5, 6, 0, 0}, 1)) << "合計 11 が持ち点 10 を超えて";
        // 侍 of 上杉 starts with 腕力 7; 陰陽師 of 今川 with 耐久力 1, the box stops at 8.
        QTest::newRow("over the cap") << packed(build(0, 0, {4, 0, 0, 0, 0}, 1))
                                      << "腕力のボーナス 4 が上限の 3 を超えています（侍・上杉）";
        QTest::newRow("over the box")
            << packed(build(3, 5, {0, 9, 0, 0, 0}, 1)) << "耐久力のボーナス 9 が上限の 8";
    }
    void badCodesRefused() {
        QFETCH(QString, text);
        QFETCH(QString, says);
        const QString message = refusal(text);
        QVERIFY2(message.startsWith(QStringLiteral("ビルドコードを読み込めません：")) &&
                     message.contains(says),
                 qPrintable(message));
    }

    // Garbage is skipped and kept; save, overwrite, rename and delete each change only their
    // own lines, and a new build never takes the number of a section that is kept.
    void fileKeepsEveryOtherLine() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString file = folder + QStringLiteral("TAMUBuilds.ini");
        writeFile(file, KeptFile);
        StatusBuildBook book(folder);
        QCOMPARE(book.entries().size(), 1);
        QCOMPARE(book.entries()[0].name, "陰陽師の試し");
        QCOMPARE(book.entries()[0].build, build(3, 4, {0, 0, 2, 3, 5}, 50));

        const StatusBuild samurai = build(0, 0, {3, 0, 0, 0, 0}, 12);
        QCOMPARE(book.save(QStringLiteral("  \"引用\"  "), samurai), 9);
        QByteArray expected = KeptFile +
                              "[Build9]\r\nName=\"\"引用\"\"\r\nJOB=0\r\nINF=0\r\n"
                              "POW=3\r\nVIT=0\r\nDEX=0\r\nINT=0\r\nPHI=0\r\nLV=12\r\n";
        QCOMPARE(FileFaults::readAll(file), expected);

        book.save(QStringLiteral("陰陽師の試し"), samurai);  // overwrites its values only
        expected.replace("JOB=3\r\nINF=4\r\nPOW=0\r\nVIT=0\r\nDEX=2\r\nINT=3\r\nPHI=5\r\nLV=50",
                         "JOB=0\r\nINF=0\r\nPOW=3\r\nVIT=0\r\nDEX=0\r\nINT=0\r\nPHI=0\r\nLV=12");
        QCOMPARE(FileFaults::readAll(file), expected);

        book.rename(QStringLiteral("\"引用\""), QStringLiteral("侍"));
        expected.replace("Name=\"\"引用\"\"", "Name=侍");
        QCOMPARE(FileFaults::readAll(file), expected);
        QVERIFY_THROWS_EXCEPTION(TZEMError,
                                 book.rename(QStringLiteral("侍"), QStringLiteral("陰陽師の試し")));

        book.remove(QStringLiteral("陰陽師の試し"));
        const qsizetype from = expected.indexOf("[Build2]");
        expected.remove(from, expected.indexOf("[Build5]") - from);
        QCOMPARE(FileFaults::readAll(file), expected);
        // The section that shared the removed build's name reads now.
        const StatusBuildBook again(folder);
        QCOMPARE(again.entries().size(), 2);
        QCOMPARE(again.entries()[0].number, 3);
        QCOMPARE(again.entries()[0].name, "陰陽師の試し");
        QCOMPARE(again.entries()[1].name, "侍");
    }

    void badNamesRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << QStringLiteral("　 ");
        QTest::newRow("line break") << QStringLiteral("一\n二");
        QTest::newRow("too long") << QString(StatusBuildBook::MaxNameLength + 1, u'名');
    }
    void badNamesRefused() {
        QFETCH(QString, name);
        QTemporaryDir dir;
        StatusBuildBook book(dir.path() + u'/');
        QVERIFY_THROWS_EXCEPTION(TZEMError, book.save(name, build(0, 0, {}, 1)));
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    // A file that cannot be read, or a folder that cannot be written: a Japanese message, the
    // file as it was.
    void unwritableFileLosesNothing_data() {
        QTest::addColumn<bool>("unreadable");
        QTest::newRow("unreadable file") << true;
        QTest::newRow("read-only folder") << false;
    }
    void unwritableFileLosesNothing() {
        QFETCH(bool, unreadable);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString file = folder + QStringLiteral("TAMUBuilds.ini");
        writeFile(file, KeptFile);
        // Group and others alike: the unprivileged user keeps the group of root.
        constexpr QFile::Permissions read = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        constexpr QFile::Permissions enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        QFile::setPermissions(file, unreadable ? FileFaults::WriteOnly : read);
        QFile::setPermissions(dir.path(), unreadable ? FileFaults::OpenFolder : read | enter);
        MessageRecorder messages;
        {
            const FileFaults::Unprivileged user;
            if (!user.ok()) {
                QSKIP("cannot take an unprivileged user here");
            }
            StatusBuildBook book(folder);
            QCOMPARE(book.entries().size(), unreadable ? 0 : 1);
            try {
                book.save(QStringLiteral("新しい"), build(0, 0, {}, 1));
                QFAIL("the save should have failed");
            } catch (const TZEMError& e) {
                QCOMPARE(e.message(), file + QStringLiteral(" に書き込めません"));
            }
            QCOMPARE(book.entries().size(), unreadable ? 0 : 1);
        }
        QCOMPARE(messages.errors,
                 unreadable ? QStringList{file + QStringLiteral(" を読めません")} : QStringList{});
        QFile::setPermissions(dir.path(), FileFaults::OpenFolder);
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(FileFaults::readAll(file), KeptFile);
    }
};

QTEST_GUILESS_MAIN(BuildsTest)
#include "tst_builds.moc"
