#pragma once

#include "platform/x11/x11_platform.h"
#include "x11_test_support.h"

#include <QString>

#include <cstdio>
#include <memory>
#include <optional>

// What the delivery benchmarks run against: the real X11 delivery on the display that DISPLAY names, an
// always-on-top window standing for the toolbar, and a real paste target application below it, started the
// way the X11 tests start them.
struct TargetBelowToolbar {
    std::optional<X11Delivery> delivery;
    std::unique_ptr<x11test::Toolbar> toolbar;
    std::unique_ptr<x11test::TargetApp> target;
};

// Sets it up; nothing, with the reason printed for the benchmark named, when it cannot.
inline std::optional<TargetBelowToolbar> StartTargetBelowToolbar(const char* benchmark,
                                                                 const QString& title) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "%s: needs an X display (DISPLAY)\n", benchmark);
        return std::nullopt;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    x11test::application();
    TargetBelowToolbar desk;
    desk.delivery = openX11Delivery();
    if (!desk.delivery) {
        std::fprintf(stderr, "%s: cannot open the X display for the delivery\n", benchmark);
        return std::nullopt;
    }
    desk.toolbar = std::make_unique<x11test::Toolbar>();
    desk.target = std::make_unique<x11test::TargetApp>(title);
    const WindowHandle toolbarWindow = desk.toolbar->window();
    X11Delivery& delivery = *desk.delivery;
    x11test::TargetApp& target = *desk.target;
    if (!target.waitReady() || !x11test::waitUntil([&] {
            return delivery.windows->findWindowBelow(toolbarWindow) == WindowHandle{target.window()};
        })) {
        std::fprintf(stderr, "%s: the target never came to lie below the toolbar\n", benchmark);
        return std::nullopt;
    }
    return desk;
}
