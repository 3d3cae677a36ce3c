// The Windows program's services, every one through the Win32 API; the text conversions of all of them go
// through one code page 932 codec.
#include "platform/platform_services.h"

#include "platform/win32/win32_clipboard.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_instance_lock.h"
#include "platform/win32/win32_key_input.h"
#include "platform/win32/win32_log.h"
#include "platform/win32/win32_message_sleeper.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_text_codec.h"
#include "platform/win32/win32_window_order.h"

PlatformServices makePlatformServices() {
    PlatformServices services;
    services.textCodec = std::make_unique<Win32TextCodec>();
    const TextCodec& codec = *services.textCodec;
    auto dialogs = std::make_unique<Win32Dialogs>(codec);
    Win32Dialogs* win32Dialogs = dialogs.get();
    services.dialogs = std::move(dialogs);
    services.setToolbarWindow = [win32Dialogs](AskingWindow toolbar) {
        win32Dialogs->setOwner(static_cast<HWND>(toolbar));
    };
    services.log = std::make_unique<Win32Log>();
    services.clipboard = makeWin32Clipboard(codec, services.log.get());
    services.shell = std::make_unique<Win32Shell>(codec);
    services.instanceLock = std::make_unique<Win32InstanceLock>();
    services.sleeper = std::make_unique<Win32MessageSleeper>();
    services.windowOrder = makeWin32WindowOrder(codec, services.log.get());
    services.keyInput = makeWin32KeyInput(services.log.get());
    return services;
}
