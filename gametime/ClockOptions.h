#pragma once

#include <QString>

// The clock window's options, kept across runs in TAMUClock.ini (INI, section "Clock"): whether
// the clock stays in front of other windows, off by default. Read when created; written when
// destroyed, and only if a value changed, so a user who never touches them gets no file.
class ClockOptions {
public:
    // folder: the DAT folder with its trailing separator.
    explicit ClockOptions(const QString& folder);
    ~ClockOptions();
    ClockOptions(const ClockOptions&) = delete;
    ClockOptions& operator=(const ClockOptions&) = delete;

    const QString& fileName() const { return m_fileName; }

    bool stayOnTop() const { return m_stayOnTop; }
    void setStayOnTop(bool on) { m_stayOnTop = on; }

    // Throws TZEMError "%s に書き込めません" when the file cannot be written.
    void save();

private:
    QString m_fileName;
    bool m_stayOnTop = false;
    bool m_storedStayOnTop = false;  // as read from the file or last written
};
