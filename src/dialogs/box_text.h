#pragma once

#include <string>
#include <string_view>

// Rules for the text of the editor's single-line boxes, measured the way the user file stores it. Box texts
// are Unicode (UTF-16), as the boxes hold them.

// Bytes the text takes in Shift-JIS; a character that Shift-JIS cannot hold counts two, like any other
// full-width character, so that it cannot slip past a limit.
int ShiftJisByteCount(std::u16string_view text);

// Whether a box with the byte limit maxBytes (0: no limit) takes proposed in place of previous. Line ends
// (CR, LF, and NUL, which the user file's reader takes for its end) are never taken. Over the limit only text
// that does not grow is taken, so a longer text that came from a file can still be shortened.
bool AcceptsBoxText(std::u16string_view proposed, std::u16string_view previous, int maxBytes);

// The part of a pasted text before its first line end: CR, LF or NUL.
std::u16string FirstLineOf(std::u16string_view text);

// What a paste puts into a box with the byte limit maxBytes (0: no limit) whose text, without the selection
// the paste replaces, is kept: the first line of pasted, cut after the last whole character that still fits,
// as a text box with a length limit takes a paste.
std::u16string PastedTextThatFits(std::u16string_view pasted, std::u16string_view kept, int maxBytes);

// A box whose text changed from previous to proposed in one step (typing, an input method's result, a paste,
// an undo), as a control without a byte limit of its own takes it: the text that stays, and where the caret
// goes. What the step inserted is cut as a paste is (PastedTextThatFits); a change AcceptsBoxText takes stays
// whole.
struct BoxTextChange {
    std::u16string text;
    std::size_t caret = 0;
};
BoxTextChange FittedBoxChange(std::u16string_view proposed, std::u16string_view previous, int maxBytes);

// The characters of text that Shift-JIS cannot hold, each once, written as "U+XXXX" and joined by ", ";
// empty when every character can be stored. ASCII only, so it is Shift-JIS too.
std::string UnstorableCharacterNames(std::u16string_view text);
