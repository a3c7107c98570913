#include "recipes/TZEMItem.h"

#include <utility>

TZEMItem::TZEMItem(QString name, std::int32_t count, bool isRoot)
    : Name(std::move(name)), Count(count), IsRoot(isRoot) {}
