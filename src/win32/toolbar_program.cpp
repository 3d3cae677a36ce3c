#include "win32/toolbar_program.h"

#include "data/atomic_write.h"
#include "data/sjis.h"
#include "data/user_file.h"
#include "dialogs/help_manual.h"
#include "platform/error_report.h"
#include "platform/platform_services.h"
#include "platform/win32/win32_path.h"
#include "platform/win32/win32_window_order.h"
#include "toolbar/toolbar_behaviour.h"
#include "win32/toolbar_window.h"

#include <windows.h>

namespace {

std::string executablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return Utf8Path(path);
        }
        path.resize(path.size() * 2);
    }
}

// What the toolbar's controls do: the shared behaviour, the help manual, and the general error report.
// The settings, list, editor and version dialogs come with the next steps of the Windows program.
ToolbarClicks makeClicks(ToolbarBehaviour* const& behaviour, PlatformServices& platform) {
    ToolbarClicks clicks;
    clicks.changeBar = [&behaviour] { behaviour->ChangeBtnClick(); };
    clicks.openButton = [&behaviour] { behaviour->SpeedButton3Click(); };
    clicks.field = [&behaviour](int tag, std::optional<MenuItemId> item) {
        behaviour->SpeedButton7Click(item ? ClickSender::MenuItem : ClickSender::FieldButton, tag, item);
    };
    clicks.nextButton = [&behaviour] { behaviour->SpeedButton18Click(); };
    Shell& shell = *platform.shell;
    clicks.helpItem = [&shell](MenuItemId item) {
        if (item == MenuItemId::Help1) {
            OpenHelpManual(shell, executablePath());
        }
    };
    // Written and, on failure, reported while the message loop still runs as usual; the loop ends only
    // once the window is gone.
    clicks.close = [&behaviour] { behaviour->FormDestroy(); };
    clicks.sessionEnding = [&behaviour] { behaviour->keepSettings(); };
    Dialogs& dialogs = *platform.dialogs;
    clicks.failure = [&behaviour, &dialogs](const char* what) {
        ShowErrorReport(dialogs, sjis::fromUtf8(what), behaviour->applicationTitle());
    };
    return clicks;
}

int runMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int RunToolbar(PlatformServices& platform) {
    // Only one instance gets here, so a temporary file of a save is one that a killed run left behind.
    RemoveLeftoverTemporaries(UserFileFolder(), platform.log.get());

    const ToolbarWindow* window = nullptr;
    ToolbarBehaviour* behaviourOfWindow = nullptr;
    ToolbarWindow toolbar(*platform.textCodec, makeClicks(behaviourOfWindow, platform));
    window = &toolbar;
    ToolbarBehaviour behaviour(
        MakeToolbarServices(platform, [&window] { return toWindowHandle(window->handle()); }), toolbar);
    behaviourOfWindow = &behaviour;
    behaviour.showLayoutState();
    platform.setToolbarWindow(toolbar.handle());
    behaviour.FormCreate();
    behaviour.ArrangeButtons();
    toolbar.show();
    const int result = runMessageLoop();
    // Closing the toolbar has written the settings already; a start cut short has not.
    platform.setToolbarWindow(nullptr);
    behaviour.FormDestroy();
    return result;
}
