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
std::optional<DialogAnswer> showTaskDialog(TaskDialogIndirectFunction show, const TextCodec& codec,
                                           HWND owner, bool centredOnOwner, const DialogRequest& request) {
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

// The buttons of a message box: the command each returns and the answer it stands for, in the order shown.
struct MessageBoxButtons {
    UINT flags = MB_OK;
    std::vector<std::pair<int, DialogAnswer>> buttons;
};

// The message box that shows the answers asked for; where none does (a lone "はい(&Y)"), the one with as many
// buttons, each standing for the answer asked for at its place. Its buttons then show Windows' captions.
MessageBoxButtons messageBoxButtonsFor(const DialogRequest& request) {
    using enum DialogAnswer;
    struct Kind {
        UINT flags;
        std::vector<DialogAnswer> answers;
    };
    const Kind kinds[] = {{MB_OK, {Ok}},
                          {MB_OKCANCEL, {Ok, Cancel}},
                          {MB_YESNO, {Yes, No}},
                          {MB_YESNOCANCEL, {Yes, No, Cancel}}};
    std::vector<DialogAnswer> asked;
    for (const DialogButton& button : request.buttons) {
        asked.push_back(button.answer);
    }
    asked.resize(std::clamp<std::size_t>(asked.size(), 1, 3), request.escapeAnswer);
    const auto showsAsked = [&asked](const Kind& kind) {
        return std::is_permutation(kind.answers.begin(), kind.answers.end(), asked.begin(), asked.end());
    };
    const auto asMany = [&asked](const Kind& kind) { return kind.answers.size() == asked.size(); };
    const Kind* kind = std::find_if(std::begin(kinds), std::end(kinds), showsAsked);
    const bool exact = kind != std::end(kinds);
    if (!exact) {
        kind = std::find_if(std::begin(kinds), std::end(kinds), asMany);
    }
    MessageBoxButtons result{kind->flags, {}};
    for (std::size_t i = 0; i < asked.size(); ++i) {
        result.buttons.emplace_back(commandOf(kind->answers[i]), exact ? kind->answers[i] : asked[i]);
    }
    return result;
}

UINT iconFlag(DialogIcon icon) {
    switch (icon) {
        case DialogIcon::Information:
            return MB_ICONINFORMATION;
        case DialogIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case DialogIcon::Error:
            return MB_ICONERROR;
        case DialogIcon::Question:
            return MB_ICONQUESTION;
        case DialogIcon::None:
            break;
    }
    return 0;
}

DialogAnswer showMessageBox(const TextCodec& codec, HWND owner, const DialogRequest& request) {
    const MessageBoxButtons box = messageBoxButtonsFor(request);
    const auto isDefault = [&](const auto& button) { return button.second == request.defaultAnswer; };
    const auto position = std::find_if(box.buttons.begin(), box.buttons.end(), isDefault);
    constexpr UINT kDefaultButtons[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
    const UINT defaultButton =
        position == box.buttons.end() ? MB_DEFBUTTON1 : kDefaultButtons[position - box.buttons.begin()];
    const std::wstring text = sjisToWide(codec, request.text);
    const std::wstring caption = sjisToWide(codec, request.caption);
    const int pressed =
        MessageBoxW(owner, text.c_str(), caption.c_str(), box.flags | iconFlag(request.icon) | defaultButton);
    const auto button = std::find_if(box.buttons.begin(), box.buttons.end(),
                                     [pressed](const auto& b) { return b.first == pressed; });
    return button == box.buttons.end() ? request.escapeAnswer : button->second;
}

}  // namespace

void Win32Dialogs::LibraryFreer::operator()(HMODULE library) const {
    FreeLibrary(library);
}

// Looked up at run time, once: a program started without common controls 6 has no task dialog, and a direct
// import would keep it from starting at all.
void* Win32Dialogs::taskDialogIndirect() {
    if (!controlsLookedUp_) {
        controlsLookedUp_ = true;
        controls_.reset(LoadLibraryW(L"comctl32.dll"));
        if (controls_) {
            taskDialogIndirect_ =
                reinterpret_cast<void*>(GetProcAddress(controls_.get(), "TaskDialogIndirect"));
        }
    }
    return taskDialogIndirect_;
}

DialogAnswer Win32Dialogs::ask(const DialogRequest& request) {
    // A dialog window that asks owns the question and has it centred on itself; else the toolbar owns it.
    HWND owner = askingWindow() != nullptr ? static_cast<HWND>(askingWindow()) : owner_;
    if (const auto show = reinterpret_cast<TaskDialogIndirectFunction>(taskDialogIndirect())) {
        if (const std::optional<DialogAnswer> answer =
                showTaskDialog(show, codec_, owner, askingWindow() != nullptr, request)) {
            return *answer;
        }
    }
    return showMessageBox(codec_, owner, request);
}
