#pragma once

#include <QString>

#include <string_view>

// A message or label text of the program (Shift-JIS) for a Qt label: every CR, LF, CR LF or LF CR becomes one
// line break, as the platform's own labels break lines on any of them.
QString LabelText(std::string_view sjisText);
