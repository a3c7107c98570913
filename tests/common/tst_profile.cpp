#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "common/IniProfile.h"
#include "common/TZEMError.h"

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class ProfileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readInteger_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("expected");
        const QByteArray head = "[Controler]\n";
        QTest::newRow("decimal") << head + "Top=812\n" << 812;
        QTest::newRow("negative") << head + "Top=-300\n" << -300;
        QTest::newRow("spaces around") << head + "  Top =  42  \n" << 42;
        QTest::newRow("hex lower") << head + "Top=0x1F\n" << 31;
        QTest::newRow("hex upper") << head + "Top=0XFF\n" << 255;
        QTest::newRow("hex all ones is -1") << head + "Top=0xFFFFFFFF\n" << -1;
        QTest::newRow("text") << head + "Top=abc\n" << -7;
        QTest::newRow("trailing junk") << head + "Top=12abc\n" << -7;
        QTest::newRow("empty value") << head + "Top=\n" << -7;
        QTest::newRow("beyond 32 bits") << head + "Top=4294967296\n" << -7;
        QTest::newRow("hex without digits") << head + "Top=0x\n" << -7;
        QTest::newRow("case-insensitive names") << QByteArray("[controler]\nTOP=5\n") << 5;
        QTest::newRow("other section only") << QByteArray("[Other]\nTop=5\n") << -7;
        QTest::newRow("key in later section ignored")
            << QByteArray("[Controler]\nLeft=1\n[Other]\nTop=5\n") << -7;
        QTest::newRow("CRLF file") << QByteArray("[Controler]\r\nTop=77\r\n") << 77;
        QTest::newRow("binary noise") << QByteArray("\x00\xff\xfe[\x01=\x02\n\xc3", 9) << -7;
        QTest::newRow("quoted") << head + "Top=\"9\"\n" << 9;
    }
    void readInteger() {
        QFETCH(QByteArray, content);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMU.ini"));
        writeFile(file, content);
        QCOMPARE(
            IniProfile(file).readInteger(QStringLiteral("Controler"), QStringLiteral("Top"), -7),
            expected);
    }

    void missingFileReadsDefaults() {
        QTemporaryDir dir;
        const IniProfile ini(dir.filePath(QStringLiteral("none.ini")));
        QCOMPARE(ini.readInteger(QStringLiteral("A"), QStringLiteral("B"), 3), 3);
        QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("x")),
                 QStringLiteral("x"));
    }

    void writeKeepsEverythingElse_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("new file") << QByteArray() << QByteArray("[Controler]\nTop=5\n");
        QTest::newRow("replace, keep others")
            << QByteArray("; comment\n[Other]\nX=1\n[controler]\nLeft=3\ntop=9\nKeep=yes\n")
            << QByteArray("; comment\n[Other]\nX=1\n[controler]\nLeft=3\nTop=5\nKeep=yes\n");
        QTest::newRow("append to section before the next one")
            << QByteArray("[Controler]\nLeft=3\n\n[Next]\nA=1\n")
            << QByteArray("[Controler]\nLeft=3\nTop=5\n\n[Next]\nA=1\n");
        QTest::newRow("append section")
            << QByteArray("[Other]\nX=1\n") << QByteArray("[Other]\nX=1\n[Controler]\nTop=5\n");
    }
    void writeKeepsEverythingElse() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMU.ini"));
        if (!before.isNull()) {
            writeFile(file, before);
        }
        IniProfile ini(file);
        ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Top"), 5);
        QCOMPARE(readFile(file), after);
        QCOMPARE(ini.readInteger(QStringLiteral("Controler"), QStringLiteral("Top"), -1), 5);
    }

    void writeFailureNamesTheFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("missing-folder/TAMU.ini"));
        IniProfile ini(file);
        try {
            ini.writeString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("V"));
            QFAIL("the write should have failed");
        } catch (const TZEMError& e) {
            QCOMPARE(e.message(), file + QStringLiteral(" に書き込めません"));
        }
    }

    void failedWriteLeavesTheOldFile() {
        if (geteuid() == 0) {
            QSKIP("root writes into read-only folders");
        }
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMU.ini"));
        writeFile(file, "[Controler]\nTop=1\n");
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        IniProfile ini(file);
        QVERIFY_THROWS_EXCEPTION(
            TZEMError, ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Top"), 2));
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readFile(file), QByteArray("[Controler]\nTop=1\n"));
    }
};

QTEST_GUILESS_MAIN(ProfileTest)
#include "tst_profile.moc"
