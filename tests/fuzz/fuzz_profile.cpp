// libFuzzer target: any bytes as an INI file. Reading never fails, and a write of one key reads
// back while every other key of the file keeps its value.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "common/IniProfile.h"

namespace {

const QString& scratchFile() {
    // Each write replaces the file with a synced copy: keep it in memory where there is a tmpfs.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tamu-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tamu-fuzz-XXXXXX"));
    static const QString file = dir.filePath(QStringLiteral("fuzz.ini"));
    return file;
}

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString& file = scratchFile();
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        out.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    IniProfile ini(file);
    const QString section = QStringLiteral("Controler");
    const QString otherSection = QStringLiteral("TAMUTime");
    const QString otherBefore =
        ini.readString(otherSection, QStringLiteral("SetTime"), QStringLiteral("<none>"));
    const std::int32_t top = ini.readInteger(section, QStringLiteral("Top"), -1);
    (void)top;
    IniProfile::parseInteger(
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));

    ini.writeInteger(section, QStringLiteral("Left"), 1013);
    check(ini.readInteger(section, QStringLiteral("Left"), -1) == 1013);
    // Only a key that shares the section with the written one could be affected.
    if (section.compare(otherSection, Qt::CaseInsensitive) != 0) {
        const QString otherAfter =
            ini.readString(otherSection, QStringLiteral("SetTime"), QStringLiteral("<none>"));
        check(otherAfter == otherBefore || otherBefore.contains(QChar::ReplacementCharacter));
    }
    return 0;
}
