#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>

// An INI file read and written with Windows private-profile semantics: section and key names
// compare without regard to letter case; a missing file, section or key reads as the caller's
// default; a write changes one key and leaves every other line as it was, and replaces the file
// atomically, so a crash never leaves it half written.
class IniProfile {
public:
    explicit IniProfile(QString fileName);

    const QString& fileName() const { return m_fileName; }

    QString readString(const QString& section, const QString& key,
                       const QString& defaultValue) const;
    // Decimal, or hexadecimal with the prefix 0x / 0X; anything else (or a value beyond 32 bits)
    // reads as the default.
    std::int32_t readInteger(const QString& section, const QString& key,
                             std::int32_t defaultValue) const;

    // Every key of a section with its value, in file order (the first of equal keys wins on
    // reading, as readString does).
    QList<std::pair<QString, QString>> readSection(const QString& section) const;

    // Throws TZEMError "%s に書き込めません" when the file cannot be written.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, std::int32_t value);

    // The integer rule on its own, for callers and tests.
    static std::optional<std::int32_t> parseInteger(const QString& text);

private:
    QStringList readLines() const;

    QString m_fileName;
};
