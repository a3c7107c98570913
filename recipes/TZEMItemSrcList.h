#pragma once

#include <vector>

#include "recipes/TZEMItemSource.h"

// The edges of one item, in the order in which the build found them.
class TZEMItemSrcList {
public:
    int count() const { return static_cast<int>(m_sources.size()); }
    bool isEmpty() const { return m_sources.empty(); }
    const TZEMItemSource& at(int position) const;
    void append(const TZEMItemSource& source) { m_sources.push_back(source); }

    auto begin() const { return m_sources.begin(); }
    auto end() const { return m_sources.end(); }

private:
    std::vector<TZEMItemSource> m_sources;
};
