#include "platform/win32/win32_text_collator.h"

#include "data/utf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::vector<std::string> sortedUtf8(const TextCollator& collator, std::vector<std::string> names) {
    std::stable_sort(names.begin(), names.end(), [&collator](const std::string& a, const std::string& b) {
        return collator.compare(utf::toUtf16(a), utf::toUtf16(b)) < 0;
    });
    return names;
}

TEST(Win32TextCollator, SortsJapaneseNamesInTheLanguagesOrder) {
    const Win32TextCollator collator(L"ja-JP");
    // Digits, then Latin letters with the cases side by side, then kana in syllabary order, then kanji.
    EXPECT_EQ(
        sortedUtf8(collator, {"山田", "たなか", "B", "さとう", "b", "いとう", "10", "a", "やまだ"}),
        (std::vector<std::string>{"10", "a", "b", "B", "いとう", "さとう", "たなか", "やまだ", "山田"}));
}

TEST(Win32TextCollator, LetterCaseAndKanaKindKeepNamesApart) {
    for (const Win32TextCollator& collator : {Win32TextCollator(L"ja-JP"), Win32TextCollator()}) {
        const struct {
            const char* a;
            const char* b;
        } pairs[] = {{"yamada", "Yamada"}, {"やまだ", "ヤマダ"}, {"ﾔﾏﾀﾞ", "ヤマダ"}};
        for (const auto& pair : pairs) {
            const int forward = collator.compare(utf::toUtf16(pair.a), utf::toUtf16(pair.b));
            const int backward = collator.compare(utf::toUtf16(pair.b), utf::toUtf16(pair.a));
            EXPECT_NE(forward, 0) << pair.a << " / " << pair.b;
            EXPECT_EQ(forward, -backward) << pair.a << " / " << pair.b;
        }
        EXPECT_EQ(collator.compare(u"山田", u"山田"), 0);
    }
}

}  // namespace
