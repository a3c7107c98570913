// Imports an Access item database into TAMU's item database:
//   tamu-import-mdb [--time-limit=<seconds>] [--] <in.mdb> [<out.db>]
//   tamu-import-mdb --help | --version
// The output defaults to the input's name with ".db" beside it. Prints the rows of each table;
// on failure prints the reason and exits with 1, leaving an existing output as it was; a wrong
// command line exits with 2; another import writing the same output, 3; no reader of Access
// files on this system (Windows without the Access driver), 4. An import that runs
// longer than its time limit (600 seconds unless given) is ended as a failure. Its manual page,
// packaging/linux/tamu-import-mdb.1, says the same.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstring>
#endif

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"

namespace {

const char Usage[] = "使い方: tamu-import-mdb [--time-limit=<秒>] [--] <入力.mdb> [<出力.db>]\n";

constexpr int DefaultTimeLimit = 600;

const char Help[] =
    "Access のアイテムデータベース (.mdb, .accdb) を TAMU のアイテムデータベースに取り込みます。\n"
    "<出力.db> を省くと、入力と同じフォルダーに拡張子を .db にした名前で書き込みます。\n"
    "取り込めなかったときは理由を表示し、それまでの <出力.db> はそのまま残ります。\n"
    "\n"
    "出力が通常のファイル以外 (デバイス、パイプ、シンボリックリンク) のときは書き込みません。\n"
    "\n"
    "  --time-limit=<秒>  取り込みがこの秒数で終わらなければ中止します (既定 600)\n"
    "  -h, --help         この説明を表示して終了します\n"
    "  -V, --version      バージョンを表示して終了します\n"
    "  --                 これより後の引数は - で始まってもファイル名です\n"
    "\n"
    "終了コード: 0 取り込み完了、1 取り込めなかった、2 引数の誤り、\n"
    "            3 別の取り込みが同じ出力に書き込み中、\n"
    "            4 Access のファイルを読むドライバーがない\n";

int usageError(const QString& problem) {
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tamu-import-mdb: %s\n", qUtf8Printable(problem));
    }
    std::fputs(Usage, stderr);
    return 2;
}

// Whether the lock on `output` is this process's: QLockFile writes its owner's process id first.
bool holdsLock(const QString& output) {
    QFile lock(ItemDbImport::lockPath(output));
    return lock.open(QIODevice::ReadOnly) &&
           lock.readLine().trimmed() == QByteArray::number(QCoreApplication::applicationPid());
}

// Ends the program when the import outlasts its limit: a damaged file can send the Access
// library round in circles inside one call, where no check of ours runs. The unfinished database
// is removed, so that nothing half written is left behind.
class Watchdog {
public:
    Watchdog(std::chrono::seconds limit, QString input, QString output)
        : m_thread([this, limit, input = std::move(input), output = std::move(output)] {
              std::unique_lock<std::mutex> lock(m_mutex);
              if (m_done.wait_for(lock, limit, [this] { return m_finished; })) {
                  return;
              }
              const QString reason =
                  QStringLiteral(
                      "%1 秒以内に読み終わらないため中止しました。ファイルが壊れている"
                      "可能性があります")
                      .arg(limit.count());
              std::fflush(stdout);
              std::fprintf(stderr, "tamu-import-mdb: %s\n",
                           qUtf8Printable(ItemDbImport::failureMessage(input, reason)));
              std::fflush(stderr);
              // Only this import's own files: another may hold the lock.
              if (holdsLock(output)) {
                  QFile::remove(ItemDbImport::temporaryPath(output));
                  QFile::remove(ItemDbImport::lockPath(output));
              }
              std::_Exit(1);
          }) {}
    ~Watchdog() {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_finished = true;
        }
        m_done.notify_one();
        m_thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    bool m_finished = false;
    std::thread m_thread;
};

#ifdef Q_OS_UNIX
// The Access library crashes on some damaged files. A crash still ends as a failure with its
// message, and without the unfinished database or the lock; the handler uses only what was
// prepared before the import began, and only calls that are safe in it. It takes the place of a
// sanitizer's report too: what crashes here is the library reading a damaged file.
struct CrashNote {
    QByteArray message;
    QByteArray partial;
    QByteArray lock;
    QByteArray owner;  // the first line of the lock while this process holds it
};
const CrashNote* crashNote = nullptr;

