// Byte strings to UTF-16: UTF-8 when valid, else the multi-byte code page.
#include <gtest/gtest.h>

#include "text/text_decode.h"

using quorvane::text::decodeText;
using quorvane::text::isUtf8;

TEST(TextDecode, Utf8WithAccentsCjkAndSurrogates) {
  EXPECT_EQ(decodeText("caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87"), u"caf\u00E9 \u4E2D\u6587");
  // Above U+FFFF: a surrogate pair.
  EXPECT_EQ(decodeText("\xF0\x9F\x98\x80!"), u"\U0001F600!");
  // Above U+10FFFF (a four-byte form past the range, a five-byte form): U+FFFD.
  EXPECT_EQ(decodeText("\xF4\x90\x80\x80"), u"\uFFFD");
  EXPECT_EQ(decodeText("a\xF8\x88\x80\x80\x80z"), u"a\uFFFDz");
  // A stray 0x80-0xBF byte has no trailing bytes: its own code point.
  EXPECT_TRUE(isUtf8("25\xB0" "C"));
  EXPECT_EQ(decodeText("25\xB0" "C"), u"25\u00B0C");
  EXPECT_EQ(decodeText(""), u"");
  EXPECT_EQ(decodeText(nullptr), u"");
}

TEST(TextDecode, InvalidUtf8TakesTheMultiByteRoute) {
  // A lead byte without its trailing bytes, or followed by a non-trailing one.
  for (const char *bytes : {"caf\xE9", "\xE4\xB8", "\xC3(", "\xF0\x9F\x98"})
    EXPECT_FALSE(isUtf8(bytes)) << bytes;
  // In the "C" locale of a process that never set one, the code page cannot
  // convert bytes above 0x7F: each stands for its Latin-1 character, and the
  // ASCII around it is kept.
  EXPECT_EQ(decodeText("caf\xE9 cr\xE8me"), u"caf\u00E9 cr\u00E8me");
  EXPECT_EQ(decodeText("\xC3("), u"\u00C3(");
}
