#pragma once

#include "dialogs/user_file_editor_layout.h"

#include <optional>

#include <windows.h>
#include <windowsx.h>

// What one of the editor's boxes asks of its dialog. The box is subclassed so that it asks for ENTER
// (DLGC_WANTALLKEYS), hands its edit shortcuts and its context menu to the dialog before it would act itself,
// and tells when an input-method composition ends and when the focus goes to another control of the dialog.
class EditorBoxOwner {
  public:
    virtual ~EditorBoxOwner() = default;
    virtual void runShortcut(int box, EditCommand command) = 0;
    virtual void showBoxMenu(int box, POINT screenPoint) = 0;
    virtual void compositionEnded(int box) = 0;
    virtual void boxLeft(int box) = 0;
};

// Which box a subclassed edit control is, and whom it asks.
struct EditorBoxLink {
    int box = 0;
    EditorBoxOwner* owner = nullptr;
};

// Subclasses the edit control of link.box; the link and its owner must outlive the control.
void WatchEditorBox(HWND edit, const EditorBoxLink& link);

// Whether Edit<box> is inside an input-method composition, whose text is not the box's yet.
bool IsComposing(HWND edit);

// The edit command a key press asks for: Ctrl+X, Ctrl+C, Ctrl+V and Del, and the platform's other keys for
// the same commands (Shift+Del, Ctrl+Ins, Shift+Ins).
std::optional<EditCommand> CommandForKey(WPARAM virtualKey, bool control, bool shift, bool alt);
