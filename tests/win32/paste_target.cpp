// A small Win32 program that the service tests type into: a window with two edit boxes, the first focused.
// Usage: paste_target <title> <report file> [--topmost | --topmost-active | --refuse-paste |
//                                            --input-method-on | --class <class>]
// When its window is closed it writes what each box holds to the report file as UTF-8, one line per box.
// With --topmost it shows itself always on top and without taking the focus (--topmost-active: and active);
// with --refuse-paste its boxes ignore a paste, as a form's e-mail confirmation box often does; with
// --input-method-on its input method is on; with --class its window has that class name (the desktop's
// "WorkerW", say). WM_APP asks whether its input method is on.
#include <windows.h>

#include <imm.h>

#include <array>
#include <string>

namespace {

constexpr int kFirstBoxId = 101;
constexpr int kSecondBoxId = 102;

struct Target {
    std::wstring reportPath;
    std::array<HWND, 2> boxes{};
    HWND focused = nullptr;
};

std::wstring textOf(HWND box) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(box)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(box, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                        nullptr);
    return bytes;
}

void writeReport(const Target& target) {
    std::string report;
    for (HWND box : target.boxes) {
        report += utf8(textOf(box)) + "\n";
    }
    const HANDLE file = CreateFileW(target.reportPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
}

WNDPROC editProcedure = nullptr;

LRESULT CALLBACK pasteRefusingEditProcedure(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_PASTE ? 0 : CallWindowProcW(editProcedure, box, message, wParam, lParam);
}

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* target = reinterpret_cast<Target*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == EN_SETFOCUS && target != nullptr) {
                target->focused = reinterpret_cast<HWND>(lParam);
            }
            return 0;
        case WM_SETFOCUS:
            // Back to the box that had the focus, as dialogs do.
            if (target != nullptr && target->focused != nullptr) {
                SetFocus(target->focused);
            }
            return 0;
        case WM_APP: {
            const HIMC context = ImmGetContext(window);
            const BOOL open = ImmGetOpenStatus(context);
            ImmReleaseContext(window, context);
            return open;
        }
        case WM_CLOSE:
            if (target != nullptr) {
                writeReport(*target);
            }
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3) {
        return 2;
    }
    Target target;
    target.reportPath = argv[2];
    const std::wstring option = argc > 3 ? argv[3] : L"";
    const bool topmost = option == L"--topmost" || option == L"--topmost-active";
    const bool activate = option != L"--topmost";
    const std::wstring className = argc > 4 && option == L"--class" ? argv[4] : L"ZenporoPasteTarget";

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = className.c_str();
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    RegisterClassW(&windowClass);

    const HWND window =
        CreateWindowExW(topmost ? WS_EX_TOPMOST : 0, windowClass.lpszClassName, argv[1], WS_OVERLAPPEDWINDOW,
                        100, 100, 400, 160, nullptr, nullptr, instance, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&target));
    const std::array<int, 2> ids = {kFirstBoxId, kSecondBoxId};
    for (std::size_t i = 0; i < target.boxes.size(); ++i) {
        target.boxes[i] = CreateWindowExW(
            WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 10,
            10 + static_cast<int>(i) * 40, 360, 28, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(ids[i])), instance, nullptr);
        if (option == L"--refuse-paste") {
            editProcedure = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
                target.boxes[i], GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pasteRefusingEditProcedure)));
        }
    }
    if (option == L"--input-method-on") {
        const HIMC context = ImmGetContext(window);
        ImmSetOpenStatus(context, TRUE);
        ImmReleaseContext(window, context);
    }
    target.focused = target.boxes[0];
    ShowWindow(window, activate ? SW_SHOWNORMAL : SW_SHOWNOACTIVATE);
    if (activate) {
        SetForegroundWindow(window);
        SetFocus(target.boxes[0]);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Lets TAB move between the boxes as in a dialog.
        if (IsDialogMessageW(window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    LocalFree(argv);
    return 0;
}
