#pragma once

// What a left click on each of the toolbar's own buttons does, as data: both programs' windows wire their
// buttons from this table. Buttons are numbered as their names are: 0 the change bar (ChangeBtn), n
// SpeedButton<n>.

enum class ButtonAction {
    FlipArrangement,   // the change bar: horizontal or vertical (ChangeBtnClick)
    OpenUserFileList,  // SpeedButton1, the switch button
    Minimize,          // SpeedButton2: the whole application to its task-bar entry
    ToggleFieldRow,    // SpeedButton3, the open button: SpeedButton3Click once its click has toggled it
    ComposeField,      // a field button: composes a text by its Tag and pastes it (SpeedButton7Click)
    OpenSettings,      // SpeedButton15: the settings dialog
    OpenHelpMenu,      // SpeedButton16: the help menu at the pointer
    PressNextKey,      // SpeedButton18: the Next key in the window below (SpeedButton18Click)
};

inline constexpr int kChangeBarNumber = 0;
inline constexpr int kFirstFieldButtonNumber = 4;  // the field row: SpeedButton4 (Tag 0) to SpeedButton18
inline constexpr int kLastButtonNumber = 18;

// The action of the change bar (0) or SpeedButton<number> (1 to 18); throws std::out_of_range for others.
ButtonAction ButtonActionOf(int number);

// The Tag that showing the toolbar gives SpeedButton<number> of the field row: 0 to SpeedButton4, 14 to
// SpeedButton18.
constexpr int FieldButtonTag(int number) {
    return number - kFirstFieldButtonNumber;
}

// Whether the click sends keys to the window below, so that the click rule (ClickGate) decides whether it
// runs.
constexpr bool SendsKeys(ButtonAction action) {
    return action == ButtonAction::ComposeField || action == ButtonAction::PressNextKey;
}
