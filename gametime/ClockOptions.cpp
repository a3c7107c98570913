#include "gametime/ClockOptions.h"

#include "common/IniProfile.h"
#include "common/Messages.h"

namespace {

const QString Section = QStringLiteral("Clock");
const QString StayOnTopKey = QStringLiteral("StayOnTop");

}  // namespace

ClockOptions::ClockOptions(const QString& folder)
    : m_fileName(folder + QStringLiteral("TAMUClock.ini")) {
    // 1 is on; a missing or garbage value is the default, off.
    m_stayOnTop = IniProfile(m_fileName).readInteger(Section, StayOnTopKey, 0) == 1;
    m_storedStayOnTop = m_stayOnTop;
}

ClockOptions::~ClockOptions() {
    Messages::guarded([this] { save(); });
}

void ClockOptions::save() {
    if (m_stayOnTop == m_storedStayOnTop) {
        return;
    }
    IniProfile(m_fileName).writeInteger(Section, StayOnTopKey, m_stayOnTop ? 1 : 0);
    m_storedStayOnTop = m_stayOnTop;
}
