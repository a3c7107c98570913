#include "common/IniProfile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSaveFile>
#include <QSet>
#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <limits>
#include <utility>

#include "common/FileSync.h"
#include "common/Messages.h"
#include "common/ShiftJis.h"
#include "common/TZEMError.h"

namespace {

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
    if (unit == 1) {
        doc.lines.reserve(bytes.count('\n') + 1);
    }
    QByteArray previousEnd;  // one shared copy for the line ends of the usual kind
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
        const QByteArrayView lineEnd(bytes.constData() + i, next - i);
        if (previousEnd != lineEnd) {
            previousEnd = lineEnd.toByteArray();
        }
        doc.lines.append(Line{bytes.mid(start, i - start), previousEnd, {}});
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

void reportUnreadable(const QString& fileName, const QString& why = QString()) {
    static QMutex mutex;
    static QSet<QString> reported;
    {
        const QMutexLocker lock(&mutex);
        if (reported.contains(fileName)) {
            return;
        }
        reported.insert(fileName);
    }
    Messages::showError(fileName + QStringLiteral(" を読めません") + why);
}

// The file's bytes; nothing for a missing file, or one that cannot be read or is too large (the
// document's state says which).
std::optional<QByteArray> readBytes(const QString& fileName, Document& doc) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (QFileInfo(fileName).exists()) {
            doc.state = Document::State::Unreadable;
            reportUnreadable(fileName);
        }
        return std::nullopt;
    }
    if (file.size() > IniProfile::MaxFileBytes) {
        doc.state = Document::State::Unreadable;
        reportUnreadable(fileName, QStringLiteral("（%1 KB を超える設定ファイルは読みません）")
                                       .arg(IniProfile::MaxFileBytes >> 10));
        return std::nullopt;
    }
    doc.state = Document::State::Read;
    return file.readAll();
}

Document load(const QString& fileName) {
    Document doc;
    if (const std::optional<QByteArray> bytes = readBytes(fileName, doc)) {
        detectEncoding(*bytes, doc);
        splitLines(*bytes, doc);
    }
    return doc;
}

// Each line's text, for reading alone: without the bytes of each line kept for a write, and a
// file in a Unicode encoding decoded as a whole, the lines cut out of it as views.
template <class Visit>
void forEachLine(const QString& fileName, Visit&& visit) {
    Document doc;
    const std::optional<QByteArray> bytes = readBytes(fileName, doc);
    if (!bytes) {
        return;
    }
    detectEncoding(*bytes, doc);
    if (doc.encoding == Encoding::ShiftJis) {
        // Decoded line by line, as a write sees the lines.
        splitLines(*bytes, doc);
        for (const Line& line : std::as_const(doc.lines)) {
            visit(QStringView(line.text));
        }
        return;
    }
    const qsizetype begin = doc.bom.size();
    qsizetype end = bytes->size();
    if ((end - begin) % unitSize(doc.encoding) != 0) {
        --end;  // an odd last byte of a UTF-16 file
    }
    const QString text = decode(doc.encoding, bytes->sliced(begin, end - begin));
    const QChar* const stop = text.constData() + text.size();
    const QChar* start = text.constData();
    while (start < stop) {
        const QChar* i = start;
        while (i < stop && *i != u'\n' && *i != u'\r') {
            ++i;
        }
        // A write decodes each line on its own, and a decoder drops a byte-order mark at its
        // start: so does the reading.
        const QChar* first = start < i && *start == QChar::ByteOrderMark ? start + 1 : start;
        visit(QStringView(first, i));
        if (i < stop && *i == u'\r' && i + 1 < stop && i[1] == u'\n') {
            ++i;
        }
        start = i + 1;
    }
}

// Both parse with views, so that reading a long file makes new strings only for its names and
// values.
std::optional<QString> sectionName(QStringView line) {
    const QStringView t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(u'[') && t.endsWith(u']')) {
        return t.sliced(1, t.size() - 2).trimmed().toString();
    }
    return std::nullopt;
}

