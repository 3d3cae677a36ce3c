#pragma once

#include <QString>

// Rules for the text of the editor's single-line boxes, measured the way the user file stores it.

// Bytes the text takes in Shift-JIS; a character that Shift-JIS cannot hold counts two, like any other
// full-width character, so that it cannot slip past a limit.
int ShiftJisByteCount(const QString& text);

// Whether a box with the byte limit maxBytes (0: no limit) takes proposed in place of previous. Line breaks
// are never taken. Over the limit only text that does not grow is taken, so a longer text that came from a
// file can still be shortened.
bool AcceptsBoxText(const QString& proposed, const QString& previous, int maxBytes);

// The part of a pasted text before its first CR or LF.
QString FirstLineOf(const QString& text);

// The characters of text that Shift-JIS cannot hold, each once, written as "U+XXXX" and joined by ", ";
// empty when every character can be stored.
QString UnstorableCharacterNames(const QString& text);
