#include "platform/x11/x11_window_title.h"
#include "platform/qt/qt_sjis.h"

// Qt before Xlib: Xlib's macros clash with Qt's names.
#include "data/sjis.h"
#include "platform/x11/x11_support.h"

namespace x11 {

namespace {

// WM_NAME in the compound text of old clients, converted by Xlib.
QString compoundText(Display* display, Window window) {
    XTextProperty text{};
    ErrorTrap trap(display);
    if (XGetWMName(display, window, &text) == 0 || trap.failed() || text.value == nullptr) {
        return {};
    }
    const XPtr<unsigned char> value(text.value);
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &text, &list, &count) < Success || list == nullptr) {
        return {};
    }
    QString joined;
    for (int i = 0; i < count; ++i) {
        joined += QString::fromUtf8(list[i]);
    }
    XFreeStringList(list);
    return joined;
}

QString unicodeTitle(Display* display, Window window) {
    if (const auto name = textProperty(display, window, atom(display, "_NET_WM_NAME"))) {
        return QString::fromUtf8(name->bytes);
    }
    const auto name = textProperty(display, window, XA_WM_NAME);
    if (!name) {
        return {};
    }
    if (name->type == XA_STRING) {
        return QString::fromLatin1(name->bytes);
    }
    if (name->type == atom(display, "UTF8_STRING")) {
        return QString::fromUtf8(name->bytes);
    }
    return compoundText(display, window);
}

}  // namespace

std::string readWindowTitle(Display* display, unsigned long window) {
    return SjisFromQString(unicodeTitle(display, window));
}

std::string readWindowTitleUtf8(Display* display, unsigned long window) {
    return unicodeTitle(display, window).toStdString();
}

}  // namespace x11
