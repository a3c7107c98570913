#include "common/IniProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <limits>
#include <utility>

#include "common/FileSync.h"
#include "common/Messages.h"
#include "common/ShiftJis.h"
#include "common/TZEMError.h"

namespace {

// A settings file is a few lines. A file beyond this size is not a settings file at all: it
// reads as empty (every key at its default), and a write replaces it with the written key.
constexpr qint64 MaxFileBytes = 64 << 20;

enum class Encoding { Utf8, Utf16LE, Utf16BE, ShiftJis, Latin1 };

struct Line {
    QByteArray bytes;  // the line as stored, without its end
    QByteArray end;    // its line end as stored; empty only for a last line without one
    QString text;
};

// The file as lines that keep their bytes, so that a write changes only the lines it writes.
struct Document {
    enum class State { Missing, Read, Unreadable };
    State state = State::Missing;
    Encoding encoding = Encoding::Utf8;
    QByteArray bom;
    QByteArray tail;  // an odd last byte of a UTF-16 file, kept at the very end
    QList<Line> lines;
    QByteArray newline = QByteArrayLiteral("\n");  // the first line end, for added lines
};

std::function<void(const QString&)>& replaceHook() {
    static std::function<void(const QString&)> hook;
    return hook;
}

int unitSize(Encoding e) {
    return e == Encoding::Utf16LE || e == Encoding::Utf16BE ? 2 : 1;
}

QString decode(Encoding e, const QByteArray& bytes) {
    switch (e) {
        case Encoding::Utf8:
            return QString::fromUtf8(bytes);
        case Encoding::Utf16LE:
            return QStringDecoder(QStringConverter::Utf16LE).decode(bytes);
        case Encoding::Utf16BE:
            return QStringDecoder(QStringConverter::Utf16BE).decode(bytes);
        case Encoding::ShiftJis:
            return ShiftJis::decodeLoosely(bytes);
        case Encoding::Latin1:
            break;
    }
    return QString::fromLatin1(bytes);
}

// Nothing when the text has a character that the encoding cannot hold.
std::optional<QByteArray> encode(Encoding e, const QString& text) {
    switch (e) {
        case Encoding::Utf8:
            return text.toUtf8();
        case Encoding::Utf16LE:
            return QByteArray(QStringEncoder(QStringConverter::Utf16LE).encode(text));
        case Encoding::Utf16BE:
            return QByteArray(QStringEncoder(QStringConverter::Utf16BE).encode(text));
        case Encoding::ShiftJis:
            return ShiftJis::encode(text);
        case Encoding::Latin1:
            break;
    }
    for (const QChar c : text) {
        if (c.unicode() > 0xFF) {
            return std::nullopt;
        }
    }
    return text.toLatin1();
}

bool decodesCleanly(QStringDecoder decoder, const QByteArray& bytes) {
    if (!decoder.isValid()) {
        return false;
    }
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

void detectEncoding(const QByteArray& bytes, Document& doc) {
    // A character cut off at the end of the file is an error too.
    constexpr auto Stateless = QStringConverter::Flag::Stateless;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        doc.encoding = Encoding::Utf8;
        doc.bom = bytes.left(3);
    } else if (bytes.startsWith("\xFF\xFE")) {
        doc.encoding = Encoding::Utf16LE;
        doc.bom = bytes.left(2);
    } else if (bytes.startsWith("\xFE\xFF")) {
        doc.encoding = Encoding::Utf16BE;
        doc.bom = bytes.left(2);
    } else if (decodesCleanly(QStringDecoder(QStringConverter::Utf8, Stateless), bytes)) {
        doc.encoding = Encoding::Utf8;
    } else if (ShiftJis::decode(bytes)) {
        doc.encoding = Encoding::ShiftJis;
    } else {
        // Bytes of no known encoding: read byte for byte, so that they are written back as read.
        doc.encoding = Encoding::Latin1;
    }
}

// Splits after the mark at CR LF, LF or CR, counted in code units of the encoding.
void splitLines(const QByteArray& bytes, Document& doc) {
    const int unit = unitSize(doc.encoding);
    const bool bigEndian = doc.encoding == Encoding::Utf16BE;
    qsizetype end = bytes.size();
    if ((end - doc.bom.size()) % unit != 0) {
        doc.tail = bytes.right(1);
        --end;
    }
    auto at = [&](qsizetype i) -> unsigned {
        const auto b = [&](qsizetype k) { return static_cast<unsigned char>(bytes[k]); };
        if (unit == 1) {
            return b(i);
        }
        return bigEndian ? (b(i) << 8) | b(i + 1) : (b(i + 1) << 8) | b(i);
    };
    qsizetype start = doc.bom.size();
    qsizetype i = start;
    while (i < end) {
        const unsigned c = at(i);
        if (c != '\n' && c != '\r') {
            i += unit;
            continue;
        }
        qsizetype next = i + unit;
        if (c == '\r' && next < end && at(next) == '\n') {
            next += unit;
        }
        Line line{bytes.mid(start, i - start), bytes.mid(i, next - i), {}};
        doc.lines << line;
        start = i = next;
    }
    if (start < end) {
        doc.lines << Line{bytes.mid(start, end - start), {}, {}};
    }
    for (Line& line : doc.lines) {
        line.text = decode(doc.encoding, line.bytes);
    }
    doc.newline = doc.lines.isEmpty() || doc.lines.first().end.isEmpty()
                      ? *encode(doc.encoding, QStringLiteral("\n"))
                      : doc.lines.first().end;
}

void reportUnreadable(const QString& fileName) {
    static QMutex mutex;
    static QSet<QString> reported;
    {
        const QMutexLocker lock(&mutex);
        if (reported.contains(fileName)) {
            return;
        }
        reported.insert(fileName);
    }
    Messages::showError(fileName + QStringLiteral(" を読めません"));
}

Document load(const QString& fileName) {
    Document doc;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo(fileName).exists()) {
            doc.state = Document::State::Unreadable;
            reportUnreadable(fileName);
        }
        return doc;
    }
    doc.state = Document::State::Read;
    if (file.size() > MaxFileBytes) {
        return doc;
    }
    const QByteArray bytes = file.readAll();
    detectEncoding(bytes, doc);
    splitLines(bytes, doc);
    return doc;
}

