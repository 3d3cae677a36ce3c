#pragma once

#include <string_view>

namespace sjis {

// Equal without regard to letter case, as file names and the stored age are compared: ASCII letters and the
// full-width Latin, Greek and Cyrillic letters of Shift-JIS fold to one case. A trail byte is never folded on
// its own, although it may look like an ASCII letter.
bool equalIgnoringCase(std::string_view a, std::string_view b);

}  // namespace sjis
