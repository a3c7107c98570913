#include "common/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

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

bool existsOnDisk(const QString& folder) {
    return QFileInfo(QDir::cleanPath(folder)).exists();
}

#ifdef Q_OS_WIN
// A folder's attributes on Windows say nothing of who may write in it (Program Files is not
// read-only, yet a user cannot write there): only a try tells.
bool creatableOnDisk(const QString& folder) {
    const QString parent = QFileInfo(QDir::cleanPath(folder)).absolutePath();
    QTemporaryFile probe(parent + QStringLiteral("/TAMU.XXXXXX"));
    return QFileInfo(parent).isDir() && probe.open();
}
// The copy an installed TAMU brings along, in its own folder.
const QString InstalledFolder = QStringLiteral("/share/tamu/");
#else
bool creatableOnDisk(const QString& folder) {
    const QFileInfo parent(QFileInfo(QDir::cleanPath(folder)).absolutePath());
    return parent.isDir() && parent.isWritable();
}
const QString InstalledFolder = QStringLiteral("/../share/tamu/");
#endif

const QString ItemDatabase = QStringLiteral("TAMU_Item.db");

}  // namespace

QString choose(const QString& programFolder, const QString& userDataFolder,
               const std::function<bool(const QString& folder)>& exists,
               const std::function<bool(const QString& folder)>& creatable) {
    const QString portable = withSeparator(programFolder) + QStringLiteral("DAT/");
    if (exists(portable) || creatable(portable) || userDataFolder.isEmpty()) {
        return portable;
    }
    return withSeparator(userDataFolder) + QStringLiteral("DAT/");
}

QString prepare(const QString& programFolder, const QString& userDataFolder) {
    const QString installed = programFolder + InstalledFolder + ItemDatabase;
#ifdef Q_OS_WIN
    const auto creatable = creatableOnDisk;
#else
    const bool isInstalled = QFileInfo(installed).isFile();
    const auto creatable = [isInstalled](const QString& folder) {
        return !isInstalled && creatableOnDisk(folder);
    };
#endif
    const QString folder = choose(programFolder, userDataFolder, existsOnDisk, creatable);
    if (!existsOnDisk(folder)) {
        QDir().mkpath(folder);
    }
    seedItemDatabase(folder, installed);
    return folder;
}

bool seedItemDatabase(const QString& folder, const QString& installedDatabase) {
    const QString target = withSeparator(folder) + ItemDatabase;
    if (QFileInfo::exists(target) || !QFileInfo(installedDatabase).isFile()) {
        return false;
    }
    // Copy under a temporary name first, so an interrupted copy never looks like a database.
    const QString partial = target + QStringLiteral(".part");
    QFile::remove(partial);
    if (!QFile::copy(installedDatabase, partial)) {
        return false;
    }
    QFile::setPermissions(
        partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return QFile::rename(partial, target);
}

QString path() {
    if (!overridden().isEmpty()) {
        return overridden();
    }
    // ~/.local/share/TAMU on Linux, %LOCALAPPDATA%\TAMU on Windows.
    static const QString folder =
        prepare(QCoreApplication::applicationDirPath(),
                QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
    return folder;
}

void setOverride(const QString& folder) {
    overridden() = folder.isEmpty() ? QString() : withSeparator(QDir::cleanPath(folder));
}

}  // namespace DataFolder
