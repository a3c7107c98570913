// Saved builds and their share codes, without widgets.
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "common/TZEMError.h"
#include "status/BuildCode.h"
#include "status/StatusBuildBook.h"
#include "support/FileFaults.h"
#include "support/MessageRecorder.h"

namespace {

// The message of the error the action raises; empty when it raises none.
template <class Action>
QString errorOf(Action&& action) {
    try {
        action();
    } catch (const TZEMError& e) {
        return e.message();
    }
    return QString();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
}

// A [Build<n>] section: name, then JOB, INF, the five bonus points and LV.
QByteArray section(int n, const char* name, const QList<int>& values) {
    QByteArray text = "[Build" + QByteArray::number(n) + "]\r\nName=" + name + "\r\n";
    const char* keys[] = {"JOB", "INF", "POW", "VIT", "DEX", "INT", "PHI", "LV"};
    for (qsizetype i = 0; i < values.size(); ++i) {
        text += QByteArray(keys[i]) + '=' + QByteArray::number(values[i]) + "\r\n";
    }
    return text;
}

// A hand-kept file: a comment, a section of its own, a line that is no key and sections that do
// not read as builds (an unknown job, a missing level, points over the pool, a name taken).
const QByteArray KeptFile = "; my builds\r\n[Notes]\r\nwho=me\r\n" +
                            section(2, "陰陽師の試し", {3, 4, 0, 0, 2, 3, 5, 50}) +
                            "this line is noise\r\n" + section(5, "謎", {9, 0, 0, 0, 0, 0, 0, 1}) +
                            section(7, "レベルなし", {0, 0, 0, 0, 0, 0, 0}) +
                            section(8, "多すぎ", {0, 0, 3, 5, 3, 0, 0, 1}) +
                            section(3, "陰陽師の試し", {0, 0, 0, 0, 0, 0, 0, 9});

}  // namespace

class BuildsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every job, faction and level with a spread of bonus sets: each code is short, chat-safe
    // ASCII, its own, and reads back as the build, also retyped inside a chat line.
    void codesRoundTrip() {
        const QList<std::array<std::int32_t, 5>> spread{
            {0, 0, 0, 0, 0}, {8, 0, 0, 0, 2}, {0, 8, 2, 0, 0}, {2, 2, 2, 2, 2},
            {0, 0, 8, 0, 0}, {0, 0, 0, 8, 0}, {1, 0, 3, 0, 6}, {0, 1, 0, 1, 0}};
        static const QRegularExpression shape(QStringLiteral("^TAMU1-[0-9A-Z]{9}$"));
        QSet<QString> codes;
        QSet<QString> builds;
        for (int job = 0; job < TZEMStatusSrc::JobCount; ++job) {
            for (int faction = 0; faction < TZEMStatusSrc::FactionCount; ++faction) {
                for (int level = 1; level <= TZEMStatusNow::MaxLevel; ++level) {
                    for (const auto& points : spread) {
                        StatusBuild b = StatusBuild{job, faction, points, level};
                        for (int i = 0; i < 5; ++i) {  // within what the status window allows
                            b.bonus[i] =
                                std::min(b.bonus[i], StatusBuild::bonusCap(job, faction, i));
                        }
                        QVERIFY(!b.problem());
                        const QString code = BuildCode::encode(b);
                        QVERIFY2(shape.match(code).hasMatch(), qPrintable(code));
                        QCOMPARE(BuildCode::decode(code), b);
                        // In a chat line, retyped in lower case with o for 0 and i for 1.
                        const QString typed =
                            code.mid(6).toLower().replace(u'0', u'o').replace(u'1', u'i');
                        QCOMPARE(BuildCode::decode(QStringLiteral("[隊] 僕の: TAMU1-") + typed +
                                                   QStringLiteral(" です")),
                                 b);
                        codes.insert(code);
                        builds.insert(b.describe());
                    }
                }
            }
        }
        // Distinct builds, distinct codes (the caps make some of the spread alike).
        QCOMPARE(codes.size(), builds.size());
    }

    // Each kind of bad code is refused with a message that says which.
    void badCodesRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("says");
        const QString good = BuildCode::encode(StatusBuild{3, 4, {0, 0, 2, 3, 5}, 50});
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
        QTest::newRow("version 0")
            << packed(StatusBuild{0, 0, {}, 1}, 0) << "版の番号 0 はありません";
        QTest::newRow("newer version") << packed(StatusBuild{0, 0, {}, 1}, 2) << "第 2 版";
        QTest::newRow("unknown job")
            << packed(StatusBuild{7, 0, {}, 1}) << "職業が分かりません（番号 7）";
        QTest::newRow("unknown faction")
            << packed(StatusBuild{0, 14, {}, 1}) << "所属勢力が分かりません（番号 14）";
        QTest::newRow("level 0") << packed(StatusBuild{0, 0, {}, 0}) << "レベル 0 はありません";
        QTest::newRow("level 61") << packed(StatusBuild{0, 0, {}, 61}) << "レベル 61 はありません";
        QTest::newRow("over the pool")
            << packed(StatusBuild{0, 0, {0, 5, 6, 0, 0}, 1}) << "合計 11 が持ち点 10 を超えて";
        // 侍 of 上杉 starts with 腕力 7; 陰陽師 of 今川 with 耐久力 1, the box stops at 8.
        QTest::newRow("over the cap") << packed(StatusBuild{0, 0, {4, 0, 0, 0, 0}, 1})
                                      << "腕力のボーナス 4 が上限の 3 を超えています（侍・上杉）";
        QTest::newRow("over the box")
            << packed(StatusBuild{3, 5, {0, 9, 0, 0, 0}, 1}) << "耐久力のボーナス 9 が上限の 8";
    }
    void badCodesRefused() {
        QFETCH(QString, text);
        QFETCH(QString, says);
        const QString message = errorOf([&] { BuildCode::decode(text); });
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
        QCOMPARE(book.entries()[0].build, (StatusBuild{3, 4, {0, 0, 2, 3, 5}, 50}));

        const StatusBuild samurai = StatusBuild{0, 0, {3, 0, 0, 0, 0}, 12};
        QCOMPARE(book.save(QStringLiteral("  \"引用\"  "), samurai), 9);
        const QList<int> samuraiKeys{0, 0, 3, 0, 0, 0, 0, 12};
        QByteArray expected = KeptFile + section(9, "\"\"引用\"\"", samuraiKeys);
        QCOMPARE(FileFaults::readAll(file), expected);

        book.save(QStringLiteral("陰陽師の試し"), samurai);  // overwrites its values only
        const QByteArray overwritten = section(2, "陰陽師の試し", samuraiKeys);
        expected.replace(section(2, "陰陽師の試し", {3, 4, 0, 0, 2, 3, 5, 50}), overwritten);
        QCOMPARE(FileFaults::readAll(file), expected);

        book.rename(QStringLiteral("\"引用\""), QStringLiteral("侍"));
        expected.replace("Name=\"\"引用\"\"", "Name=侍");
        QCOMPARE(FileFaults::readAll(file), expected);
        // A name taken, empty, of two lines or too long is refused and writes nothing.
        for (const QString& name : {QStringLiteral("陰陽師の試し"), QStringLiteral("　 "),
                                    QStringLiteral("一\n二"), QString(41, u'名')}) {
            QVERIFY_THROWS_EXCEPTION(TZEMError, book.rename(QStringLiteral("侍"), name));
        }
        QCOMPARE(FileFaults::readAll(file), expected);

        book.remove(QStringLiteral("陰陽師の試し"));
        expected.replace(overwritten + "this line is noise\r\n", "");
        QCOMPARE(FileFaults::readAll(file), expected);
        // The section that shared the removed build's name reads now.
        const StatusBuildBook again(folder);
        QCOMPARE(again.entries().size(), 2);
        QCOMPARE(again.entries()[0].number, 3);
        QCOMPARE(again.entries()[0].name, "陰陽師の試し");
        QCOMPARE(again.entries()[1].name, "侍");
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
            QCOMPARE(errorOf([&] { book.save(QStringLiteral("新しい"), {}); }),
                     file + QStringLiteral(" に書き込めません"));
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
