#pragma once

// Which parts of the controller's tool bars are visible; the controller's client width follows.
struct ToolBarVisibility {
    bool toolBar1 = true;
    int toolBar1Buttons =
        5;  // visible buttons among the tool buttons of ToolBar1 (ToolButton1 excluded)
    bool toolBar2 = false;
    bool toolBar3 = true;
    bool configButton = false;
    bool endButton = true;
};

struct ToolBarWidths {
    int toolBar1Width = 0;  // width given to ToolBar1 (0 when it is hidden)
    int toolBar2Left = 0;   // left of ToolBar2 (0 when it is hidden)
    int clientWidth = 0;    // the controller's client width
};

// Buttons are 39 pixels wide; a band costs 16 pixels, the first bar 8 for its indent and border,
// and the cool bar 32 around everything. With the shipped visibility (five tool buttons and the end
// button) the client is 290 wide.
ToolBarWidths toolBarWidths(const ToolBarVisibility& visibility);