// The key of "key=value", as a view into the line; nothing for lines without "=" or comments.
std::optional<QStringView> keyOf(QStringView line) {
    const QStringView t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';')) {
        return std::nullopt;
    }
    const qsizetype eq = t.indexOf(u'=');
    if (eq <= 0) {
        return std::nullopt;
    }
    return t.first(eq).trimmed();
}

// Splits "key=value"; nothing for lines without "=" or comments.
std::optional<std::pair<QString, QString>> keyValue(QStringView line) {
    const QStringView t = line.trimmed();
    const std::optional<QStringView> key = keyOf(t);
    if (!key) {
        return std::nullopt;
    }
    QStringView value = t.sliced(t.indexOf(u'=') + 1).trimmed();
    if (value.size() >= 2 && ((value.startsWith(u'"') && value.endsWith(u'"')) ||
                              (value.startsWith(u'\'') && value.endsWith(u'\'')))) {
        value = value.sliced(1, value.size() - 2);
    }
    return std::make_pair(key->toString(), value.toString());
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

// Applies a batch of changes to the lines with one pass over the file: a few thousand keys into a
// file of as many lines stay quick. Each set key lands where a write of that key alone would put
// it: on its line in the section's first appearance, else after the section's last non-blank line,
// else in a new section at the end.
void applyChanges(Document& doc, const IniProfile::Changes& changes) {
    // A character the encoding cannot hold turns the file into UTF-8 before any line is made.
    bool fits = true;
    for (const IniProfile::Entry& e : changes.set) {
        fits = fits && encode(doc.encoding, e.key + u'=' + e.value) &&
               encode(doc.encoding, u'[' + e.section + u']');
    }
    if (!fits) {
        convertToUtf8(doc);
    }

    QSet<QString> removedSections;
    for (const QString& name : changes.removedSections) {
        removedSections.insert(name.toCaseFolded());
    }
    // Each line's section appearance, and of each section name the first appearance not removed.
    struct Appearance {
        qsizetype header;
        qsizetype insertAt;  // after its last non-blank line
        bool removed;
        QList<QString> added;  // new lines, in order
        QHash<QString, qsizetype> addedFolded;
        QHash<QString, qsizetype> addedExact;
    };
    QList<Appearance> appearances;
    QHash<QString, qsizetype> first;
    QList<qsizetype> owner(doc.lines.size(), -1);
    QList<bool> dropped(doc.lines.size(), false);
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        const QString& text = doc.lines[i].text;
        if (const auto name = sectionName(text)) {
            const QString folded = name->toCaseFolded();
            const bool removed = removedSections.contains(folded);
            appearances.append(Appearance{i, i + 1, removed, {}, {}, {}});
            if (!removed && !first.contains(folded)) {
                first.insert(folded, appearances.size() - 1);
            }
        } else if (!appearances.isEmpty() && !text.trimmed().isEmpty()) {
            appearances.last().insertAt = i + 1;
        }
        owner[i] = appearances.size() - 1;
        dropped[i] = owner[i] >= 0 && appearances[owner[i]].removed;
    }

    // The line of a key in a section's first appearance: a walk through the section for the
    // first few keys, a table made once for a batch of many into one large section.
    struct KeyLines {
        int lookups = 0;
        bool indexed = false;
        QHash<QString, qsizetype> folded;  // first line of each key, any letter case
        QHash<QString, qsizetype> exact;
    };
    QHash<qsizetype, KeyLines> keys;
    auto findKey = [&](qsizetype appearance, const QString& key, Qt::CaseSensitivity keyCase) {
        KeyLines& lines = keys[appearance];
        const qsizetype from = appearances[appearance].header + 1;
        if (!lines.indexed && ++lines.lookups > 16) {
            for (qsizetype i = from; i < doc.lines.size() && owner[i] == appearance; ++i) {
                if (const auto k = dropped[i] ? std::nullopt : keyOf(doc.lines[i].text)) {
                    // The first line of a key is the one read, so the one written.
                    const QString name = k->toString();
                    if (!lines.folded.contains(name.toCaseFolded())) {
                        lines.folded.insert(name.toCaseFolded(), i);
                    }
                    if (!lines.exact.contains(name)) {
                        lines.exact.insert(name, i);
                    }
                }
            }
            lines.indexed = true;
        }
        if (lines.indexed) {
            return keyCase == Qt::CaseSensitive ? lines.exact.value(key, -1)
                                                : lines.folded.value(key.toCaseFolded(), -1);
        }
        for (qsizetype i = from; i < doc.lines.size() && owner[i] == appearance; ++i) {
            if (const auto k = dropped[i] ? std::nullopt : keyOf(doc.lines[i].text);
                k && k->compare(key, keyCase) == 0) {
                return i;
            }
        }
        return qsizetype(-1);
    };

    for (const IniProfile::Entry& e : changes.removedKeys) {
        const auto at = first.constFind(e.section.toCaseFolded());
        if (at == first.cend()) {
            continue;
        }
        for (qsizetype i = appearances[*at].header + 1; i < doc.lines.size() && owner[i] == *at;
             ++i) {
            if (const auto kv = keyValue(doc.lines[i].text);
                kv && kv->first.compare(e.key, e.keyCase) == 0) {
                dropped[i] = true;
            }
        }
        keys.remove(*at);  // looked up again without the dropped lines
    }

    // Sections that the file does not have yet, in the order the batch names them.
    struct NewSection {
        QString name;
        QList<IniProfile::Entry> entries;
    };
    QList<NewSection> fresh;
    QHash<QString, qsizetype> freshIndex;
    for (const IniProfile::Entry& e : changes.set) {
        const QString entry = e.key + u'=' + e.value;
        const QString foldedSection = e.section.toCaseFolded();
        const auto at = first.constFind(foldedSection);
        if (at == first.cend()) {
            auto index = freshIndex.constFind(foldedSection);
            if (index == freshIndex.cend()) {
                fresh.append(NewSection{e.section, {}});
                index = freshIndex.insert(foldedSection, fresh.size() - 1);
            }
            QList<IniProfile::Entry>& entries = fresh[*index].entries;
            const auto same = std::find_if(entries.begin(), entries.end(), [&](const auto& o) {
                return o.key.compare(e.key, e.keyCase) == 0;
            });
            if (same != entries.end()) {
                same->value = e.value;
            } else {
                entries.append(e);
            }
            continue;
        }
        Appearance& appearance = appearances[*at];
        if (const qsizetype line = findKey(*at, e.key, e.keyCase); line >= 0) {
            if (KeyLines& lines = keys[*at]; lines.indexed) {
                // The line may now name its key in other letters.
                lines.exact.remove(keyOf(doc.lines[line].text)->toString());
                if (!lines.exact.contains(e.key)) {
                    lines.exact.insert(e.key, line);
                }
            }
            doc.lines[line].bytes = encodeLine(doc, entry);
            doc.lines[line].text = entry;
            continue;
        }
        // A key added earlier in the batch is set again on its new line.
        const QString folded = e.key.toCaseFolded();
        const qsizetype added = e.keyCase == Qt::CaseSensitive
                                    ? appearance.addedExact.value(e.key, -1)
                                    : appearance.addedFolded.value(folded, -1);
        if (added >= 0) {
            appearance.added[added] = entry;
            continue;
        }
        if (!appearance.addedFolded.contains(folded)) {
            appearance.addedFolded.insert(folded, appearance.added.size());
        }
        appearance.addedExact.insert(e.key, appearance.added.size());
        appearance.added.append(entry);
    }

    QList<Line> lines;
    lines.reserve(doc.lines.size() + changes.set.size() * 2);
    auto add = [&](const QString& text) {
        if (!lines.isEmpty() && lines.last().end.isEmpty()) {
            lines.last().end = doc.newline;
        }
        lines.append(Line{encodeLine(doc, text), doc.newline, text});
    };
    QHash<qsizetype, qsizetype> insertions;  // line after which an appearance's keys go
    for (qsizetype a = 0; a < appearances.size(); ++a) {
        if (!appearances[a].added.isEmpty()) {
            insertions.insert(appearances[a].insertAt - 1, a);
        }
    }
    for (qsizetype i = 0; i < doc.lines.size(); ++i) {
        if (!dropped[i]) {
            lines.append(doc.lines[i]);
        }
        if (const auto a = insertions.constFind(i); a != insertions.cend()) {
            for (const QString& text : std::as_const(appearances[*a].added)) {
                add(text);
            }
        }
    }
    for (const NewSection& section : std::as_const(fresh)) {
        add(u'[' + section.name + u']');
        for (const IniProfile::Entry& e : section.entries) {
            add(e.key + u'=' + e.value);
        }
    }
    // A line that now ends in a lone CR before an empty LF line would read back as one CR LF, the
    // blank line lost: it ends in CR LF instead.
    const QByteArray cr = *encode(doc.encoding, QStringLiteral("\r"));
    const QByteArray lf = *encode(doc.encoding, QStringLiteral("\n"));
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        if (lines[i].end == cr && lines[i + 1].bytes.isEmpty() && lines[i + 1].end.startsWith(lf)) {
            lines[i].end = cr + lf;
        }
    }
    doc.lines = lines;
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

