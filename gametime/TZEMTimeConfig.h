#pragma once

#include <QString>

#include "common/TDateTime.h"

// The game clock's anchor kept across runs in TAMUTime.log (INI format, section "TAMUTime"):
// the game time of day the user last set and the real date and time at which it was set.
// Read when created, written when destroyed.
class TZEMTimeConfig {
public:
    explicit TZEMTimeConfig(const QString& folder);
    ~TZEMTimeConfig();
    TZEMTimeConfig(const TZEMTimeConfig&) = delete;
    TZEMTimeConfig& operator=(const TZEMTimeConfig&) = delete;

    // A value that is not a time or a date is reported once (one message box for the file) and
    // that key's default is used, so the clock can always be anchored.
    void Load();
    // Throws TZEMError "%s に書き込めません" when the file cannot be written.
    void Save();

    void AssignNowTime(TDateTime value);  // time of day of NowDateTime := that of value
    void AssignNowDate(TDateTime value);  // date of NowDateTime := that of value
    void AssignSetTime(TDateTime value);

    QString FileName;
    TDateTime SetTime = 0;
    TDateTime NowDateTime = 0;

private:
    QString m_folder;
};
