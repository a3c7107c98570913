#pragma once

#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "common/Messages.h"

// Large item databases for benchmarks, made by tamu_gen_itemdb (its path comes in as
// TAMU_GEN_ITEMDB) unless the command line named one.
namespace GeneratedItemDb {

// Makes `path` a database of `items` items in the scratch folder when it is still empty; false
// (and a line on the console) when that fails.
inline bool ensure(QString& path, int items, const QTemporaryDir& scratch) {
    if (!path.isEmpty()) {
        return true;
    }
#ifdef TAMU_GEN_ITEMDB
    path = scratch.filePath(QStringLiteral("TAMU_Item_%1.db").arg(items));
    QElapsedTimer timer;
    timer.start();
    const int rc =
        QProcess::execute(QStringLiteral(TAMU_GEN_ITEMDB), {path, QString::number(items)});
    if (rc != 0) {
        std::fprintf(stderr, "tamu_gen_itemdb failed (%d)\n", rc);
        return false;
    }
    std::fprintf(stderr, "generated %s (%d items) in %lld ms\n", qUtf8Printable(path), items,
                 static_cast<long long>(timer.elapsed()));
    return true;
#else
    Q_UNUSED(items);
    Q_UNUSED(scratch);
    std::fprintf(stderr, "no generator built: name the item databases on the command line\n");
    return false;
#endif
}

// Takes the options "<prefix><file>" that name item databases out of the command line and returns
// the rest, for the benchmark library; the program runs offscreen unless told otherwise.
inline std::vector<char*> takeOptions(
    int argc, char* argv[], std::initializer_list<std::pair<const char*, QString*>> options) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        bool taken = false;
        for (const auto& [prefix, value] : options) {
            const std::size_t length = std::strlen(prefix);
            if (!taken && std::strncmp(argv[i], prefix, length) == 0) {
                *value = QString::fromLocal8Bit(argv[i] + length);
                taken = true;
            }
        }
        if (!taken) {
            rest.push_back(argv[i]);
        }
    }
    return rest;
}

// Messages go to the console; questions are answered OK.
inline void consoleMessages() {
    Messages::setPresenters(Messages::Presenters{
        [](const QString& t) { std::fprintf(stderr, "error: %s\n", qUtf8Printable(t)); },
        [](const QString& t) { std::fprintf(stderr, "message: %s\n", qUtf8Printable(t)); },
        [](const QString&, const QString&) { return true; }});
}

}  // namespace GeneratedItemDb
