#pragma once

#include <QString>

#include <string>
#include <string_view>

// Shift-JIS text of the program to and from the toolkit's strings, at the widgets, the clipboard and labels.
QString QStringFromSjis(std::string_view sjisText);

// The Shift-JIS form of a widget's text; characters Shift-JIS cannot hold are left out.
std::string SjisFromQString(const QString& text);
