// Wide text to UTF-8 and back, and the repair of text that is not UTF-8.
#include "text/utf8.h"

#include <gtest/gtest.h>

namespace {

using namespace chenggu;

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

TEST(Widen, DecodesUtf8AndReplacesBadBytes) {
    EXPECT_EQ(Widen(""), L"");
    EXPECT_EQ(Widen("称骨 1"), L"称骨 1");
    EXPECT_EQ(Widen("子\xff"), L"子\xfffd");
    EXPECT_EQ(Utf8(Widen("\xf0\x9f\x98\x80")), "\xf0\x9f\x98\x80");  // a surrogate pair on Windows
}

TEST(ValidUtf8, ReplacesEachBadByte) {
    EXPECT_EQ(ValidUtf8("子\xff时"), "子\xef\xbf\xbd时");
    EXPECT_EQ(ValidUtf8("\xe5\xad"), "\xef\xbf\xbd\xef\xbf\xbd");  // cut short
    EXPECT_EQ(ValidUtf8("\xc0\xaf"), "\xef\xbf\xbd\xef\xbf\xbd");  // overlong
}

}  // namespace
