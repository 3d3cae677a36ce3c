#include "win32/dialogs/editor_box_keys.h"

#include "win32/handler_guard.h"

namespace {

constexpr const wchar_t* kComposingProperty = L"ZenporoComposing";
constexpr const wchar_t* kLinkProperty = L"ZenporoBoxLink";
constexpr const wchar_t* kProcedureProperty = L"ZenporoBoxProcedure";

// The edit control's own procedure, which the box's handles everything else to.
LRESULT original(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto procedure = reinterpret_cast<WNDPROC>(GetPropW(edit, kProcedureProperty));
    return CallWindowProcW(procedure, edit, message, wParam, lParam);
}

bool keyDown(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

// The control characters the edit control would turn into cut, copy and paste itself.
bool isEditControlCharacter(WPARAM character) {
    return character == 0x18 || character == 0x03 || character == 0x16 || character == L'\r';
}

LRESULT handleBoxMessage(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto* link = static_cast<const EditorBoxLink*>(GetPropW(edit, kLinkProperty));
    switch (message) {
        case WM_GETDLGCODE: {
            LRESULT code = original(edit, message, wParam, lParam);
            const auto* key = reinterpret_cast<const MSG*>(lParam);
            if (key != nullptr && (key->message == WM_KEYDOWN || key->message == WM_CHAR) &&
                key->wParam == (key->message == WM_KEYDOWN ? VK_RETURN : L'\r')) {
                code |= DLGC_WANTALLKEYS;
            }
            return code;
        }
        case WM_KEYDOWN: {
            if (wParam == VK_RETURN) {
                // The next control in tab order, as the TAB key would reach it, without synthetic input.
                PostMessageW(GetParent(edit), WM_NEXTDLGCTL, 0, FALSE);
                return 0;
            }
            const auto command =
                CommandForKey(wParam, keyDown(VK_CONTROL), keyDown(VK_SHIFT), keyDown(VK_MENU));
            if (command) {
                link->owner->runShortcut(link->box, *command);
                return 0;
            }
            break;
        }
        case WM_CHAR:
            if (isEditControlCharacter(wParam)) {
                return 0;
            }
            break;
        case WM_PASTE:
            link->owner->runShortcut(link->box, EditCommand::Paste);
            return 0;
        case WM_CONTEXTMENU:
            link->owner->showBoxMenu(link->box, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return 0;
        case WM_IME_STARTCOMPOSITION:
            SetPropW(edit, kComposingProperty, reinterpret_cast<HANDLE>(1));
            break;
        case WM_IME_ENDCOMPOSITION: {
            const LRESULT result = original(edit, message, wParam, lParam);
            RemovePropW(edit, kComposingProperty);
            link->owner->compositionEnded(link->box);
            return result;
        }
        case WM_KILLFOCUS: {
            const LRESULT result = original(edit, message, wParam, lParam);
            const auto next = reinterpret_cast<HWND>(wParam);
            // A menu or another window taking the focus is no move to another box.
            if (next != nullptr && IsChild(GetParent(edit), next)) {
                link->owner->boxLeft(link->box);
            }
            return result;
        }
        case WM_NCDESTROY: {
            const auto procedure = reinterpret_cast<WNDPROC>(RemovePropW(edit, kProcedureProperty));
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
            RemovePropW(edit, kComposingProperty);
            RemovePropW(edit, kLinkProperty);
            return CallWindowProcW(procedure, edit, message, wParam, lParam);
        }
        default:
            break;
    }
    return original(edit, message, wParam, lParam);
}

// A command that failed (the clipboard held by another program) is reported; the key stays handled.
LRESULT CALLBACK boxProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallCatchingAll([&] { return handleBoxMessage(edit, message, wParam, lParam); },
                           [] { return LRESULT{0}; });
}

}  // namespace

void WatchEditorBox(HWND edit, const EditorBoxLink& link) {
    SetPropW(edit, kLinkProperty, const_cast<EditorBoxLink*>(&link));
    const LONG_PTR procedure =
        SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(boxProcedure));
    SetPropW(edit, kProcedureProperty, reinterpret_cast<HANDLE>(procedure));
}

bool IsComposing(HWND edit) {
    return GetPropW(edit, kComposingProperty) != nullptr;
}

std::optional<EditCommand> CommandForKey(WPARAM virtualKey, bool control, bool shift, bool alt) {
    if (alt) {
        return std::nullopt;
    }
    if (control && !shift) {
        switch (virtualKey) {
            case 'X':
                return EditCommand::Cut;
            case 'C':
            case VK_INSERT:
                return EditCommand::Copy;
            case 'V':
                return EditCommand::Paste;
            default:
                return std::nullopt;
        }
    }
    if (shift && !control) {
        if (virtualKey == VK_DELETE) {
            return EditCommand::Cut;
        }
        if (virtualKey == VK_INSERT) {
            return EditCommand::Paste;
        }
        return std::nullopt;
    }
    if (!control && !shift && virtualKey == VK_DELETE) {
        return EditCommand::Delete;
    }
    return std::nullopt;
}
