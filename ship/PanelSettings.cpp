#include "ship/PanelSettings.h"

#include <QStringList>
#include <algorithm>

#include "common/IniProfile.h"
#include "common/Messages.h"

namespace {

const QString Section = QStringLiteral("Panel");
const QString LeftKey = QStringLiteral("Left");
const QString TopKey = QStringLiteral("Top");
const QString RoutesKey = QStringLiteral("Routes");

}  // namespace

PanelSettings::PanelSettings(const QString& folder, int routeCount)
    : m_fileName(folder + QStringLiteral("TAMUPanel.ini")), m_routeCount(routeCount) {
    // A file that cannot be read is told of, and the panel shows the defaults.
    IniProfile::Contents ini;
    Messages::guarded([&] { ini = IniProfile(m_fileName).read(); });
    const auto left = IniProfile::parseInteger(ini.readString(Section, LeftKey, QString()));
    const auto top = IniProfile::parseInteger(ini.readString(Section, TopKey, QString()));
    if (left && top) {
        m_place = QPoint(*left, *top);
    }
    const QString routes = ini.readString(Section, RoutesKey, QString());
    for (const QString& part : routes.split(u',', Qt::SkipEmptyParts)) {
        if (const auto route = IniProfile::parseInteger(part.trimmed())) {
            setRouteShown(*route, true);
        }
    }
    m_storedPlace = m_place;
    m_storedRoutes = routesText();
}

void PanelSettings::setRouteShown(int route, bool shown) {
    if (route < 0 || route >= m_routeCount || routeShown(route) == shown) {
        return;
    }
    if (shown) {
        m_routes.insert(std::upper_bound(m_routes.begin(), m_routes.end(), route), route);
    } else {
        m_routes.erase(std::find(m_routes.begin(), m_routes.end(), route));
    }
}

bool PanelSettings::routeShown(int route) const {
    return std::find(m_routes.begin(), m_routes.end(), route) != m_routes.end();
}

QString PanelSettings::routesText() const {
    QStringList parts;
    for (const int route : m_routes) {
        parts << QString::number(route);
    }
    return parts.join(u',');
}

void PanelSettings::save() {
    QList<IniProfile::Entry> changes;
    if (m_place != m_storedPlace && m_place) {
        changes.append({Section, LeftKey, QString::number(m_place->x())});
        changes.append({Section, TopKey, QString::number(m_place->y())});
    }
    const QString routes = routesText();
    if (routes != m_storedRoutes) {
        changes.append({Section, RoutesKey, routes});
    }
    if (changes.isEmpty()) {
        return;
    }
    IniProfile(m_fileName).write(changes);
    m_storedPlace = m_place;
    m_storedRoutes = routes;
}
