#include "platform/x11/x11_session.h"

#include "platform/x11/x11_support.h"

#include <X11/extensions/Xrandr.h>

#include <memory>
#include <string_view>

namespace x11 {

namespace {

// Xwayland names its outputs after itself ("XWAYLAND0", ...), one per output of the compositor.
bool hasXwaylandOutput(Display* display) {
    int eventBase = 0;
    int errorBase = 0;
    if (XRRQueryExtension(display, &eventBase, &errorBase) == 0) {
        return false;
    }
    const std::unique_ptr<XRRScreenResources, void (*)(XRRScreenResources*)> resources(
        XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display)), XRRFreeScreenResources);
    if (!resources) {
        return false;
    }
    for (int i = 0; i < resources->noutput; ++i) {
        const std::unique_ptr<XRROutputInfo, void (*)(XRROutputInfo*)> output(
            XRRGetOutputInfo(display, resources.get(), resources->outputs[i]), XRRFreeOutputInfo);
        if (output && std::string_view(output->name, static_cast<std::size_t>(output->nameLen))
                          .starts_with("XWAYLAND")) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isXwayland(Display* display) {
    // Newer Xwayland also announces an extension of its own name.
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    if (XQueryExtension(display, "XWAYLAND", &opcode, &eventBase, &errorBase) != 0) {
        return true;
    }
    return hasXwaylandOutput(display);
}

}  // namespace x11