void onCrash(int) {
    if (crashNote != nullptr) {
        [[maybe_unused]] const ssize_t n =
            ::write(STDERR_FILENO, crashNote->message.constData(), crashNote->message.size());
        // Only this import's own files: another may hold the lock.
        char first[32] = {};
        const int fd = ::open(crashNote->lock.constData(), O_RDONLY);
        const ssize_t got = fd >= 0 ? ::read(fd, first, sizeof first - 1) : -1;
        if (fd >= 0) {
            ::close(fd);
        }
        const qsizetype ownerSize = crashNote->owner.size();
        if (got >= ownerSize && std::memcmp(first, crashNote->owner.constData(), ownerSize) == 0) {
            ::unlink(crashNote->partial.constData());
            ::unlink(crashNote->lock.constData());
        }
    }
    ::_exit(1);
}

void failOnCrash(const QString& input, const QString& output) {
    static CrashNote note;
    note.message = "tamu-import-mdb: " +
                   ItemDbImport::failureMessage(
                       input, QStringLiteral("読み込み中に異常終了しました。ファイルが壊れている"
                                             "可能性があります"))
                       .toUtf8() +
                   '\n';
    note.partial = QFile::encodeName(ItemDbImport::temporaryPath(output));
    note.lock = QFile::encodeName(ItemDbImport::lockPath(output));
    note.owner = QByteArray::number(QCoreApplication::applicationPid()) + '\n';
    crashNote = &note;
    struct sigaction action = {};
    action.sa_handler = onCrash;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (const int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        sigaction(s, &action, nullptr);
    }
}
#else
void failOnCrash(const QString&, const QString&) {}
#endif

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Options anywhere before a "--", as GNU commands take them; after it only file names.
    QStringList files;
    bool optionsEnded = false;
    int timeLimit = DefaultTimeLimit;
    const QString limitOption = QStringLiteral("--time-limit=");
    for (const QString& arg : QCoreApplication::arguments().mid(1)) {
        if (optionsEnded || !arg.startsWith(u'-')) {
            files.append(arg);
        } else if (arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (arg == QLatin1String("-h") || arg == QLatin1String("--help")) {
            std::fputs(Usage, stdout);
            std::fputs(Help, stdout);
            return 0;
        } else if (arg == QLatin1String("-V") || arg == QLatin1String("--version")) {
            std::printf("tamu-import-mdb %s\n", TAMU_VERSION);
            return 0;
        } else if (arg.startsWith(limitOption)) {
            bool ok = false;
            timeLimit = arg.mid(limitOption.size()).toInt(&ok);
            if (!ok || timeLimit <= 0) {
                return usageError(
                    QStringLiteral("%1 の秒数は 1 以上の整数で指定してください").arg(arg));
            }
        } else {
            return usageError(QStringLiteral("オプション %1 はありません").arg(arg));
        }
    }
    if (files.isEmpty() || files.size() > 2) {
        return usageError(QString());
    }
    const QString input = files[0];
    const QFileInfo info(input);
    const QString output =
        files.size() > 1 ? files[1]
                         : info.dir().filePath(info.completeBaseName() + QStringLiteral(".db"));
    try {
        QList<ItemDbImport::TableCount> counts;
        {
            failOnCrash(input, output);
            const Watchdog watchdog(std::chrono::seconds(timeLimit), input, output);
            counts = ItemDbImport::fromFile(input, output);
        }
        for (const ItemDbImport::TableCount& c : counts) {
            std::printf("%-20s %10lld 行\n", qUtf8Printable(c.table),
                        static_cast<long long>(c.rows));
        }
        std::printf("%s に書き込みました\n", qUtf8Printable(QDir::toNativeSeparators(output)));
        return 0;
    } catch (const ItemDbImport::Busy& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tamu-import-mdb: %s\n", e.what());
        return 3;
    } catch (const AccessReaderMissing& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tamu-import-mdb: %s\n", e.what());
        return 4;
    } catch (const TZEMError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tamu-import-mdb: %s\n", e.what());
        return 1;
    }
}
