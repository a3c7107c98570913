// Imports an Access item database into TAMU's item database:
//   tamu-import-mdb <in.mdb> [<out.db>]
// The output defaults to the input's name with ".db" beside it. Prints the rows of each table;
// on failure prints the reason and exits with 1, leaving an existing output as it was.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

#include "common/TZEMError.h"
#include "mdbimport/ItemDbImport.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.size() > 2 || args.first().startsWith(u'-')) {
        std::fprintf(stderr, "使い方: tamu-import-mdb <入力.mdb> [<出力.db>]\n");
        return 2;
    }
    const QString input = args[0];
    const QFileInfo info(input);
    const QString output =
        args.size() > 1 ? args[1]
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
