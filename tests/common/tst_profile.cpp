#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "common/IniProfile.h"
#include "common/TZEMError.h"
#include "support/Encoded.h"
#include "support/FileFaults.h"
#include "support/MessageRecorder.h"

namespace {

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QByteArray readFile(const QString& path) {
    return FileFaults::readAll(path);
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
        // A byte-order mark at a line's start (files pasted together) is no part of the line.
        QTest::newRow("a mark before a section's header")
            << QByteArray("; a\n\xEF\xBB\xBF[Controler]\nLeft=3\n")
            << QByteArray("; a\n\xEF\xBB\xBF[Controler]\nLeft=3\nTop=5\n");
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

    // Files written on Japanese Windows: read as they are, and a write changes only the bytes of
    // the key written, in the file's encoding and with its line ends.
    void foreignEncodings_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QString>("name");
        const QString name = QStringLiteral("刀鍛冶");
        const QString text = QStringLiteral(
                                 "; 設定\r\n[Other]\r\nName=%1\r\n[Controler]\r\n"
                                 "Top=1\r\nLeft=2\r\n")
                                 .arg(name);
        QString written = text;
        written.replace(QStringLiteral("Top=1"), QStringLiteral("Top=5"));
        const QByteArray utf8Bom("\xEF\xBB\xBF");
        const QByteArray le("\xFF\xFE"), be("\xFE\xFF");
        QTest::newRow("UTF-8 with BOM, CRLF")
            << encoded("UTF-8", text, utf8Bom) << encoded("UTF-8", written, utf8Bom) << name;
        QTest::newRow("UTF-16 LE")
            << encoded("UTF-16LE", text, le) << encoded("UTF-16LE", written, le) << name;
        QTest::newRow("UTF-16 BE")
            << encoded("UTF-16BE", text, be) << encoded("UTF-16BE", written, be) << name;
        QTest::newRow("Shift-JIS")
            << encoded("windows-31j", text) << encoded("windows-31j", written) << name;
        QTest::newRow("Latin-1 bytes kept")
            << QByteArray("[Other]\nName=caf\xE9\n[Controler]\nTop=1\n")
            << QByteArray("[Other]\nName=caf\xE9\n[Controler]\nTop=5\n") << QStringLiteral("café");
        // Without its line the file would read as Shift-JIS, ÖÖ as ﾖﾖ: it goes to UTF-8.
        QTest::newRow("Latin-1 until the line that made it so is replaced")
            << QByteArray("[Other]\nName=\xD6\xD6\n[Controler]\nTop=\xFF\n")
            << QStringLiteral("[Other]\nName=ÖÖ\n[Controler]\nTop=5\n").toUtf8()
            << QStringLiteral("ÖÖ");
        QTest::newRow("no final line end, CRLF")
            << QByteArray("[Controler]\r\nLeft=2")
            << QByteArray("[Controler]\r\nLeft=2\r\nTop=5\r\n") << QString();
        // Top=5 ends in the file's lone CR; before the LF-only blank line it would read as CR LF.
        QTest::newRow("key added before an LF blank line in a CR file")
            << QByteArray("[Controler]\rLeft=2\r\n\n[X]\r")
            << QByteArray("[Controler]\rLeft=2\r\nTop=5\r\n\n[X]\r") << QString();
        QTest::newRow("UTF-16 LE, key added before an LF blank line in a CR file")
            << encoded("UTF-16LE", QStringLiteral("[Controler]\rLeft=2\r\n\n[X]\r"), le)
            << encoded("UTF-16LE", QStringLiteral("[Controler]\rLeft=2\r\nTop=5\r\n\n[X]\r"), le)
            << QString();
        QTest::newRow("UTF-16 LE, key added to a new section")
            << encoded("UTF-16LE", QStringLiteral("[Other]\r\nName=%1").arg(name), le)
            << encoded("UTF-16LE",
                       QStringLiteral("[Other]\r\nName=%1\r\n[Controler]\r\nTop=5\r\n").arg(name),
                       le)
            << name;
    }
    void foreignEncodings() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMU.ini"));
        writeFile(file, before);
        IniProfile ini(file);
        QCOMPARE(ini.readString(QStringLiteral("Other"), QStringLiteral("Name"), QString()), name);
        ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Top"), 5);
        QCOMPARE(readFile(file), after);
        QCOMPARE(ini.readInteger(QStringLiteral("Controler"), QStringLiteral("Top"), -1), 5);
    }

    void characterOutsideTheEncodingTurnsTheFileIntoUtf8() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMUAlarm.ini"));
        writeFile(file, encoded("windows-31j", QStringLiteral("[A]\r\nName=刀\r\n")));
        IniProfile ini(file);
        ini.writeString(QStringLiteral("A"), QStringLiteral("Mark"), QStringLiteral("⚓🚢"));
        QCOMPARE(readFile(file), QStringLiteral("[A]\r\nName=刀\r\nMark=⚓🚢\r\n").toUtf8());
    }

    void batchIsOneReplacement() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMUTime.log"));
        int replacements = 0;
        IniProfile::setReplaceHook([&](const QString&) { ++replacements; });
        IniProfile(file).write({{QStringLiteral("T"), QStringLiteral("A"), QStringLiteral("1")},
                                {QStringLiteral("T"), QStringLiteral("B"), QStringLiteral("2")},
                                {QStringLiteral("U"), QStringLiteral("C"), QStringLiteral("3")}});
        IniProfile::setReplaceHook({});
        QCOMPARE(replacements, 1);
        QCOMPARE(readFile(file), QByteArray("[T]\nA=1\nB=2\n[U]\nC=3\n"));
    }

    // A full disk: the write fails part way or at once; the old file stays, no temporary file is
    // left beside it, and the failure is reported.
    void fullDiskKeepsTheOldFile_data() {
        QTest::addColumn<int>("limit");
        QTest::newRow("nothing fits") << 0;
        QTest::newRow("half fits") << 10;
    }
    void fullDiskKeepsTheOldFile() {
        QFETCH(int, limit);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMU.ini"));
        const QByteArray old("[Controler]\nTop=1\nLeft=2\n");
        writeFile(file, old);
        IniProfile ini(file);
        {
            const FileFaults::SizeLimit full(limit);
            if (!full.ok()) {
                QSKIP("no file size limit on this system");
            }
            QVERIFY_THROWS_EXCEPTION(TZEMError, ini.writeInteger(QStringLiteral("Controler"),
                                                                 QStringLiteral("Top"), 812));
        }
        QCOMPARE(readFile(file), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("TAMU.ini")});
    }

    void unreadableFileIsReportedOnceAndNeverOverwritten() {
        QTemporaryDir dir;
        QFile::setPermissions(dir.path(), FileFaults::OpenFolder);
        const QString file = dir.filePath(QStringLiteral("TAMU.ini"));
        const QByteArray content("[Controler]\nTop=100\n[Other]\nKeep=1\n");
        writeFile(file, content);
        QFile::setPermissions(file, FileFaults::WriteOnly);
        MessageRecorder messages;
        {
            const FileFaults::Unprivileged user;
            if (!user.ok()) {
                QSKIP("cannot take an unprivileged user here");
            }
            IniProfile ini(file);
            QCOMPARE(ini.readInteger(QStringLiteral("Controler"), QStringLiteral("Top"), -1), -1);
            QCOMPARE(ini.readInteger(QStringLiteral("Controler"), QStringLiteral("Top"), -1), -1);
            QVERIFY_THROWS_EXCEPTION(
                TZEMError, ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Top"), 5));
        }
        QCOMPARE(messages.errors, QStringList{file + QStringLiteral(" を読めません")});
        QCOMPARE(readFile(file), content);
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
        if (!FileFaults::readOnlyFoldersBind()) {
            QSKIP("read-only folders do not keep this process out");
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

    // One batch of sets and removals: each key lands where a write of it alone would, removed
    // sections lose every appearance, and the rest of the file stays byte for byte.
    void applyChangesInOneBatch_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("a section removed, both appearances, with its comments")
            << QByteArray("; top\n[A1]\nX=1\n; of A1\n[Keep]\nK=1\n[a1]\nY=2\n")
            << QByteArray("; top\n[Keep]\nK=1\n[S]\nOn=0\nNew=n\n[A1]\nX=9\n");
        QTest::newRow("keys removed, set into a removed section, CRLF kept")
            << QByteArray("[S]\r\nDue=1\r\nOn=1\r\nDUE=2\r\n[A1]\r\nX=1\r\n[T]\r\nZ=0")
            << QByteArray("[S]\r\nOn=0\r\nNew=n\r\n[T]\r\nZ=0\r\n[A1]\r\nX=9\r\n");
        QTest::newRow("the same key twice in a new section, set again")
            << QByteArray("; only a comment\n")
            << QByteArray("; only a comment\n[S]\nOn=0\nNew=n\n[A1]\nX=9\n");
        QTest::newRow("a removed key that is not there, a missing section to remove")
            << QByteArray("[S]\nOn=1\n\n\n[Z]\n")
            << QByteArray("[S]\nOn=0\nNew=n\n\n\n[Z]\n[A1]\nX=9\n");
    }
    void applyChangesInOneBatch() {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMUAlarm.ini"));
        writeFile(file, before);
        IniProfile::Changes changes;
        changes.removedKeys = {{QStringLiteral("s"), QStringLiteral("due"), {}}};
        changes.removedSections = {QStringLiteral("A1"), QStringLiteral("Gone")};
        changes.set = {{QStringLiteral("S"), QStringLiteral("On"), QStringLiteral("1")},
                       {QStringLiteral("A1"), QStringLiteral("X"), QStringLiteral("9")},
                       {QStringLiteral("S"), QStringLiteral("New"), QStringLiteral("n")},
                       {QStringLiteral("s"), QStringLiteral("ON"), QStringLiteral("0")}};
        changes.set[3].key = QStringLiteral("On");
        IniProfile(file).apply(changes);
        QCOMPARE(readFile(file), after);
    }

    // A batch of thousands of keys into a file of thousands of lines is one quick pass, and the
    // keys read back through one parse of the file.
    void largeBatch() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMUMarket.ini"));
        QByteArray before = "[Product]\n";
        QList<IniProfile::Entry> entries;
        for (int i = 0; i < 6000; ++i) {
            before += "Item" + QByteArray::number(i) + "=01.00\n";
            entries.append({QStringLiteral("Product"), QStringLiteral("Item%1").arg(i * 2),
                            QStringLiteral("02.00"), Qt::CaseSensitive});
        }
        writeFile(file, before);
        QElapsedTimer timer;
        timer.start();
        IniProfile(file).write(entries);
        const IniProfile::Contents contents = IniProfile(file).read();
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(contents.entries().size(), 9000);
        for (const int i : {0, 1, 2999, 3000, 5999, 6000, 11998}) {
            QCOMPARE(contents.readString(QStringLiteral("PRODUCT"), QStringLiteral("Item%1").arg(i),
                                         QStringLiteral("none")),
                     i % 2 == 0 ? QStringLiteral("02.00") : QStringLiteral("01.00"));
        }
    }

    // A file too large to be settings is not read (it would hold up the start), said once, and
    // never overwritten.
    void oversizedFileIsLeftAlone() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("TAMUAlarm.ini"));
        const QByteArray content =
            "[Alarms]\nCount=1\n" + QByteArray(IniProfile::MaxFileBytes, ';') + "\n";
        writeFile(file, content);
        MessageRecorder messages;
        IniProfile ini(file);
        QCOMPARE(ini.readInteger(QStringLiteral("Alarms"), QStringLiteral("Count"), -1), -1);
        QVERIFY(ini.read().entries().isEmpty());
        QVERIFY_THROWS_EXCEPTION(
            TZEMError, ini.writeInteger(QStringLiteral("Alarms"), QStringLiteral("Count"), 2));
        QCOMPARE(messages.errors,
                 QStringList{file + QStringLiteral(" を読めません（512 KB を超える設定ファイルは"
                                                   "読みません）")});
        QCOMPARE(readFile(file), content);
        // One byte less is a file like any other.
        writeFile(file, content.left(IniProfile::MaxFileBytes));
        QCOMPARE(ini.readInteger(QStringLiteral("Alarms"), QStringLiteral("Count"), -1), 1);
    }
};

QTEST_GUILESS_MAIN(ProfileTest)
#include "tst_profile.moc"
