// libFuzzer target: any bytes as TAMUAlarm.ini. Loading never fails. A save of what was loaded
// settles the file (a second load and save changes no byte). After a removal, a switch and an
// addition, the file reads back as exactly those alarms, and every line the schedule does not own
// (comments, other sections, alarm sections it could not read) survives byte for byte, in order.
#include <QSet>
#include <QTimer>
#include <algorithm>
#include <cstdint>
#include <memory>

#include "FuzzFile.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"

namespace {

using FuzzFile::check;

TZEMTime& gameClock() {
    static TZEMTime* clock = [] {
        FuzzFile::setUp();
        auto* c = new TZEMTime;
        c->Timer()->SetEnabled(false);
        return c;
    }();
    return *clock;
}

std::unique_ptr<AlarmSchedule> load() {
    auto schedule = std::make_unique<AlarmSchedule>(gameClock(), FuzzFile::folder());
    schedule->timer()->stop();
    return schedule;
}

// What the file keeps of an alarm: its moment only while it waits for it once.
bool same(const ShipAlarm& a, const ShipAlarm& b) {
    const bool tied = !a.repeat && a.enabled;
    return a.number == b.number && a.event == b.event &&
           (a.event == AlarmEvent::DayNight || a.route == b.route) && a.voyage == b.voyage &&
           a.gameMinute == b.gameMinute && a.koku == b.koku && a.leadMinutes == b.leadMinutes &&
           a.repeat == b.repeat && a.enabled == b.enabled && (!tied || a.due == b.due);
}

bool same(const std::vector<ShipAlarm>& a, const std::vector<ShipAlarm>& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](const auto& x, const auto& y) { return same(x, y); });
}

QString sectionOf(int number) {
    return QStringLiteral("alarm%1").arg(number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TZEMTime& clock = gameClock();
    clock.SetGameTime(DateTime::encodeTime(3, 0, 0));
    const QString file = FuzzFile::folder() + QStringLiteral("TAMUAlarm.ini");
    const QByteArray before = FuzzFile::fileBytes(data, size);
    FuzzFile::write(file, before);

    auto first = load();
    first->save();
    const QByteArray settled = FuzzFile::read(file);
    auto second = load();
    check(same(first->alarms(), second->alarms()));
    second->save();
    check(FuzzFile::read(file) == settled);

    // The sections the schedule owns: those of the alarms it read, where they first appear, and
    // every appearance of the one removed; and the count of the list.
    QSet<QString> owned;
    for (const ShipAlarm& a : second->alarms()) {
        owned.insert(sectionOf(a.number));
    }
    QString removed;
    if (!second->alarms().empty()) {
        removed = sectionOf(second->alarms().front().number);
        second->remove(0);
    }
    if (!second->alarms().empty()) {
        const int last = static_cast<int>(second->alarms().size()) - 1;
        second->setEnabled(last, !second->alarms().back().enabled);
        second->setLeadMinutes(last, 17);
    }
    ShipAlarm added;
    added.event = AlarmEvent::Sailing;
    added.route = 6;
    added.voyage = 1;
    added.due = 46'000LL * 86'400'000;  // a real moment of 2025, tied
    const int addedAt = second->add(added);
    check(addedAt >= 0 || second->alarms().size() >= std::size_t(AlarmSchedule::MaxAlarms));
    second->save();
    auto third = load();
    check(same(second->alarms(), third->alarms()));

    const auto lines = FuzzFile::utf8Lines(before);
    if (!lines) {
        return 0;
    }
    QList<QByteArray> kept;
    QSet<QString> seen;
    bool mine = false;
    bool list = false;
    for (const FuzzFile::Line& line : *lines) {
        if (line.section) {
            const QString name = line.section->toCaseFolded();
            mine = name == removed || (owned.contains(name) && !seen.contains(name));
            list = name == QStringLiteral("alarms") && !seen.contains(name);
            seen.insert(name);
        }
        const bool count = list && FuzzFile::keyOf(line.text).value_or(QString()).compare(
                                       QStringLiteral("Count"), Qt::CaseInsensitive) == 0;
        if (!mine && !count) {
            kept.append(line.bytes);
        }
    }
    const auto after = FuzzFile::utf8Lines(FuzzFile::read(file));
    check(after && FuzzFile::inOrder(kept, *after));
    return 0;
}
