// Builds an item database file: the item tables, then the rows of SQL text files:
//   tamu_make_itemdb <output.db> <rows.sql> ...
// The database is written under a temporary name beside the output and renamed into place only
// when every statement ran, so a failed build never leaves half a database behind.
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QStringList>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "recipes/ItemDbSchema.h"
#include "recipes/SqlScript.h"

namespace {

bool build(const QString& target, const QStringList& sqlFiles, QString& error) {
    const QString connection = QStringLiteral("tamu_make_itemdb");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(target);
        if (!db.open()) {
            error = db.lastError().text();
            ok = false;
        } else if (!SqlScript::run(db, ItemDbSchema::tablesScript() + ItemDbSchema::indicesScript(),
                                   error)) {
            ok = false;
        }
        for (const QString& name : sqlFiles) {
            if (!ok) {
                break;
            }
            QFile file(name);
            if (!file.open(QIODevice::ReadOnly)) {
                error = name + QStringLiteral(": ") + file.errorString();
                ok = false;
                break;
            }
            if (!SqlScript::run(db, QString::fromUtf8(file.readAll()), error)) {
                error = name + QStringLiteral(": ") + error;
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tamu_make_itemdb <output.db> <rows.sql> ...\n");
        return 2;
    }
    const QString output = args.first();
    const QString temporary = output + QStringLiteral(".part");
    QFile::remove(temporary);
    QString error;
    if (!build(temporary, args.mid(1), error)) {
        QFile::remove(temporary);
        std::fprintf(stderr, "tamu_make_itemdb: %s\n", qUtf8Printable(error));
        return 1;
    }
    std::error_code ec;
    std::filesystem::rename(std::filesystem::path(temporary.toStdU16String()),
                            std::filesystem::path(output.toStdU16String()), ec);
    if (ec) {
        QFile::remove(temporary);
        std::fprintf(stderr, "tamu_make_itemdb: cannot replace %s: %s\n", qUtf8Printable(output),
                     ec.message().c_str());
        return 1;
    }
    return 0;
}
