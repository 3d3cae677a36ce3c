#pragma once

// The paste and layout settings the main window holds for the whole run.
struct ToolbarSettings {
    bool PasteOK = true;      // paste a composed text into the window below
    bool PasteAfter = false;  // press AfterKey after pasting
    int AfterKey = 0;         // 0 TAB, any other value ENTER
    bool NextKey = true;      // the Next button presses TAB when true, ENTER when false
    bool FrmStyle = true;     // horizontal toolbar when true
};
