#include "mdbimport/AccessSource.h"

#include <QFileInfo>

#include "common/TZEMError.h"

#ifdef _WIN32
#include "mdbimport/OdbcSource.h"
#else
#include "mdbimport/MdbSource.h"
#endif

std::unique_ptr<AccessSource> AccessSource::open(const QString& path) {
#ifdef _WIN32
    return std::make_unique<OdbcSource>(path);
#else
    return std::make_unique<MdbSource>(path);
#endif
}

void AccessSource::checkFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        throw TZEMError(QStringLiteral("ファイルがありません"));
    }
    if (info.isDir()) {
        throw TZEMError(QStringLiteral("ファイルではなくフォルダーです"));
    }
    if (!info.isReadable()) {
        throw TZEMError(QStringLiteral("ファイルを読む権限がありません"));
    }
    if (info.size() == 0) {
        throw TZEMError(QStringLiteral("空のファイルです (0 バイト)"));
    }
}
