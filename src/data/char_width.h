#pragma once

#include <string>
#include <string_view>

// Half- and full-width forms of Shift-JIS text, by fixed tables of code page 932, so that both programs give
// the same bytes whatever their platform's conversion does. What has no form of the other width is kept.
namespace width {

// ASCII letters, digits, symbols and the space in half width; the hyphen-like characters of a number
// (－ ‐, and ー ― after a digit) become "-". With katakana, full-width katakana and their marks become
// half-width ones, a voiced or semi-voiced kana as two (ガ → ｶﾞ); without, kana are kept.
std::string toHalfWidth(std::string_view sjis, bool katakana);

// ASCII in full width (the space as 　, "-" as －); with katakana, half-width katakana become full-width
// ones, a kana with its voiced or semi-voiced mark as one (ｶﾞ → ガ).
std::string toFullWidth(std::string_view sjis, bool katakana);

}  // namespace width
