#include "common/DataFolder.h"

#include <QCoreApplication>
#include <QDir>

namespace DataFolder {
namespace {

QString& overridden() {
    static QString folder;
    return folder;
}

QString withSeparator(QString folder) {
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    return folder;
}

}  // namespace

QString path() {
    if (!overridden().isEmpty()) {
        return overridden();
    }
    return withSeparator(QCoreApplication::applicationDirPath()) + QStringLiteral("DAT/");
}

void setOverride(const QString& folder) {
    overridden() = folder.isEmpty() ? QString() : withSeparator(QDir::cleanPath(folder));
}

}  // namespace DataFolder