IniProfile::Contents IniProfile::read() const {
    Contents contents;
    QString section;
    QString folded;
    bool reading = false;  // keys before the first section belong to none
    QList<std::pair<QString, QString>> keys;
    const auto endSection = [&] {
        if (reading) {
            contents.m_sections.insert(folded, keys);
            keys.clear();
        }
    };
    forEachLine(m_fileName, [&](QStringView line) {
        if (auto name = sectionName(line)) {
            endSection();
            section = std::move(*name);
            folded = section.toCaseFolded();
            // A section that appears again further down is read only where it first appears.
            reading = !contents.m_sections.contains(folded);
            if (reading) {
                contents.m_sections.insert(folded, {});
            }
        } else if (auto kv = reading ? keyValue(line) : std::nullopt) {
            contents.m_entries.append(Entry{section, kv->first, kv->second});
            keys.append(std::move(*kv));
        }
    });
    endSection();
    return contents;
}

QList<std::pair<QString, QString>> IniProfile::Contents::readSection(const QString& section) const {
    return m_sections.value(section.toCaseFolded());
}

QString IniProfile::Contents::readString(const QString& section, const QString& key,
                                         const QString& defaultValue) const {
    const auto it = m_sections.constFind(section.toCaseFolded());
    if (it != m_sections.cend()) {
        for (const auto& [name, value] : *it) {
            if (sameName(name, key)) {
                return value;
            }
        }
    }
    return defaultValue;
}

