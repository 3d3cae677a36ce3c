#pragma once

#include "toolbar/composition.h"
#include "toolbar/geometry.h"
#include "toolbar/menu_table.h"
#include "toolbar/text_entry.h"
#include "toolbar/toolbar_hints.h"
#include "toolbar/toolbar_layout.h"
#include "toolbar/toolbar_view.h"
#include "win32/gdi_handle.h"
#include "win32/last_user_window.h"
#include "win32/popup_menus.h"
#include "win32/toolbar_pictures.h"
#include "win32/window.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class NoticeWindow;
class TextCodec;
class Tooltips;

// What the toolbar's controls do; main wires them to the shared behaviour. An empty function does nothing.
struct ToolbarClicks {
    std::function<void()> changeBar;   // ChangeBtn
    std::function<void()> openButton;  // SpeedButton3, after its click has toggled it
    // A field button or the Next button (SpeedButton<number>), at the time of its input event, and whether
    // Shift was held for the click.
    std::function<void(int number, std::uint32_t eventTime, TextEntry entry)> keyButton;
    // A field menu item, by its Tag, and whether Shift was held as it was chosen.
    std::function<void(int tag, MenuItemId item, TextEntry entry)> fieldMenuItem;
    std::function<void()> settingsButton;            // SpeedButton15
    std::function<void(MenuItemId item)> helpItem;   // the help menu's own items
    std::function<void(TextWidth width)> textWidth;  // a 文字幅 item
    std::function<void()> close;  // the close box, Alt+F4, the task bar's close: before the window goes
    std::function<void()> sessionEnding;  // the desktop session ends; the process may end without its close
    // The modal user file dialogs: the editor on an empty record (a start without user files), and the list
    // (a start with several, and the switch button SpeedButton1).
    std::function<void()> openUserFileEditor;
    std::function<void()> openUserFileList;
};

// The always-on-top toolbar: a thin-caption popup window that is never activated, whose client area is
// exactly the layout's, with the change bar and flat buttons drawn by itself. It carries the program's
// task-bar button, titled with the application title.
class ToolbarWindow final : public Window, public ToolbarView {
  public:
    // Texts of the window are Shift-JIS, shown through the codec, which must outlive the window.
    ToolbarWindow(const TextCodec& codec, ToolbarClicks clicks);
    ~ToolbarWindow() override;

    // Shows the window without activating it; a stored position that meets no monitor any more moves onto
    // the nearest one first.
    void show();

    Point framePosition() const override;
    void moveFrame(Point topLeft) override;
    bool isOpen() const override { return open_; }
    void setOpen(bool open) override;
    void setOpenButtonHint(const std::string& sjisHint) override;
    void setCaptionAndTitle(const std::string& sjisCaption) override;
    void arrangeButtons(bool horizontal) override;
    void loadFaces(const std::vector<std::string>& sjisPaths) override;
    void applyButtonFaces() override;
    void showNameFace(int face) override;
    void setFullNameMenuPicture(int picture) override;
    void showHints(const ToolbarHints& hints) override;
    void showDeliveryNotice(const std::string& sjisText) override;
    void openUserFileEditor() override;
    void openUserFileList() override;

    // The built-in pictures and the faces as the buttons show them, for the settings dialog's previews.
    const ToolbarPictures& pictures() const { return pictures_; }

  private:
    // What one drawn button shows: a 96-DPI picture and the bitmap made of it for the current DPI.
    struct ButtonPicture {
        Pixels picture;
        BitmapHandle bitmap;
        Size size;
    };

    LRESULT onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void paint();
    void paintButton(HDC dc, int number) const;
    void onMouseMove(POINT at);
    void onMouseLeave();
    void onLeftButtonDown(POINT at);
    void onLeftButtonUp(POINT at, TextEntry entry, std::uint32_t eventTime);
    void onRightButtonDown(POINT at);
    void onDpiChanged(UINT dpi, const RECT& suggested);
    void onMoving(const RECT& proposed);
    void onActivated(HWND previous);
    void giveKeyboardBack();

    // What the core's table says the button does; a click that sends keys goes to the click rule.
    void click(int number, TextEntry entry, std::uint32_t eventTime);
    void openMenu(int number);
    void followPointer();

    std::optional<int> buttonAt(POINT at) const;
    RECT buttonRect(int number) const;
    Size frameSizeFor(UINT dpi) const;
    void resizeFrame();
    void setPicture(int number, const Pixels& picture);
    void rebuildBitmaps();
    void refreshTooltips();
    // The toolbar's font at the current DPI, made when first needed.
    HFONT font();
    void redraw();

    const TextCodec& codec_;
    ToolbarClicks clicks_;
    ToolbarPictures pictures_;
    PopupMenus menus_;
    UINT dpi_ = 96;
    bool horizontal_ = true;
    bool open_ = false;
    ToolbarLayout layout_;
    std::array<ButtonPicture, 19> buttons_;  // by number: 0 the change bar (no picture), n SpeedButton<n>
    std::array<std::wstring, 19> hints_;
    std::optional<int> hovered_;
    std::optional<int> pressed_;
    bool trackingLeave_ = false;
    bool menuHoldsForeground_ = false;  // a popup menu made the toolbar the foreground window
    LastUserWindow userWindow_;
    FontHandle font_;
    std::unique_ptr<Tooltips> tooltips_;
    std::unique_ptr<NoticeWindow> notice_;
};
