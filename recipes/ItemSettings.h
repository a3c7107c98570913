#pragma once

#include <QHash>
#include <QString>
#include <functional>

#include "common/IniProfile.h"

// What the per-item files of the data folder (market indices, own prices, pieces on hand) share:
// one key per item name, matched with its letter case (item names are; the file's other rules
// stay private-profile).
namespace ItemSettings {

// Whether a name reads back as the same key; one that would read as something else (a section,
// a comment, a split key) is kept for the session only.
bool storable(const QString& name);

// The values of a section that `valid` accepts, the first of equal names winning as on reading.
QHash<QString, QString> readSection(const IniProfile::Contents& file, const QString& section,
                                    const std::function<bool(const QString& value)>& valid);

}  // namespace ItemSettings
