// Damaged Access files made from the fixtures, byte by byte, the same ones at every run: on each
// the import command ends within its time limit, either with the whole database or with its
// message and the previous database as it was, never with a half-written file or its lock left.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <map>
#include <memory>
#include <random>

#include "mdbimport/AccessFileIdentity.h"
#include "mdbimport/ItemDbImport.h"
#include "mdbimport/SqlConnection.h"

namespace {

constexpr int TimeLimitSeconds = 4;                    // the command's own bound
constexpr int HangMs = (TimeLimitSeconds + 6) * 1000;  // beyond it, the command hangs
constexpr int BudgetMs = 75000;                        // the whole run, on two busy cores
constexpr int Parallel = 2;
constexpr qsizetype TailBytes = 16 * 1024;
constexpr qint64 Page = 4096;

struct Fixture {
    QString path;
    int mutants;
};

QList<Fixture> fixtures() {
    return {{QStringLiteral(TAMU_ITEM_FIXTURES "/TAMU_Item_jet4.mdb"), 130},
            {QStringLiteral(TAMU_ITEM_FIXTURES "/TAMU_Item_ace2007.accdb"), 130},
            {QStringLiteral(TAMU_MDB_FIXTURES "/testUnicodeCompV2003.mdb"), 20},
            {QStringLiteral(TAMU_MDB_FIXTURES "/mit/V2016-withdeletedcol.accdb"), 20}};
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One damage of the kinds a disk, a transfer or a careless tool does: bytes changed, mostly in
// the pages that describe the tables; a page copied over another (page chains then loop); the
// file cut off at a page.
QByteArray mutate(QByteArray bytes, std::mt19937& random) {
    const auto below = [&](qint64 n) {
        return std::uniform_int_distribution<qint64>(0, std::max<qint64>(n, 1) - 1)(random);
    };
    const qint64 pages = bytes.size() / Page;
    switch (below(4)) {
        case 0:
        case 1: {
            const qint64 span =
                below(2) == 0 ? std::min<qint64>(bytes.size(), 8 * Page) : bytes.size();
            for (qint64 n = 1 + below(8); n > 0; --n) {
                bytes[below(span)] = char(below(256));
            }
            break;
        }
        case 2: {
            const qint64 from = below(pages);
            const qint64 to = 1 + below(pages - 1);
            bytes.replace(to * Page, Page, bytes.mid(from * Page, Page));
            break;
        }
        default:
            bytes.truncate((1 + below(pages - 1)) * Page);
            break;
    }
    return bytes;
}

struct Run {
    QString name;
    QString input;
    QString output;
    QByteArray previous;  // the output before the run; empty when there was none
    std::unique_ptr<QProcess> process;
    QByteArray errors;
    QElapsedTimer clock;
};

bool holdsItemTables(const QString& database) {
    const SqlConnection connection(QStringLiteral("QSQLITE"), database);
    QSqlDatabase db = connection.db();
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!db.open()) {
        return false;
    }
    for (const char* table : {"ItemKind", "ItemInfo", "ItemCreator", "ItemCreateRelation"}) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table)))) {
            return false;
        }
    }
    QSqlQuery check(db);
    return check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next() &&
           check.value(0).toString() == QLatin1String("ok");
}

// What is wrong with a finished run, or the empty text.
QString verdict(const Run& run, std::map<QString, int>& outcomes) {
    const QString text = QString::fromUtf8(run.errors);
    if (QFile::exists(ItemDbImport::temporaryPath(run.output))) {
        return QStringLiteral("left its unfinished database");
    }
    if (QFile::exists(ItemDbImport::lockPath(run.output))) {
        return QStringLiteral("left its lock");
    }
    if (run.process->exitStatus() != QProcess::NormalExit) {
        return QStringLiteral("crashed");
    }
    switch (run.process->exitCode()) {
        case 0:
            ++outcomes[QStringLiteral("imported")];
            if (!holdsItemTables(run.output)) {
                return QStringLiteral("reported success without a whole database");
            }
            if (ItemDbImport::importedFrom(run.output) != AccessFileIdentity::of(run.input)) {
                return QStringLiteral("did not record its source");
            }
            return QString();
        case 1:
            ++outcomes[text.contains(QStringLiteral("秒以内に読み終わらない"))
                           ? QStringLiteral("timed out")
                           : QStringLiteral("refused")];
            if (!text.contains(QStringLiteral("tamu-import-mdb: Access のアイテムデータベース"))) {
                return QStringLiteral("failed without its message: ") + text.right(300);
            }
            if (readAll(run.output) != run.previous) {
                return QStringLiteral("failed and changed the previous database");
            }
            return QString();
        default:
            return QStringLiteral("exit code %1: %2")
                .arg(run.process->exitCode())
                .arg(text.right(300));
    }
}

}  // namespace

class ImportMutationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyDamagedFileEnds() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString command =
            QCoreApplication::applicationDirPath() + QStringLiteral("/tamu-import-mdb");

        // Every mutant, in a fixed order from a fixed seed.
        struct Mutant {
            QString name;
            QByteArray bytes;
        };
        QList<Mutant> mutants;
        std::mt19937 random(20261209);
        for (const Fixture& fixture : fixtures()) {
            const QByteArray original = readAll(fixture.path);
            QVERIFY2(!original.isEmpty(), qUtf8Printable(fixture.path));
            for (int i = 0; i < fixture.mutants; ++i) {
                mutants.append(
                    {QStringLiteral("%1 #%2").arg(QFileInfo(fixture.path).fileName()).arg(i),
                     mutate(original, random)});
            }
        }

        QElapsedTimer total;
        total.start();
        QEventLoop loop;
        std::vector<std::unique_ptr<Run>> running;
        QStringList faults;
        std::map<QString, int> outcomes;
        qsizetype next = 0;
        int finished = 0;

        const auto startNext = [&] {
            while (running.size() < std::size_t(Parallel) && next < mutants.size() &&
                   total.elapsed() < BudgetMs) {
                const qsizetype n = next++;
                auto run = std::make_unique<Run>();
                run->name = mutants[n].name;
                run->input = dir.filePath(QStringLiteral("in%1.mdb").arg(n));
                run->output = dir.filePath(QStringLiteral("out%1.db").arg(n));
                QFile in(run->input);
                if (!in.open(QIODevice::WriteOnly) || in.write(mutants[n].bytes) < 0) {
                    faults << QStringLiteral("cannot write %1").arg(run->input);
                    continue;
                }
                in.close();
                if (n % 2 == 0) {
                    run->previous = QByteArray("the previous database");
                    QFile out(run->output);
                    if (!out.open(QIODevice::WriteOnly) || out.write(run->previous) < 0) {
                        faults << QStringLiteral("cannot write %1").arg(run->output);
                        continue;
                    }
                }
                run->process = std::make_unique<QProcess>();
                QProcess* p = run->process.get();
                Run* r = run.get();
                p->setStandardOutputFile(QProcess::nullDevice());
                // The library may write warnings without end: read them, keep the tail.
                QObject::connect(p, &QProcess::readyReadStandardError, p, [p, r] {
                    r->errors += p->readAllStandardError();
                    if (r->errors.size() > TailBytes) {
                        r->errors.remove(0, r->errors.size() - TailBytes);
                    }
                });
                QObject::connect(p, &QProcess::finished, &loop, [&, r] {
                    r->errors += r->process->readAllStandardError();
                    const QString fault = verdict(*r, outcomes);
                    r->process->disconnect();
                    r->process.release()->deleteLater();
                    if (!fault.isEmpty()) {
                        faults << r->name + QStringLiteral(": ") + fault;
                        QFile::copy(r->input, QDir(QStringLiteral(TAMU_MUTANT_KEEP))
                                                  .filePath(QFileInfo(r->input).fileName()));
                    }
                    QFile::remove(r->input);
                    QFile::remove(r->output);
                    ++finished;
                    std::erase_if(running, [r](const auto& x) { return x.get() == r; });
                    QTimer::singleShot(0, &loop, [&] {
                        if (running.empty() &&
                            (next >= mutants.size() || total.elapsed() >= BudgetMs)) {
                            loop.quit();
                        }
                    });
                });
                r->clock.start();
                p->start(command, {QStringLiteral("--time-limit=%1").arg(TimeLimitSeconds),
                                   run->input, run->output});
                running.push_back(std::move(run));
            }
        };
        QTimer pump;
        QObject::connect(&pump, &QTimer::timeout, &loop, [&] {
            for (const auto& run : running) {
                if (run->process && run->clock.elapsed() > HangMs &&
                    run->process->state() != QProcess::NotRunning) {
                    faults << run->name + QStringLiteral(": hangs beyond its time limit");
                    run->process->kill();
                }
            }
            startNext();
        });
        pump.start(20);
        startNext();
        loop.exec();
        pump.stop();

        QStringList summary;
        for (const auto& [outcome, count] : outcomes) {
            summary << QStringLiteral("%1 %2").arg(outcome).arg(count);
        }
        qInfo("%d of %lld mutants in %lld ms: %s", finished, qlonglong(mutants.size()),
              qlonglong(total.elapsed()), qUtf8Printable(summary.join(QStringLiteral(", "))));
        QVERIFY2(faults.isEmpty(), qUtf8Printable(faults.join(u'\n')));
        // A machine too slow for the budget still runs a good share.
        QVERIFY2(finished >= 100, qUtf8Printable(QString::number(finished)));
    }
};

QTEST_GUILESS_MAIN(ImportMutationTest)
#include "tst_importmutation.moc"
