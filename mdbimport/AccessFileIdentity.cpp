#include "mdbimport/AccessFileIdentity.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

AccessFileIdentity AccessFileIdentity::of(const QString& path) {
    QFile file(path);
    const QFileInfo info(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    AccessFileIdentity id;
    id.size = file.size();
    id.modifiedMs = info.lastModified().toMSecsSinceEpoch();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const QByteArray first = file.read(PageBytes);
    if (first.size() != qMin(id.size, PageBytes)) {
        return {};
    }
    hash.addData(first);
    if (id.size > PageBytes) {
        const qint64 lastStart = qMax(PageBytes, id.size - PageBytes);
        if (!file.seek(lastStart)) {
            return {};
        }
        const QByteArray last = file.read(id.size - lastStart);
        if (last.size() != id.size - lastStart) {
            return {};
        }
        hash.addData(last);
    }
    id.hash = hash.result().toHex();
    return id;
}
