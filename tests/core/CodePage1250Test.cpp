#include "platform/system/CodePage1250.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

namespace {
bool undefinedByte(int b) {
    return b == 0x81 || b == 0x83 || b == 0x88 || b == 0x90 || b == 0x98;
}
} // namespace

TEST(CodePage1250, AsciiStaysAsItIs) {
    for (int b = 0; b < 0x80; ++b)
        EXPECT_EQ(windows1250ToUnicode(static_cast<unsigned char>(b)), static_cast<char32_t>(b));
}

TEST(CodePage1250, PolishLettersAndPunctuation) {
    const std::pair<unsigned char, char32_t> expected[] = {
        {0xA5, U'Ą'}, {0xB9, U'ą'}, {0xC6, U'Ć'}, {0xE6, U'ć'}, {0xCA, U'Ę'}, {0xEA, U'ę'},
        {0xA3, U'Ł'}, {0xB3, U'ł'}, {0xD1, U'Ń'}, {0xF1, U'ń'}, {0xD3, U'Ó'}, {0xF3, U'ó'},
        {0x8C, U'Ś'}, {0x9C, U'ś'}, {0x8F, U'Ź'}, {0x9F, U'ź'}, {0xAF, U'Ż'}, {0xBF, U'ż'},
        {0x80, U'€'}, {0x84, U'„'}, {0x94, U'”'}, {0x96, U'–'}, {0x99, U'™'}, {0xA0, U'\u00A0'},
        {0xA7, U'§'}, {0xD7, U'×'}, {0xDF, U'ß'}, {0xFF, U'˙'},
    };
    for (const auto& [byte, character] : expected)
        EXPECT_EQ(windows1250ToUnicode(byte), character) << std::hex << int{byte};
}

TEST(CodePage1250, UndefinedBytesGiveReplacementCharacter) {
    std::set<char32_t> seen;
    for (int b = 0x80; b <= 0xFF; ++b) {
        const char32_t c = windows1250ToUnicode(static_cast<unsigned char>(b));
        if (undefinedByte(b)) {
            EXPECT_EQ(c, U'\uFFFD') << std::hex << b;
            continue;
        }
        // Never a control character of the C1 range, and no two bytes that read alike.
        EXPECT_GE(c, 0xA0u) << std::hex << b;
        EXPECT_NE(c, U'\uFFFD') << std::hex << b;
        EXPECT_TRUE(seen.insert(c).second) << std::hex << b;
    }
}

TEST(CodePage1250, DecodesToUtf8) {
    EXPECT_EQ(windows1250ToUtf8("Sk\xB3"
                                "ady mo\xBF"
                                "liwe do prowadzenia:"),
              "Sk\xC5\x82"
              "ady mo\xC5\xBC"
              "liwe do prowadzenia:");
    EXPECT_EQ(windows1250ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(windows1250ToUtf8("\x81"), "\xEF\xBF\xBD");
    EXPECT_EQ(windows1250ToUtf8("\xA0"), "\xC2\xA0");
    EXPECT_EQ(windows1250ToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(windows1250ToUtf8(""), "");
}

TEST(CodePage1250, FileNamesStayUtf8WhenTheyAreAndAreDecodedOtherwise) {
    EXPECT_EQ(fileNameToUtf8("\xc5\x82\xc3\xb3"
                             "d\xc5\xba.scn"),
              "łódź.scn");
    EXPECT_EQ(fileNameToUtf8("\xb3\xf3"
                             "d\x9f.scn"),
              "łódź.scn");
    // An overlong slash and a lone surrogate are no UTF-8.
    EXPECT_EQ(fileNameToUtf8("\xc0\xaf"), "\xc5\x94\xc5\xbb"); // "ŔŻ"
    EXPECT_EQ(fileNameToUtf8("\xed\xa0\x80"), windows1250ToUtf8("\xed\xa0\x80"));
}
