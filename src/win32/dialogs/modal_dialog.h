#pragma once

#include "toolbar/geometry.h"
#include "win32/dpi.h"
#include "win32/gdi_handle.h"

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

// The base of the program's dialogs: a modal dialog run by the dialog manager from an empty in-memory
// template, its client area and controls placed from a 96-DPI layout scaled by dpi/96, centred on the
// screen of its owner. Controls are created in code in tab order and each is given the dialog's font. On a
// move to a monitor of another DPI the dialog re-places its controls and fonts itself.
class ModalDialog {
  public:
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // Shows the dialog modally over owner and returns the result given to end(); 0 when the close box or
    // the system closed it. Exceptions of the handlers stay inside the dialog (CallCatchingAll).
    INT_PTR run(HWND owner);

    HWND handle() const { return handle_; }

  protected:
    // style: the frame (DS_MODALFRAME for a fixed one, WS_THICKFRAME for a sizeable one).
    ModalDialog(std::wstring caption, Size client, DWORD frameStyle);
    virtual ~ModalDialog() = default;

    // Creates a control at a 96-DPI place; a place of width 0 takes the size of its text. A one-line label
    // whose text needs more than its width grows up to the next control on its row (GrownLabelWidth).
    HWND addControl(const wchar_t* windowClass, const std::wstring& text, DWORD style, int id,
                    const Rect& place, DWORD extendedStyle = 0, FontLook font = FontLook::Normal);
    // The text of a control drawn in this colour (a static text) on the dialog's background; in a high
    // contrast theme in the theme's colour of that kind of text instead (a GetSysColor index: COLOR_BTNTEXT,
    // COLOR_HOTLIGHT for a link), as a designed colour may vanish on the theme's background.
    void setTextColour(HWND control, COLORREF colour, int highContrastColour = COLOR_BTNTEXT);
    HWND control(int id) const { return GetDlgItem(handle_, id); }
    void end(INT_PTR result);
    // The control that takes the keyboard focus when the dialog opens, instead of the first in tab order.
    void focusOnOpen(HWND control) { openingFocus_ = control; }
    UINT dpi() const { return dpi_; }
    int scaled(int pixels) const;

    // Creates the controls; the dialog is sized and centred afterwards.
    virtual void onInit() = 0;
    // WM_COMMAND from a control or a menu.
    virtual void onCommand(int /*id*/, int /*code*/, HWND /*control*/) {}
    // WM_NOTIFY; its result.
    virtual LRESULT onNotify(const NMHDR& /*header*/) { return 0; }
    // Any other message; a value when handled.
    virtual std::optional<INT_PTR> onMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
        return std::nullopt;
    }
    // After the controls were re-placed for a new DPI: pictures of the new size.
    virtual void onDpiChanged() {}
    // The close box, Alt+F4 and the system menu's close: ends the dialog with 0 unless overridden.
    virtual void onClose() { end(0); }

  private:
    struct Control {
        HWND window;
        Rect place;
        FontLook font;
        std::optional<COLORREF> colour;
        int highContrastColour = COLOR_BTNTEXT;
    };

    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void initialise();
    void makeFonts();
    HFONT fontFor(FontLook look) const;
    void placeControl(const Control& control) const;
    void growLabels() const;
    Size frameSize() const;
    void takeDpi(UINT dpi, const RECT& suggested);
    INT_PTR colourOf(HDC dc, HWND control) const;

    std::wstring caption_;
    Size client_;
    DWORD frameStyle_;
    HWND handle_ = nullptr;
    UINT dpi_ = 96;
    FontHandle font_;
    FontHandle boldFont_;
    FontHandle underlinedFont_;
    std::vector<Control> controls_;
    HWND openingFocus_ = nullptr;
};

// Looks up the system's switches of its own dialog rescaling, missing before Windows 10 1703 and in Wine, and
// turns that rescaling off for the dialog, which re-places itself.
void TurnOffSystemDialogScaling(HWND dialog);
// The same for each control of the dialog: called once the controls exist, since it reaches only those.
void TurnOffSystemControlScaling(HWND dialog);
