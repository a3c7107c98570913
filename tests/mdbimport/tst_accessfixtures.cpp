// Real Access item databases, an Access 2000 .mdb and an Access 2007 .accdb holding the sample
// item database's four tables, through each reader the platform has: every value, in order, is
// the sample database's, and the import makes exactly the sample database of them.
//
// The mdbtools ODBC driver, through which Linux tests the ODBC reader, reads the empty text as
// NULL. The import rightly refuses a NULL in those columns, so that reader is held against the
// sample value by value only, the empty text expected as NULL; Windows' Access driver imports.
#include <QCoreApplication>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/OdbcSource.h"
#include "support/ItemDbDump.h"
#include "support/OdbcTestDriver.h"
#ifndef _WIN32
#include "support/OdbcAsanSuppressions.h"
#endif
#ifndef _WIN32
#include "mdbimport/MdbSource.h"
#endif

namespace {

const QString FixtureFolder = QStringLiteral(TAMU_ITEM_FIXTURES);
const char* const Tables[] = {"ItemKind", "ItemInfo", "ItemCreator", "ItemCreateRelation"};

QString sampleDatabase() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/TAMU_Item.db");
}

// The readers of this platform, and whether each reads the empty text as NULL.
QList<std::pair<QString, bool>> readers() {
#ifdef _WIN32
    return {{QStringLiteral("OdbcSource"), false}};
#else
    return {{QStringLiteral("MdbSource"), false}, {QStringLiteral("OdbcSource"), true}};
#endif
}

std::unique_ptr<AccessSource> openWith([[maybe_unused]] const QString& reader,
                                       const QString& file) {
#ifndef _WIN32
    if (reader == u"MdbSource") {
        return std::make_unique<MdbSource>(file);
    }
#endif
    return std::make_unique<OdbcSource>(file, odbcTestDriver());
}

QString shown(bool null, const QString& text) {
    return null ? QStringLiteral("(NULL)") : text;
}

// Every row of the sample's item tables: its column names and its values as text.
QList<std::pair<QStringList, QStringList>> sampleRows(bool emptyAsNull) {
    QList<std::pair<QStringList, QStringList>> rows;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sample"));
        db.setDatabaseName(sampleDatabase());
        db.open();
        for (const char* table : Tables) {
            QSqlQuery q(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(QLatin1String(table)),
                        db);
            while (q.next()) {
                QStringList names{QString::fromLatin1(table)};
                QStringList values{QString::fromLatin1(table)};
                for (int i = 0; i < q.record().count(); ++i) {
                    const QString text = q.value(i).toString();
                    names << q.record().fieldName(i);
                    values << shown(q.isNull(i) || (emptyAsNull && text.isEmpty()), text);
                }
                rows.push_back({names, values});
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("sample"));
    return rows;
}

// The rows of the item tables of `source`, the columns of `layout` (table, then columns).
QStringList readRows(AccessSource& source, const QString& table, const QStringList& layout) {
    std::unique_ptr<AccessTable> t = source.table(table);
    QStringList names;
    for (const AccessColumn& c : t->columns()) {
        names << c.name;
    }
    QList<int> selected;
    for (qsizetype i = 1; i < layout.size(); ++i) {
        selected << int(names.indexOf(layout[i]));
    }
    if (selected.contains(-1)) {
        throw TZEMError(table + QStringLiteral(": columns ") + names.join(u','));
    }
    t->select(selected);
    QStringList rows;
    ItemDbImport::readRows(*t, table, [&](const AccessRow& row, std::int64_t) {
        QStringList values{table};
        for (const AccessValue& v : row) {
            values << shown(v.null, v.text);
        }
        rows << values.join(u'\t');
    });
    return rows;
}

// Why the fixtures cannot be read here, or the empty text.
QString missing() {
    if (!QFileInfo(FixtureFolder).isDir()) {
        return QStringLiteral(
                   "the Access fixtures' folder %1 is missing (shared/ belongs beside "
                   "the checkout)")
            .arg(FixtureFolder);
    }
#ifdef _WIN32
    if (!OdbcSource::driverInstalled(odbcTestDriver())) {
        return QStringLiteral("Microsoft's Access driver is not installed here");
    }
#endif
    return QString();
}

}  // namespace

class AccessFixturesTest : public QObject {
    Q_OBJECT

    static void addRows(bool importing) {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("reader");
        QTest::addColumn<bool>("emptyAsNull");
        for (const char* file : {"TAMU_Item_jet4.mdb", "TAMU_Item_ace2007.accdb"}) {
            for (const auto& [reader, emptyAsNull] : readers()) {
                if (!importing || !emptyAsNull) {
                    QTest::addRow("%s, %s", file, qPrintable(reader))
                        << QString::fromLatin1(file) << reader << emptyAsNull;
                }
            }
        }
    }

private Q_SLOTS:
    void readsEverySampleValue_data() { addRows(false); }
    void readsEverySampleValue() {
        QFETCH(QString, file);
        QFETCH(QString, reader);
        QFETCH(bool, emptyAsNull);
        if (const QString why = missing(); !why.isEmpty()) {
            QSKIP(qPrintable(why));
        }
        const QList<std::pair<QStringList, QStringList>> sample = sampleRows(emptyAsNull);
        QVERIFY(!sample.isEmpty());
        QStringList expected;
        QStringList read;
        try {
            const std::unique_ptr<AccessSource> source =
                openWith(reader, FixtureFolder + u'/' + file);
            QStringList layout;
            for (const auto& [names, values] : sample) {
                expected << values.join(u'\t');
                if (names != layout) {
                    layout = names;
                    read << readRows(*source, names[0], names);
                }
            }
        } catch (const TZEMError& e) {
            QFAIL(qUtf8Printable(e.message()));
        }
        QCOMPARE(read, expected);
    }

    void importsTheSampleDatabase_data() { addRows(true); }
    void importsTheSampleDatabase() {
        QFETCH(QString, file);
        QFETCH(QString, reader);
        if (const QString why = missing(); !why.isEmpty()) {
            QSKIP(qPrintable(why));
        }
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("TAMU_Item.db"));
        QList<ItemDbImport::TableCount> counts;
        try {
            const std::unique_ptr<AccessSource> source =
                openWith(reader, FixtureFolder + u'/' + file);
            counts = ItemDbImport::run(*source, target);
        } catch (const TZEMError& e) {
            QFAIL(qUtf8Printable(e.message()));
        }
        const QStringList sample = dumpItemDb(sampleDatabase());
        QStringList summary;
        QStringList expected;
        for (const ItemDbImport::TableCount& c : counts) {
            summary << QStringLiteral("%1 %2").arg(c.table).arg(c.rows);
            const QString prefix = c.table + u'|';
            expected << QStringLiteral("%1 %2").arg(c.table).arg(
                std::count_if(sample.begin(), sample.end(),
                              [&](const QString& row) { return row.startsWith(prefix); }));
        }
        qInfo("%s via %s: %s", qPrintable(file), qPrintable(reader),
              qPrintable(summary.join(QStringLiteral(", "))));
        QCOMPARE(summary, expected);
        QCOMPARE(dumpItemDb(target), sample);
    }
};

QTEST_GUILESS_MAIN(AccessFixturesTest)
#include "tst_accessfixtures.moc"
