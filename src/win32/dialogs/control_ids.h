#pragma once

// The dialogs' control ids, named after the controls of the forms, so that tests find a control with
// GetDlgItem as widget tests find one by its object name. None is IDOK or IDCANCEL: the dialog manager's
// ENTER and Escape reach no button by themselves.
namespace control_ids {

// Numbered controls: Edit<n> is kEdit + n, and so on.
inline constexpr int kEdit = 1000;         // Edit0 .. Edit32
inline constexpr int kLabel = 1100;        // Label1 .. Label22
inline constexpr int kBitBtn = 1200;       // BitBtn1 .. BitBtn5
inline constexpr int kImage = 1300;        // Image0 .. Image15
inline constexpr int kSpeedButton = 1400;  // SpeedButton1 .. SpeedButton16
inline constexpr int kCheckBox = 1500;     // CheckBox1, CheckBox2
inline constexpr int kRadioButton = 1600;  // RadioButton1 .. RadioButton4
inline constexpr int kPanel = 1700;        // Panel1 .. Panel3

inline constexpr int kListView1 = 1800;
inline constexpr int kDefaultBtn = 1801;
inline constexpr int kProgramIcon = 1802;
inline constexpr int kProductName = 1803;
inline constexpr int kVersion = 1804;
inline constexpr int kCopyright = 1805;
inline constexpr int kComments = 1806;
inline constexpr int kOKButton = 1807;

// The items of the editor's PopupMenu1.
inline constexpr int kCut1 = 1900;
inline constexpr int kCopy1 = 1901;
inline constexpr int kPaste1 = 1902;
inline constexpr int kDDel1 = 1903;

constexpr int Edit(int n) {
    return kEdit + n;
}
constexpr int Label(int n) {
    return kLabel + n;
}
constexpr int BitBtn(int n) {
    return kBitBtn + n;
}
constexpr int Image(int n) {
    return kImage + n;
}
constexpr int SpeedButton(int n) {
    return kSpeedButton + n;
}
constexpr int CheckBox(int n) {
    return kCheckBox + n;
}
constexpr int RadioButton(int n) {
    return kRadioButton + n;
}
constexpr int Panel(int n) {
    return kPanel + n;
}

}  // namespace control_ids
