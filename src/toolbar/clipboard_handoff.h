#pragma once

#include "platform/clipboard.h"

#include <cstddef>
#include <string>
#include <vector>

// How a Wayland compositor hands the X11 clipboard to its native windows, seen from the requests it makes.
// On taking a new X11 clipboard it first asks for the formats, makes the clipboard its own, and then its
// clipboard manager reads the text once to keep a copy; a native window's paste is one more read. mutter
// does so from 43 to 50 (its clipboard manager's owner-change handler and its X11 selection source).

// True once the compositor holds the text set last: it asked for the formats and read the text after that.
bool CompositorTookClipboard(const std::vector<ClipboardRequest>& requests);

// True when the compositor read the text after the first `seenBeforePaste` requests: the paste's own fetch.
bool PasteFetchedText(const std::vector<ClipboardRequest>& requests, std::size_t seenBeforePaste);

// The requests as one log line: "none", or their descriptions joined.
std::string DescribeClipboardRequests(const std::vector<ClipboardRequest>& requests);