std::int32_t IniProfile::Contents::readInteger(const QString& section, const QString& key,
                                               std::int32_t defaultValue) const {
    return parseInteger(readString(section, key, QString())).value_or(defaultValue);
}

QList<std::pair<QString, QString>> IniProfile::readSection(const QString& section) const {
    return read().readSection(section);
}

QList<IniProfile::Entry> IniProfile::readAll() const {
    return read().entries();
}

QString IniProfile::readString(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    return read().readString(section, key, defaultValue);
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
    apply(Changes{entries, {}, {}});
}

void IniProfile::apply(const Changes& changes) {
    if (changes.set.isEmpty() && changes.removedKeys.isEmpty() &&
        changes.removedSections.isEmpty()) {
        return;
    }
    Document doc = load(m_fileName);
    if (doc.state == Document::State::Unreadable) {
        throw TZEMError::cannotWrite(m_fileName);  // never over a file that could not be read
    }
    applyChanges(doc, changes);
    QByteArray bytes = serialize(doc);
    // The changed lines may have held what kept the file from reading as UTF-8 or Shift-JIS: the
    // rest would then read as that, and other keys change their values. The whole file goes to
    // UTF-8 then, each line as it read.
    Document reread;
    detectEncoding(bytes, reread);
    if (reread.encoding != doc.encoding) {
        convertToUtf8(doc);
        bytes = serialize(doc);
    }
    replaceFile(m_fileName, bytes);
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
