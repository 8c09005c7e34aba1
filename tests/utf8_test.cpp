// Wide text to UTF-8, and the repair of text that is not UTF-8.
#include "reading/utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8, EncodesWideText) {
    EXPECT_EQ(Utf8(L""), "");
    EXPECT_EQ(Utf8(L"a-1"), "a-1");
    EXPECT_EQ(Utf8(L"称骨\r\n"), "称骨\r\n");
    EXPECT_EQ(Utf8(std::wstring(1, static_cast<wchar_t>(0xd800))), "\xef\xbf\xbd");
    if constexpr (sizeof(wchar_t) == 2) {
        const wchar_t pair[] = {static_cast<wchar_t>(0xd83d), static_cast<wchar_t>(0xde00), 0};
        EXPECT_EQ(Utf8(pair), "\xf0\x9f\x98\x80");
    }
}

TEST(ValidUtf8, ReplacesEachBadByte) {
    EXPECT_EQ(ValidUtf8("子\xff时"), "子\xef\xbf\xbd时");
    EXPECT_EQ(ValidUtf8("\xe5\xad"), "\xef\xbf\xbd\xef\xbf\xbd");  // cut short
    EXPECT_EQ(ValidUtf8("\xc0\xaf"), "\xef\xbf\xbd\xef\xbf\xbd");  // overlong
}

}  // namespace
