#pragma once

#include "toolbar/geometry.h"
#include "toolbar/toolbar_hints.h"

#include <string>
#include <vector>

// The window that shows the toolbar, as its behaviour drives it: a Qt widget in the Linux program, a Win32
// window in the Windows program. Texts are Shift-JIS. A new view shows the built-in faces.
class ToolbarView {
  public:
    virtual ~ToolbarView() = default;

    // The outer top-left corner of the window's frame on the screen, in pixels.
    virtual Point framePosition() const = 0;
    virtual void moveFrame(Point topLeft) = 0;

    // The down state of the open button (SpeedButton3): the field row is shown. Setting it runs no click
    // handler.
    virtual bool isOpen() const = 0;
    virtual void setOpen(bool open) = 0;
    virtual void setOpenButtonHint(const std::string& hint) = 0;

    // The window's caption and the application title, which the task bar shows.
    virtual void setCaptionAndTitle(const std::string& caption) = 0;

    // Sizes the window and places every button for the arrangement and the current open state, keeping the
    // top-left corner where it is.
    virtual void arrangeButtons(bool horizontal) = 0;

    // Decodes the sixteen faces from the picture paths (an empty path: the built-in picture); the buttons
    // show them only after applyButtonFaces.
    virtual void loadFaces(const std::vector<std::string>& paths) = 0;
    // Puts faces 0 to 14 on the field buttons, face 2 on the name button.
    virtual void applyButtonFaces() = 0;
    // Puts the face on the name button (SpeedButton6) alone.
    virtual void showNameFace(int face) = 0;
    // The picture of the four full-name menu items (Kanji1, Hiragana1, Katakana1, Romaji1).
    virtual void setFullNameMenuPicture(int picture) = 0;
    // The field buttons' hints and the captions of the memo menu items.
    virtual void showHints(const ToolbarHints& hints) = 0;

    // A short notice near the toolbar that goes away by itself and never takes the focus.
    virtual void showDeliveryNotice(const std::string& text) = 0;

    // The modal user file dialogs: the editor on an empty record, and the list.
    virtual void openUserFileEditor() = 0;
    virtual void openUserFileList() = 0;
};
