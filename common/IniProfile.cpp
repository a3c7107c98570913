#include "common/IniProfile.h"

#include <QFile>
#include <QSaveFile>
#include <limits>
#include <utility>

#include "common/TZEMError.h"

namespace {

// A settings file is a few lines. A file beyond this size is not a settings file at all: it
// reads as empty (every key at its default), and a write replaces it with the written key.
constexpr qint64 MaxFileBytes = 64 << 20;

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

}  // namespace

IniProfile::IniProfile(QString fileName) : m_fileName(std::move(fileName)) {}

QStringList IniProfile::readLines() const {
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes) {
        return {};
    }
    QString text = QString::fromUtf8(file.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    return lines;
}

QString IniProfile::readString(const QString& section, const QString& key,
                               const QString& defaultValue) const {
    bool inSection = false;
    for (const QString& line : readLines()) {
        if (const auto name = sectionName(line)) {
            if (inSection) {
                break;
            }
            inSection = sameName(*name, section);
            continue;
        }
        if (!inSection) {
            continue;
        }
        if (const auto kv = keyValue(line); kv && sameName(kv->first, key)) {
            return kv->second;
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

void IniProfile::writeString(const QString& section, const QString& key, const QString& value) {
    QStringList lines = readLines();
    const QString entry = key + u'=' + value;
    qsizetype sectionStart = -1;  // index of the section's header line
    qsizetype insertAt = -1;      // after the section's last non-blank line
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (sectionStart >= 0) {
                break;
            }
            if (sameName(*name, section)) {
                sectionStart = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionStart < 0) {
            continue;
        }
        if (const auto kv = keyValue(lines[i]); kv && sameName(kv->first, key)) {
            lines[i] = entry;
            written = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionStart >= 0) {
            lines.insert(insertAt, entry);
        } else {
            lines << u'[' + section + u']' << entry;
        }
    }
    commit(lines);
}

void IniProfile::replaceAll(const QList<QPair<QString, Entries>>& sections) {
    QStringList lines;
    for (const auto& [section, entries] : sections) {
        lines << u'[' + section + u']';
        for (const auto& [key, value] : entries) {
            lines << key + u'=' + value;
        }
    }
    commit(lines);
}

void IniProfile::commit(const QStringList& lines) {
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        throw TZEMError::cannotWrite(m_fileName);
    }
    file.write((lines.join(u'\n') + u'\n').toUtf8());
    if (!file.commit()) {
        throw TZEMError::cannotWrite(m_fileName);
    }
}

void IniProfile::writeInteger(const QString& section, const QString& key, std::int32_t value) {
    writeString(section, key, QString::number(value));
}
