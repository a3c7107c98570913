// libFuzzer target: any bytes as an INI file, also re-encoded the ways Japanese Windows writes
// settings files (UTF-16 LE/BE with a mark, Shift-JIS, UTF-8 with a mark). Reading never fails;
// a write of one key reads back, every other key keeps its value, the byte-order mark stays, and
// writing the same value again changes no byte.
#include <QDir>
#include <QFile>
#include <QStringEncoder>
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

QByteArray readAll(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

// A first byte of 1 to 4 re-encodes the rest; any other input is the file as it is.
QByteArray fileBytes(const std::uint8_t* data, std::size_t size) {
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (size == 0) {
        return all;
    }
    const QByteArray rest = all.mid(1);
    const QString text = QString::fromUtf8(rest);
    switch (data[0]) {
        case 1:
            return QByteArray("\xFF\xFE") + QByteArray(QStringEncoder("UTF-16LE").encode(text));
        case 2:
            return QByteArray("\xFE\xFF") + QByteArray(QStringEncoder("UTF-16BE").encode(text));
        case 3:
            return QStringEncoder("windows-31j").encode(text);
        case 4:
            return QByteArray("\xEF\xBB\xBF") + rest;
        default:
            return all;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString& file = scratchFile();
    const QByteArray before = fileBytes(data, size);
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        out.write(before);
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
    check(ini.readString(otherSection, QStringLiteral("SetTime"), QStringLiteral("<none>")) ==
          otherBefore);
    const QByteArray after = readAll(file);
    for (const char* bom : {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"}) {
        check(before.startsWith(bom) == after.startsWith(bom));
    }
    ini.writeInteger(section, QStringLiteral("Left"), 1013);
    check(readAll(file) == after);
    return 0;
}
