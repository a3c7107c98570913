// Imports an Access item database into TAMU's item database:
//   tamu-import-mdb [--] <in.mdb> [<out.db>]
//   tamu-import-mdb --help | --version
// The output defaults to the input's name with ".db" beside it. Prints the rows of each table;
// on failure prints the reason and exits with 1, leaving an existing output as it was; a wrong
// command line exits with 2. Its manual page, packaging/linux/tamu-import-mdb.1, says the same.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"

namespace {

const char Usage[] = "使い方: tamu-import-mdb [--] <入力.mdb> [<出力.db>]\n";

const char Help[] =
    "Access のアイテムデータベース (.mdb, .accdb) を TAMU のアイテムデータベースに取り込みます。\n"
    "<出力.db> を省くと、入力と同じフォルダーに拡張子を .db にした名前で書き込みます。\n"
    "取り込めなかったときは理由を表示し、それまでの <出力.db> はそのまま残ります。\n"
    "\n"
    "  -h, --help     この説明を表示して終了します\n"
    "  -V, --version  バージョンを表示して終了します\n"
    "  --             これより後の引数は - で始まってもファイル名です\n"
    "\n"
    "終了コード: 0 取り込み完了、1 取り込めなかった、2 引数の誤り\n";

int usageError(const QString& problem) {
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "tamu-import-mdb: %s\n", qUtf8Printable(problem));
    }
    std::fputs(Usage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // Options anywhere before a "--", as GNU commands take them; after it only file names.
    QStringList files;
    bool optionsEnded = false;
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
        const QList<ItemDbImport::TableCount> counts = ItemDbImport::fromFile(input, output);
        for (const ItemDbImport::TableCount& c : counts) {
            std::printf("%-20s %10lld 行\n", qUtf8Printable(c.table),
                        static_cast<long long>(c.rows));
        }
        std::printf("%s に書き込みました\n", qUtf8Printable(QDir::toNativeSeparators(output)));
        return 0;
    } catch (const TZEMError& e) {
        std::fflush(stdout);
        std::fprintf(stderr, "tamu-import-mdb: %s\n", e.what());
        return 1;
    }
}
