#pragma once

// The texts the version box shows about the product, kept in one place (UTF-8; converted where shown).
namespace product_info {

inline constexpr const char* kProductName = "Zenporo !";
// An ideographic space stands between the word and the number.
inline constexpr const char* kVersion = "Version　1.34";
inline constexpr const char* kRightsNotice = "Copyright (C) 2026 Zenporo Project";
inline constexpr const char* kEmailAddress = "info@example.org";
inline constexpr const char* kHomePage = "https://zenporo.example.org/";
// Replaces the layout's placeholder every time the box is shown; one CR between the two sentences.
inline constexpr const char* kComment = "フリーソフトです。\r転載についてはHelpを参照して下さい。";

}  // namespace product_info
