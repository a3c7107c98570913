#include "app/ToolBarWidth.h"

namespace {
constexpr int ButtonWidth = 39;
}

ToolBarWidths toolBarWidths(const ToolBarVisibility& v) {
    ToolBarWidths result;
    int w = 0;
    if (v.toolBar1) {
        w = 8 + ButtonWidth * v.toolBar1Buttons;
        result.toolBar1Width = w;
    }
    if (v.toolBar2) {
        result.toolBar2Left = w + 1;
        w += 16;
    }
    if (v.toolBar3) {
        w += 16;
        if (v.configButton) {
            w += ButtonWidth;
        }
        if (v.endButton) {
            w += ButtonWidth;
        }
    }
    result.clientWidth = w + 32;
    return result;
}