std::optional<QString> sectionName(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(u'[') && t.endsWith(u']')) {
        return t.mid(1, t.size() - 2).trimmed();
    }
    return std::nullopt;
}

// Splits "key=value"; nothing for lines without "=" or comments.
std::optional<std::pair<QString, QString>> keyValue(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';')) {
        return std::nullopt;
    }
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0) {
        return std::nullopt;
    }
    QString value = t.mid(eq + 1).trimmed();
    if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"')) ||
                              (value.startsWith(u'\'') && value.endsWith(u'\'')))) {
        value = value.mid(1, value.size() - 2);
    }
    return std::make_pair(t.left(eq).trimmed(), value);
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A character the file's encoding cannot hold turns the whole file into UTF-8, each line
// re-encoded from what it read as: a setting is never written as question marks.
void convertToUtf8(Document& doc) {
    for (Line& line : doc.lines) {
        line.bytes = line.text.toUtf8();
        line.end = decode(doc.encoding, line.end).toUtf8();
    }
    doc.newline = decode(doc.encoding, doc.newline).toUtf8();
    doc.encoding = Encoding::Utf8;
    doc.bom.clear();
    doc.tail.clear();
}

QByteArray encodeLine(Document& doc, const QString& text) {
    if (std::optional<QByteArray> bytes = encode(doc.encoding, text)) {
        return *bytes;
    }
    convertToUtf8(doc);
    return text.toUtf8();
}

void insertLine(Document& doc, qsizetype at, const QString& text) {
    const QByteArray bytes = encodeLine(doc, text);
    if (at > 0 && doc.lines[at - 1].end.isEmpty()) {
        doc.lines[at - 1].end = doc.newline;
    }
    doc.lines.insert(at, Line{bytes, doc.newline, text});
}

void setEntry(Document& doc, const IniProfile::Entry& e) {
    const QString entry = e.key + u'=' + e.value;
    qsizetype sectionStart = -1;  // index of the section's header line
    qsizetype insertAt = -1;      // after the section's last non-blank line
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const QString& text = doc.lines[i].text;
        if (const auto name = sectionName(text)) {
            if (sectionStart >= 0) {
                break;
            }
            if (sameName(*name, e.section)) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0) {
            continue;
        }
        if (const auto kv = keyValue(text); kv && kv->first.compare(e.key, e.keyCase) == 0) {
            doc.lines[i].bytes = encodeLine(doc, entry);
            doc.lines[i].text = entry;
            return;
        }
        if (!text.trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (sectionStart >= 0) {
        insertLine(doc, insertAt, entry);
    } else {
        insertLine(doc, doc.lines.size(), u'[' + e.section + u']');
        insertLine(doc, doc.lines.size(), entry);
    }
}

QByteArray serialize(const Document& doc) {
    QByteArray bytes = doc.bom;
    for (const Line& line : doc.lines) {
        bytes += line.bytes;
        bytes += line.end;
    }
    return bytes + doc.tail;
}

// The new version goes to a temporary file beside the old one, unbuffered so that a failing
// write (a full disk, a size limit) is seen at once, then to the disk; only then does it replace
// the old file. A failure at any step removes the temporary file and keeps the old one.
void replaceFile(const QString& fileName, const QByteArray& bytes) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        throw TZEMError::cannotWrite(fileName);
    }
    bool written = file.write(bytes) == bytes.size() && file.flush();
    written = written && FileSync::toDisk(file.handle());
    if (!written) {
        file.cancelWriting();
        throw TZEMError::cannotWrite(fileName);
    }
    if (replaceHook()) {
        replaceHook()(fileName);
    }
    if (!file.commit()) {
        throw TZEMError::cannotWrite(fileName);
    }
}

}  // namespace

