#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "common/TZEMError.h"
#include "common/TableText.h"

class TableTextTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void quoting_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("tsv");
        QTest::addColumn<QString>("csv");
        QTest::newRow("plain Japanese") << "次回必要経験値"
                                        << "次回必要経験値"
                                        << "次回必要経験値";
        QTest::newRow("comma") << "1,2"
                               << "1,2"
                               << "\"1,2\"";
        QTest::newRow("tab") << "a\tb"
                             << "\"a\tb\""
                             << "a\tb";
        QTest::newRow("quote") << "say \"hi\""
                               << "\"say \"\"hi\"\"\""
                               << "\"say \"\"hi\"\"\"";
        QTest::newRow("line break") << "a\nb"
                                    << "\"a\nb\""
                                    << "\"a\nb\"";
    }
    void quoting() {
        QFETCH(QString, field);
        QFETCH(QString, tsv);
        QFETCH(QString, csv);
        const QList<QStringList> rows{{field, QStringLiteral("-3")}};
        QCOMPARE(TableText::toTsv(rows), tsv + QStringLiteral("\t-3\n"));
        QCOMPARE(TableText::toCsv(rows),
                 QByteArray("\xEF\xBB\xBF") + (csv + QStringLiteral(",-3\r\n")).toUtf8());
    }

    void csvFileHasBomAndCrLf() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("表.csv"));
        TableText::saveCsv(file, {{QStringLiteral("レベル"), QStringLiteral("生命")},
                                  {QStringLiteral("1"), QStringLiteral("34")}});
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("\xEF\xBB\xBF") + QStringLiteral("レベル,生命\r\n1,34\r\n").toUtf8());
    }

    void missingFolderIsAnError() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("ない/表.csv"));
        QVERIFY_THROWS_EXCEPTION(TZEMError, TableText::saveCsv(file, {{QStringLiteral("x")}}));
        QVERIFY(!QFile::exists(file));
    }

    // A failed write says so and leaves the old file whole.
    void unwritableFolderKeepsOldFile() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("old.csv"));
        {
            QFile f(file);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("old");
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
        if (QFile(dir.filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly)) {
            QSKIP("the folder stays writable (running as root)");
        }
        try {
            TableText::saveCsv(file, {{QStringLiteral("x")}});
            QFAIL("no error");
        } catch (const TZEMError& e) {
            QCOMPARE(e.message(), TZEMError::cannotWrite(file).message());
        }
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old"));
    }
};

QTEST_GUILESS_MAIN(TableTextTest)
#include "tst_tabletext.moc"
