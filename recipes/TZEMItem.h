#pragma once

#include <QString>
#include <cstdint>

#include "recipes/TZEMItemSrcList.h"

// One item of the recipe graph: a product or material, held once per name (a starting item may
// repeat when the search returned its name in several rows).
class TZEMItem {
public:
    TZEMItem(QString name, std::int32_t count, bool isRoot);

    QString Name;
    // The production count of a starting item of a forward build; 1 otherwise.
    std::int32_t Count;
    TZEMItemSrcList Sources;
    // True for an item that the search itself returned.
    bool IsRoot;
};
