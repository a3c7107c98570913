#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "common/TDateTime.h"
#include "ship/TZEMShip.h"

// One ship taken on a journey. Times are whole game seconds counted from the moment planned
// from (its time of day, milliseconds dropped, as the game clock's time-left texts count).
struct JourneyLeg {
    int route = -1;  // index into the planner's routes
    const TZEMShipTimeItem* voyage = nullptr;
    std::int64_t arrival = 0;  // the ship comes in at the port; negative when it lies there now
    std::int64_t sailing = 0;
    std::int64_t landing = 0;
};

struct Journey {
    std::vector<JourneyLeg> legs;

    std::int64_t departure() const { return legs.front().sailing; }
    std::int64_t landing() const { return legs.back().landing; }
    // Game seconds at sea and in the ports between: first sailing to last landing.
    std::int64_t duration() const { return landing() - departure(); }
    // Game seconds spent in port before leg i (i >= 1) sails.
    std::int64_t waitBefore(std::size_t i) const { return legs[i].sailing - legs[i - 1].landing; }
};

// Journeys between any two of the six ports over the routes' timetables. The ports and routes
// form two groups (尾張 with 駿河 and 摂津和泉; 越後 with 佐渡 and 越前), so a journey takes one
// ship or changes once. A change works only when the next ship sails after the previous one has
// landed (a sailing at the landing moment itself has gone). Each journey is the one that lands
// soonest and, of those landing then, sails last: nobody waits in port for a ship that an
// earlier departure would only have reached too.
class JourneyPlanner {
public:
    // Reads the routes; they must outlive the planner.
    explicit JourneyPlanner(const std::vector<std::unique_ptr<TZEMShip>>& routes);

    // The six ports, in the order of the timetable window's port selectors.
    static const QStringList& ports();

    // The routes from one port to another, in travel order; empty when no ships connect them
    // (and for a port to itself).
    std::vector<int> path(const QString& from, const QString& to) const;

    // Up to `count` journeys leaving after the game time now, soonest landing first; empty when
    // no ships connect the ports.
    std::vector<Journey> plan(const QString& from, const QString& to, TDateTime now,
                              int count) const;

    const TZEMShip& route(int index) const { return *m_routes[static_cast<std::size_t>(index)]; }

private:
    // The journey whose first ship sails next after the game time of day `after`, which lies
    // `offset` game seconds after the moment planned from.
    Journey earliestFrom(const std::vector<int>& path, TDateTime after, std::int64_t offset) const;

    const std::vector<std::unique_ptr<TZEMShip>>& m_routes;
};
