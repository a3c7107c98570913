#include "ship/JourneyPlanner.h"

namespace {

// Game seconds from one time of day forward to another, 0..86399.
std::int64_t forward(std::int64_t fromSecond, std::int64_t toSecond) {
    const std::int64_t d = toSecond - fromSecond;
    return d < 0 ? d + DateTime::SecsPerDay : d;
}

std::int64_t second(TDateTime time) {
    return DateTime::secondsOfDay(time);
}

}  // namespace

JourneyPlanner::JourneyPlanner(const std::vector<std::unique_ptr<TZEMShip>>& routes)
    : m_routes(routes) {}

const QStringList& JourneyPlanner::ports() {
    static const QStringList names = {QStringLiteral("駿河"), QStringLiteral("尾張"),
                                      QStringLiteral("佐渡"), QStringLiteral("越後"),
                                      QStringLiteral("越前"), QStringLiteral("摂津和泉")};
    return names;
}

std::vector<int> JourneyPlanner::path(const QString& from, const QString& to) const {
    if (from == to) {
        return {};
    }
    // Breadth-first over the routes, so that the fewest changes win.
    struct Step {
        QString port;
        std::vector<int> routes;
    };
    std::vector<Step> frontier{{from, {}}};
    QStringList seen{from};
    while (!frontier.empty()) {
        std::vector<Step> next;
        for (const Step& step : frontier) {
            for (std::size_t i = 0; i < m_routes.size(); ++i) {
                const TZEMShip& r = *m_routes[i];
                if (r.from() != step.port || seen.contains(r.to())) {
                    continue;
                }
                std::vector<int> routes = step.routes;
                routes.push_back(static_cast<int>(i));
                if (r.to() == to) {
                    return routes;
                }
                seen << r.to();
                next.push_back({r.to(), std::move(routes)});
            }
        }
        frontier = std::move(next);
    }
    return {};
}

Journey JourneyPlanner::earliestFrom(const std::vector<int>& path, TDateTime after,
                                     std::int64_t offset) const {
    Journey journey;
    TDateTime cursor = after;
    std::int64_t at = offset;
    std::int64_t atSecond = second(after);
    for (const int index : path) {
        const TZEMShipTimeItem* voyage = route(index).nextVoyage(cursor);
        if (!voyage) {
            return {};
        }
        JourneyLeg leg;
        leg.route = index;
        leg.voyage = voyage;
        std::int64_t wait = forward(atSecond, second(voyage->LeaTime));
        // Only a timetable time within the same whole second as a mid-second "now" gives 0;
        // any other 0 is the same time of day, which has gone, so the ship of the next day.
        if (wait == 0 && at != 0) {
            wait = DateTime::SecsPerDay;
        }
        leg.sailing = at + wait;
        leg.arrival = leg.sailing - forward(second(voyage->ArrTime), second(voyage->LeaTime));
        leg.landing = leg.sailing + forward(second(voyage->LeaTime), second(voyage->GenTime));
        journey.legs.push_back(leg);
        cursor = voyage->GenTime;
        at = leg.landing;
        atSecond = second(voyage->GenTime);
    }
    return journey;
}

std::vector<Journey> JourneyPlanner::plan(const QString& from, const QString& to, TDateTime now,
                                          int count) const {
    std::vector<Journey> journeys;
    const std::vector<int> routes = path(from, to);
    if (routes.empty() || count <= 0) {
        return journeys;
    }
    TDateTime after = now;
    std::int64_t offset = 0;
    // Each later first sailing lands no sooner (ships of a route never overtake one another);
    // one that lands at the same moment replaces the earlier departure.
    for (int guard = 0; guard < 64; ++guard) {
        Journey journey = earliestFrom(routes, after, offset);
        if (journey.legs.empty()) {
            break;
        }
        if (!journeys.empty() && journeys.back().landing() == journey.landing()) {
            journeys.back() = journey;
        } else if (static_cast<int>(journeys.size()) == count) {
            break;
        } else {
            journeys.push_back(journey);
        }
        after = journey.legs.front().voyage->LeaTime;
        offset = journey.departure();
    }
    return journeys;
}
