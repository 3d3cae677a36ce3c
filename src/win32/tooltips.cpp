#include "win32/tooltips.h"

#include <commctrl.h>

Tooltips::Tooltips(HWND owner)
    : controls_(ICC_BAR_CLASSES),
      owner_(owner),
      control_(CreateWindowExW(
          WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

Tooltips::~Tooltips() {
    if (control_ != nullptr) {
        DestroyWindow(control_);
    }
}

void Tooltips::relayMouseMove(HWND window, POINT at) {
    if (control_ == nullptr) {
        return;
    }
    MSG message{};
    message.hwnd = window;
    message.message = WM_MOUSEMOVE;
    message.lParam = MAKELPARAM(at.x, at.y);
    message.time = GetMessageTime();
    GetCursorPos(&message.pt);
    SendMessageW(control_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

void Tooltips::set(UINT id, const RECT& area, const std::wstring& text) {
    if (control_ == nullptr) {
        return;
    }
    std::wstring shown = text;
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = owner_;
    tool.uId = id;
    tool.rect = area;
    tool.lpszText = shown.data();
    if (shown.empty()) {
        if (tools_.erase(id) != 0) {
            SendMessageW(control_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        }
        return;
    }
    if (tools_.insert(id).second) {
        SendMessageW(control_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    SendMessageW(control_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(control_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
}

void Tooltips::setFont(HFONT font) {
    if (control_ != nullptr) {
        SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
}
