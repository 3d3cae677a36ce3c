#pragma once

#include <optional>
#include <string>
#include <vector>

// One request another program made for the clipboard this program owns.
struct ClipboardRequest {
    enum class Kind {
        Formats,  // the list of formats offered (X11's TARGETS)
        Text,     // the text itself, in any of its formats
        Other,    // anything else (a time stamp, several formats at once)
    };
    Kind kind = Kind::Other;
    bool byCompositor = false;  // made by the compositor of a Wayland session, for its native windows
    std::string description;    // the format and the requesting window, for the log
};

// The system clipboard's plain text, as Shift-JIS bytes on our side.
class Clipboard {
  public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's contents; false when the clipboard cannot be taken.
    virtual bool setText(const std::string& sjisText) = 0;
    // The clipboard's plain text, or nothing when it holds no text.
    virtual std::optional<std::string> text() = 0;

    // True while a paste brings the text set last: the window system itself names this program the
    // clipboard's owner, or the program that took it over (a clipboard manager) holds that same text; true
    // where the window system cannot tell.
    virtual bool ownsText() { return true; }
    // The requests for the text set last, oldest first, where the window system shows them; empty elsewhere.
    virtual std::vector<ClipboardRequest> requestsSinceSet() const { return {}; }
};
