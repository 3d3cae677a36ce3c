// The Windows program's entry: the start order around the toolbar window.
#include "data/sjis.h"
#include "platform/file_system.h"
#include "platform/platform_services.h"
#include "platform/win32/win32_dll_search.h"
#include "platform/win32/win32_path.h"
#include "win32/start_folder_check.h"
#include "win32/toolbar_program.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    restrictDllSearchToSystem32();

    PlatformServices platform = makePlatformServices();
    if (!platform.instanceLock->acquire()) {
        platform.dialogs->ask(plainNotice(sjis::fromUtf8("Zenporo!は既に起動されています。"),
                                          sjis::fromUtf8("情報"), DialogIcon::Information));
        return 0;
    }
    const std::string title = sjis::fromUtf8("Zenporo！");
    // Said once at start; the program then goes on all the same.
    if (const auto warning = StartFolderWarning(WidePath(ExecutableFolder()))) {
        platform.dialogs->ask(plainNotice(*warning, title, DialogIcon::Information));
    }
    return RunToolbar(platform);
}
