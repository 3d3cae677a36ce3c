#include "platform/win32/win32_dialogs.h"

#include "platform/win32/win32_text_codec.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace {

int commandOf(DialogAnswer answer) {
    switch (answer) {
        case DialogAnswer::Ok:
            return IDOK;
        case DialogAnswer::Cancel:
            return IDCANCEL;
        case DialogAnswer::Yes:
            return IDYES;
        case DialogAnswer::No:
            return IDNO;
    }
    return IDOK;
}

TASKDIALOG_COMMON_BUTTON_FLAGS commonButtonOf(DialogAnswer answer) {
    switch (answer) {
        case DialogAnswer::Ok:
            return TDCBF_OK_BUTTON;
        case DialogAnswer::Cancel:
            return TDCBF_CANCEL_BUTTON;
        case DialogAnswer::Yes:
            return TDCBF_YES_BUTTON;
        case DialogAnswer::No:
            return TDCBF_NO_BUTTON;
    }
    return TDCBF_OK_BUTTON;
}

bool offers(const DialogRequest& request, DialogAnswer answer) {
    return std::any_of(request.buttons.begin(), request.buttons.end(),
                       [answer](const DialogButton& button) { return button.answer == answer; });
}

// The answer of the button pressed; Escape and the close box come back as IDCANCEL.
DialogAnswer answerOf(const DialogRequest& request, int command) {
    switch (command) {
        case IDOK:
            return DialogAnswer::Ok;
        case IDYES:
            return DialogAnswer::Yes;
        case IDNO:
            return DialogAnswer::No;
        default:
            return offers(request, DialogAnswer::Cancel) ? DialogAnswer::Cancel : request.escapeAnswer;
    }
}

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// Looked up at run time: a program started without common controls 6 has no task dialog, and a direct
// import would keep it from starting at all.
TaskDialogIndirectFunction taskDialogIndirect() {
    const HMODULE controls = LoadLibraryW(L"comctl32.dll");
    if (controls == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<TaskDialogIndirectFunction>(
        reinterpret_cast<void*>(GetProcAddress(controls, "TaskDialogIndirect")));
}

struct WideButtons {
    std::vector<std::wstring> captions;
    std::vector<TASKDIALOG_BUTTON> custom;
    TASKDIALOG_COMMON_BUTTON_FLAGS common = 0;
};

WideButtons buttonsOf(const TextCodec& codec, const DialogRequest& request) {
    WideButtons result;
    result.captions.reserve(request.buttons.size());
    for (const DialogButton& button : request.buttons) {
        if (button.caption.empty()) {
            result.common |= commonButtonOf(button.answer);
            continue;
        }
        result.captions.push_back(sjisToWide(codec, button.caption));
        result.custom.push_back({commandOf(button.answer), result.captions.back().c_str()});
    }
    return result;
}

// centredOnOwner: over the dialog window that asks; otherwise centred on the owner's screen.
std::optional<DialogAnswer> showTaskDialog(const TextCodec& codec, HWND owner, bool centredOnOwner,
                                           const DialogRequest& request) {
    const TaskDialogIndirectFunction show = taskDialogIndirect();
    if (show == nullptr) {
        return std::nullopt;
    }
    const std::wstring text = sjisToWide(codec, request.text);
    const std::wstring caption = sjisToWide(codec, request.caption);
    const WideButtons buttons = buttonsOf(codec, request);

    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof config;
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | (centredOnOwner ? TDF_POSITION_RELATIVE_TO_WINDOW : 0);
    config.pszWindowTitle = caption.c_str();
    config.pszContent = text.c_str();
    config.dwCommonButtons = buttons.common;
    config.pButtons = buttons.custom.empty() ? nullptr : buttons.custom.data();
    config.cButtons = static_cast<UINT>(buttons.custom.size());
    config.nDefaultButton = commandOf(request.defaultAnswer);
    switch (request.icon) {
        case DialogIcon::Information:
            config.pszMainIcon = TD_INFORMATION_ICON;
            break;
        case DialogIcon::Exclamation:
            config.pszMainIcon = TD_WARNING_ICON;
            break;
        case DialogIcon::Error:
            config.pszMainIcon = TD_ERROR_ICON;
            break;
        case DialogIcon::Question:
            config.dwFlags |= TDF_USE_HICON_MAIN;
            config.hMainIcon = LoadIconW(nullptr, IDI_QUESTION);
            break;
        case DialogIcon::None:
            break;
    }
    int pressed = 0;
    if (FAILED(show(&config, &pressed, nullptr, nullptr))) {
        return std::nullopt;
    }
    return answerOf(request, pressed);
}

UINT messageBoxFlags(const DialogRequest& request) {
    const bool yes = offers(request, DialogAnswer::Yes);
    const bool cancel = offers(request, DialogAnswer::Cancel);
    UINT flags = yes ? (cancel ? MB_YESNOCANCEL : MB_YESNO) : (cancel ? MB_OKCANCEL : MB_OK);
    switch (request.icon) {
        case DialogIcon::Information:
            flags |= MB_ICONINFORMATION;
            break;
        case DialogIcon::Exclamation:
            flags |= MB_ICONEXCLAMATION;
            break;
        case DialogIcon::Error:
            flags |= MB_ICONERROR;
            break;
        case DialogIcon::Question:
            flags |= MB_ICONQUESTION;
            break;
        case DialogIcon::None:
            break;
    }
    const auto position =
        std::find_if(request.buttons.begin(), request.buttons.end(),
                     [&](const DialogButton& b) { return b.answer == request.defaultAnswer; });
    const auto index = position == request.buttons.end() ? 0 : position - request.buttons.begin();
    constexpr UINT kDefaultButtons[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
    return flags | kDefaultButtons[std::min<std::ptrdiff_t>(index, 2)];
}

}  // namespace

DialogAnswer Win32Dialogs::ask(const DialogRequest& request) {
    // A dialog window that asks owns the question and has it centred on itself; else the toolbar owns it.
    HWND owner = askingWindow() != nullptr ? static_cast<HWND>(askingWindow()) : owner_;
    if (const std::optional<DialogAnswer> answer =
            showTaskDialog(codec_, owner, askingWindow() != nullptr, request)) {
        return *answer;
    }
    const std::wstring text = sjisToWide(codec_, request.text);
    const std::wstring caption = sjisToWide(codec_, request.caption);
    const int pressed = MessageBoxW(owner, text.c_str(), caption.c_str(), messageBoxFlags(request));
    return pressed == 0 ? request.escapeAnswer : answerOf(request, pressed);
}
