#include "gametime/TZEMTimeConfig.h"

#include <QStringList>

#include "common/IniProfile.h"
#include "common/Messages.h"
#include "common/TZEMError.h"

namespace {

const QString Section = QStringLiteral("TAMUTime");
const QString KeySetTime = QStringLiteral("SetTime");
const QString KeyNowDate = QStringLiteral("NowDate");
const QString KeyNowTime = QStringLiteral("NowTime");

QString fileIn(const QString& folder) {
    return folder + QStringLiteral("TAMUTime.log");
}

}  // namespace

TZEMTimeConfig::TZEMTimeConfig(const QString& folder) : m_folder(folder) {
    Load();
}

TZEMTimeConfig::~TZEMTimeConfig() {
    Messages::guarded([this] { Save(); });
}

void TZEMTimeConfig::Load() {
    FileName = fileIn(m_folder);
    const IniProfile profile(FileName);
    QStringList problems;

    const QString setText = profile.readString(Section, KeySetTime, QStringLiteral("00:00:00"));
    const auto setTime = DateTime::parseTime(setText);
    if (!setTime) {
        problems << TZEMError::notATime(setText).message();
    }
    SetTime = setTime.value_or(DateTime::encodeTime(0, 0, 0));

    const QString dateText = profile.readString(Section, KeyNowDate, QStringLiteral("1999/07/07"));
    const auto nowDate = DateTime::parseDate(dateText);
    if (!nowDate) {
        problems << TZEMError::notADate(dateText).message();
    }
    NowDateTime = nowDate.value_or(DateTime::encodeDate(1999, 7, 7));

    const QString timeText = profile.readString(Section, KeyNowTime, QStringLiteral("07:00:00"));
    const auto nowTime = DateTime::parseTime(timeText);
    if (!nowTime) {
        problems << TZEMError::notATime(timeText).message();
    }
    AssignNowTime(nowTime.value_or(DateTime::encodeTime(7, 0, 0)));

    if (!problems.isEmpty()) {
        Messages::showError(problems.join(u'\n'));
    }
}

void TZEMTimeConfig::Save() {
    FileName = fileIn(m_folder);
    // One replacement of the file for the whole anchor: a run that ends half way through the
    // close leaves the previous anchor, never a new SetTime beside an old NowDate.
    IniProfile(FileName).write({{Section, KeySetTime, DateTime::formatLongTime(SetTime)},
                                {Section, KeyNowDate, DateTime::formatShortDate(NowDateTime)},
                                {Section, KeyNowTime, DateTime::formatLongTime(NowDateTime)}});
}

void TZEMTimeConfig::AssignNowTime(TDateTime value) {
    NowDateTime = DateTime::addMSecs(static_cast<TDateTime>(DateTime::wholeDays(NowDateTime)),
                                     DateTime::msecsOfDay(value));
}

void TZEMTimeConfig::AssignNowDate(TDateTime value) {
    NowDateTime = DateTime::addMSecs(static_cast<TDateTime>(DateTime::wholeDays(value)),
                                     DateTime::msecsOfDay(NowDateTime));
}

void TZEMTimeConfig::AssignSetTime(TDateTime value) {
    SetTime = value;
}
