#pragma once

#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

// The small panel's place and the routes it shows, kept in TAMUPanel.ini (section "Panel": Left,
// Top, Routes as route numbers joined by commas). Read when made; save() writes only what
// changed, through the INI file's own atomic replacement, so other lines stay as they are.
// Values that do not read are left at their defaults: no place (the panel picks one), no routes.
class PanelSettings {
public:
    // folder: the DAT folder with its trailing separator; routeCount bounds the route numbers.
    PanelSettings(const QString& folder, int routeCount);

    const QString& fileName() const { return m_fileName; }

    const std::optional<QPoint>& place() const { return m_place; }
    void setPlace(const QPoint& place) { m_place = place; }
    const std::vector<int>& routes() const { return m_routes; }
    // Shows the route or stops showing it; routes keep the order of their numbers.
    void setRouteShown(int route, bool shown);
    bool routeShown(int route) const;

    // Throws TZEMError "%s に書き込めません" when the file cannot be written.
    void save();

private:
    QString routesText() const;

    QString m_fileName;
    int m_routeCount;
    std::optional<QPoint> m_place;
    std::vector<int> m_routes;
    std::optional<QPoint> m_storedPlace;
    QString m_storedRoutes;
};
