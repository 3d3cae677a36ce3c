#include "win32/toolbar_program.h"

#include "data/atomic_write.h"
#include "data/user_file.h"
#include "dialogs/help_manual.h"
#include "platform/error_report.h"
#include "platform/platform_services.h"
#include "platform/win32/win32_path.h"
#include "platform/win32/win32_window_order.h"
#include "toolbar/button_actions.h"
#include "toolbar/toolbar_behaviour.h"
#include "win32/dialogs/about_box.h"
#include "win32/dialogs/picture_file_dialog.h"
#include "win32/dialogs/settings_dialog.h"
#include "win32/dialogs/user_file_list_dialog.h"
#include "win32/handler_guard.h"
#include "win32/toolbar_window.h"

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <utility>

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

// What the user file dialogs work with: the toolbar's current user and questions, in the program's folder.
UserDialogContext userDialogContext(ToolbarBehaviour& behaviour, PlatformServices& platform) {
    return {behaviour.currentUser(), behaviour.dialogs(),          *platform.clipboard,
            *platform.textCodec,     behaviour.applicationTitle(), UserFileFolder()};
}

// The modal dialogs over the toolbar: the user file editor and list, the settings dialog and the version box.
void addDialogs(ToolbarClicks& clicks, ToolbarBehaviour* const& behaviour, const ToolbarWindow* const& window,
                PlatformServices& platform) {
    clicks.openUserFileEditor = [&behaviour, &window, &platform] {
        OpenUserFileEditor(window->handle(), userDialogContext(*behaviour, platform), std::string());
    };
    clicks.openUserFileList = [&behaviour, &window, &platform] {
        OpenUserFileList(window->handle(), userDialogContext(*behaviour, platform));
    };
    clicks.settingsButton = [&behaviour, &window, &platform] {
        const ToolbarPictures& pictures = window->pictures();
        const SettingsDialogContext context{behaviour->settings(),
                                            behaviour->buttonImagePaths(),
                                            [&pictures](int face) { return pictures.face(face); },
                                            [&pictures](int face) { return pictures.builtIn(face); },
                                            [&behaviour] { behaviour->rebuildFaces(); },
                                            behaviour->dialogs(),
                                            *platform.textCodec,
                                            ChoosePictureFile};
        OpenSettingsDialog(window->handle(), context);
    };
}

// What the toolbar's controls do: the shared behaviour, the dialogs, the help manual, and the general error
// report.
ToolbarClicks makeClicks(ToolbarBehaviour* const& behaviour, const ToolbarWindow* const& window,
                         PlatformServices& platform) {
    ToolbarClicks clicks;
    clicks.changeBar = [&behaviour] { behaviour->ChangeBtnClick(); };
    clicks.openButton = [&behaviour] { behaviour->SpeedButton3Click(); };
    clicks.keyButton = [&behaviour](int number, std::uint32_t eventTime, TextEntry entry) {
        behaviour->keyButtonClick(number, FieldButtonTag(number), eventTime, entry);
    };
    clicks.fieldMenuItem = [&behaviour](int tag, MenuItemId item, TextEntry entry) {
        behaviour->SpeedButton7Click(ClickSender::MenuItem, tag, item, entry);
    };
    clicks.textWidth = [&behaviour](TextWidth width) { behaviour->setTextWidth(width); };
    addDialogs(clicks, behaviour, window, platform);
    clicks.helpItem = [&window, &platform](MenuItemId item) {
        if (item == MenuItemId::Help1) {
            OpenHelpManual(*platform.shell, executablePath());
        } else if (item == MenuItemId::Varsion1) {
            ShowAboutBox(window->handle(), *platform.shell, *platform.textCodec);
        }
    };
    // Written and, on failure, reported while the message loop still runs as usual; the loop ends only
    // once the window is gone.
    clicks.close = [&behaviour] { behaviour->FormDestroy(); };
    clicks.sessionEnding = [&behaviour] { behaviour->keepSettings(); };
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
    ToolbarWindow toolbar(*platform.textCodec, makeClicks(behaviourOfWindow, window, platform));
    window = &toolbar;
    ToolbarServices services =
        MakeToolbarServices(platform, [&window] { return toWindowHandle(window->handle()); });
    services.doubleClickTime = std::chrono::milliseconds(GetDoubleClickTime());
    // The clipboard's text is rendered at once, so a window reads it without this thread: a plain wait.
    services.waitServingEvents = [&platform](std::chrono::milliseconds cap,
                                             const std::function<bool()>& done) {
        if (!done()) {
            platform.sleeper->sleep(cap);
        }
        return done();
    };
    ToolbarBehaviour behaviour(std::move(services), toolbar);
    behaviourOfWindow = &behaviour;
    // What any window's handler throws is shown over the window that asks at the moment.
    const UncaughtFailureReport failureReport([&behaviour](const std::string& sjisMessage) {
        ShowErrorReport(behaviour.dialogs(), sjisMessage, behaviour.applicationTitle());
    });
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
