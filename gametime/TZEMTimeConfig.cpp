#include "gametime/TZEMTimeConfig.h"

#include <QDir>
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
    const IniProfile::Contents profile = IniProfile(FileName).read();
    QStringList problems;
    QStringList replaced;  // "SetTime を 00:00:00": what the clock starts from instead
    const auto read = [&](const QString& key, const QString& fallback, auto parse, auto error) {
        const QString text = profile.readString(Section, key, fallback);
        const auto value = parse(text);
        if (!value) {
            problems << error(text).message();
            replaced << QStringLiteral("%1 を %2").arg(key, fallback);
        }
        return value.value_or(*parse(fallback));
    };
    SetTime =
        read(KeySetTime, QStringLiteral("00:00:00"), DateTime::parseTime, TZEMError::notATime);
    NowDateTime =
        read(KeyNowDate, QStringLiteral("1999/07/07"), DateTime::parseDate, TZEMError::notADate);
    AssignNowTime(
        read(KeyNowTime, QStringLiteral("07:00:00"), DateTime::parseTime, TZEMError::notATime));

    if (!problems.isEmpty()) {
        // What was wrong first, then where, then what the clock goes by instead.
        problems << QDir::toNativeSeparators(FileName)
                 << QStringLiteral("%1 として時計を始めます").arg(replaced.join(u'、'));
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
