#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "common/TDateTime.h"

// One voyage of a route: the ship comes in at the departure port (ArrTime), sails (LeaTime) and
// reaches the destination port (GenTime). Bare times of day.
class TZEMShipTimeItem {
public:
    TDateTime ArrTime = 0.0;
    TDateTime LeaTime = 0.0;
    TDateTime GenTime = 0.0;
};

// A one-way route with its daily timetable in game time. Only the time of day of "now" counts;
// times of day less than one millisecond apart are the same time, and a timetable time equal to
// now has passed. Each route class appends its voyages in its constructor, so a route is made
// from its class alone.
class TZEMShip {
public:
    virtual ~TZEMShip();
    TZEMShip(const TZEMShip&) = delete;
    TZEMShip& operator=(const TZEMShip&) = delete;

    // The next time of day of each moment after now; after the last of a column, the first of
    // the next day.
    TDateTime NextArrTime(TDateTime now) const;
    TDateTime NextLeaTime(TDateTime now) const;
    TDateTime NextGenTime(TDateTime now) const;
    // The voyage of the next sailing after now (the one NextLeaTime gives); null for a route
    // without voyages.
    const TZEMShipTimeItem* nextVoyage(TDateTime now) const;

    // Where the route's ship stands at now: "到着待ち", "停泊中", "航行中", or empty for a route
    // without voyages.
    QString stateAt(TDateTime now) const;

    const std::vector<TZEMShipTimeItem>& voyages() const { return m_voyages; }
    // The departure and destination ports.
    const QString& from() const { return m_from; }
    const QString& to() const { return m_to; }

    // The eight routes in the order of the timetable window's route selector.
    static std::vector<std::unique_ptr<TZEMShip>> createAll();

protected:
    TZEMShip(const char* from, const char* to);
    // Times as "hh:mm:ss".
    void addVoyage(const char* arrTime, const char* leaTime, const char* genTime);

private:
    std::vector<TZEMShipTimeItem> m_voyages;
    QString m_from;
    QString m_to;
};

class TZEMShipOwariToSuruga : public TZEMShip {
public:
    TZEMShipOwariToSuruga();
};

class TZEMShipSurugaToOwari : public TZEMShip {
public:
    TZEMShipSurugaToOwari();
};

class TZEMShipOwariToSettu : public TZEMShip {
public:
    TZEMShipOwariToSettu();
};

class TZEMShipSettuToOwari : public TZEMShip {
public:
    TZEMShipSettuToOwari();
};

class TZEMShipEtigoToSado : public TZEMShip {
public:
    TZEMShipEtigoToSado();
};

class TZEMShipSadoToEtigo : public TZEMShip {
public:
    TZEMShipSadoToEtigo();
};

class TZEMShipEtigoToEtizen : public TZEMShip {
public:
    TZEMShipEtigoToEtizen();
};

class TZEMShipEtizenToEtigo : public TZEMShip {
public:
    TZEMShipEtizenToEtigo();
};
