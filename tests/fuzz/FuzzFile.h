#pragma once
// What the file fuzzers share: a scratch file for the bytes, checks that abort, and the lines of
// a file as stored, for checking that the lines a save does not own survive it byte for byte.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QList>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "common/Messages.h"

namespace FuzzFile {

// The folder of the scratch files (with a separator), in memory where there is a tmpfs: each
// save replaces a file with a synced copy.
inline const QString& folder() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/tamu-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/tamu-fuzz-XXXXXX"));
    static const QString path = dir.path() + u'/';
    return path;
}

// A Qt application for the objects that need one; messages go nowhere.
inline void setUp() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    Messages::setPresenters({[](const QString&) {}, [](const QString&) {},
                             [](const QString&, const QString&) { return true; }});
}

inline void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

inline QByteArray read(const QString& file) {
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("(none)");
}

inline void write(const QString& file, const QByteArray& bytes) {
    QFile out(file);
    check(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(out.write(bytes) == bytes.size());
}

// A first byte of 1 to 3 re-encodes the rest the ways Japanese Windows writes settings files
// (UTF-16 LE with a mark, Shift-JIS, UTF-8 with a mark); any other input is the file as it is.
inline QByteArray fileBytes(const std::uint8_t* data, std::size_t size) {
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (size == 0) {
        return all;
    }
    const QByteArray rest = all.mid(1);
    switch (data[0]) {
        case 1:
            return QByteArray("\xFF\xFE") +
                   QByteArray(QStringEncoder("UTF-16LE").encode(QString::fromUtf8(rest)));
        case 2:
            return QStringEncoder("windows-31j").encode(QString::fromUtf8(rest));
        case 3:
            return QByteArray("\xEF\xBB\xBF") + rest;
        default:
            return all;
    }
}

struct Line {
    QByteArray bytes;  // without its end
    QString text;
    std::optional<QString> section;  // the name, for a section header
};

// The lines of a UTF-8 file (its mark dropped), cut at CR LF, LF or CR as the profile cuts them;
// nothing for a file in another encoding.
inline std::optional<QList<Line>> utf8Lines(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes = bytes.mid(3);
    }
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString all = decoder.decode(bytes);
    if (decoder.hasError() || bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        return std::nullopt;
    }
    QList<Line> lines;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype i = start;
        while (i < bytes.size() && bytes[i] != '\n' && bytes[i] != '\r') {
            ++i;
        }
        Line line{bytes.mid(start, i - start), QString::fromUtf8(bytes.mid(start, i - start)), {}};
        const QString t = line.text.trimmed();
        if (t.size() >= 2 && t.startsWith(u'[') && t.endsWith(u']')) {
            line.section = t.mid(1, t.size() - 2).trimmed();
        }
        lines.append(line);
        if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    return lines;
}

// The key of a key line, as the profile reads it.
inline std::optional<QString> keyOf(const QString& text) {
    const QString t = text.trimmed();
    const qsizetype eq = t.indexOf(u'=');
    if (t.startsWith(u';') || eq <= 0) {
        return std::nullopt;
    }
    return t.left(eq).trimmed();
}

// Whether `kept` appears in `lines` in this order, other lines in between.
inline bool inOrder(const QList<QByteArray>& kept, const QList<Line>& lines) {
    qsizetype at = 0;
    for (const QByteArray& line : kept) {
        while (at < lines.size() && lines[at].bytes != line) {
            ++at;
        }
        if (at == lines.size()) {
            return false;
        }
        ++at;
    }
    return true;
}

}  // namespace FuzzFile