IniProfile::IniProfile(QString fileName) : m_fileName(std::move(fileName)) {}

QList<std::pair<QString, QString>> IniProfile::readSection(const QString& section) const {
    QList<std::pair<QString, QString>> entries;
    bool inSection = false;
    for (const Line& line : load(m_fileName).lines) {
        if (const auto name = sectionName(line.text)) {
            if (inSection) {
                break;
            }
            inSection = sameName(*name, section);
        } else if (const auto kv = inSection ? keyValue(line.text) : std::nullopt) {
            entries.append(*kv);
        }
    }
    return entries;
}

QList<IniProfile::Entry> IniProfile::readAll() const {
    QList<Entry> entries;
    QSet<QString> seen;  // section names, case folded
    QString section;
    bool reading = false;  // keys before the first section belong to none
    for (const Line& line : load(m_fileName).lines) {
        if (const auto name = sectionName(line.text)) {
            section = *name;
            const QString folded = name->toCaseFolded();
            reading = !seen.contains(folded);
            seen.insert(folded);
        } else if (const auto kv = reading ? keyValue(line.text) : std::nullopt) {
            entries.append(Entry{section, kv->first, kv->second});
        }
    }
    return entries;
}

QString IniProfile::readString(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    for (const auto& [name, value] : readSection(section)) {
        if (sameName(name, key)) {
            return value;
        }
    }
    return defaultValue;
}

std::optional<std::int32_t> IniProfile::parseInteger(const QString& text) {
    const QString t = text.trimmed();
    bool ok = false;
    qlonglong value = 0;
    if (t.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)) {
        const QString digits = t.mid(2);
        if (digits.isEmpty() || digits.startsWith(u'+') || digits.startsWith(u'-')) {
            return std::nullopt;
        }
        // Like the run-time library, a hexadecimal value is taken as 32 bits (0xFFFFFFFF is -1).
        const qulonglong raw = digits.toULongLong(&ok, 16);
        if (!ok || raw > std::numeric_limits<std::uint32_t>::max()) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(raw));
    }
    value = t.toLongLong(&ok, 10);
    if (!ok || value < std::numeric_limits<std::int32_t>::min() ||
        value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t IniProfile::readInteger(const QString& section, const QString& key,
                                     std::int32_t defaultValue) const {
    return parseInteger(readString(section, key, QString())).value_or(defaultValue);
}

void IniProfile::write(const QList<Entry>& entries) {
    Document doc = load(m_fileName);
    if (doc.state == Document::State::Unreadable) {
        throw TZEMError::cannotWrite(m_fileName);
    }
    for (const Entry& entry : entries) {
        setEntry(doc, entry);
    }
    replaceFile(m_fileName, serialize(doc));
}

void IniProfile::replaceAll(const QList<QPair<QString, Entries>>& sections) {
    if (load(m_fileName).state == Document::State::Unreadable) {
        throw TZEMError::cannotWrite(m_fileName);  // never over a file that could not be read
    }
    QString text;
    for (const auto& [section, entries] : sections) {
        text += u'[' + section + QStringLiteral("]\n");
        for (const auto& [key, value] : entries) {
            text += key + u'=' + value + u'\n';
        }
    }
    replaceFile(m_fileName, text.toUtf8());
}

void IniProfile::writeString(const QString& section, const QString& key, const QString& value,
                             Qt::CaseSensitivity keyCase) {
    write({Entry{section, key, value, keyCase}});
}

void IniProfile::writeInteger(const QString& section, const QString& key, std::int32_t value) {
    writeString(section, key, QString::number(value));
}

void IniProfile::setReplaceHook(std::function<void(const QString& fileName)> hook) {
    replaceHook() = std::move(hook);
}
