#include "recipes/TZEMItemSrcList.h"

const TZEMItemSource& TZEMItemSrcList::at(int position) const {
    return m_sources.at(static_cast<std::size_t>(position));
}
