#include "catalogue/TextReader.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace std::string_view_literals;

namespace {
// The next n characters read one at a time, end-of-file marks (code 26) included.
std::string readChars(TextReader& in, int n) {
    std::string s;
    while (n-- > 0) s += static_cast<char>(in.readChar());
    return s;
}
} // namespace

TEST(TextReader, LineEndsAreOrdinaryCharacters) {
    TextReader in("a\r\nb"sv);
    // The end of the file does not move on: it answers the same again and again.
    EXPECT_EQ(readChars(in, 6), "a\r\nb\032\032");
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.readRestOfLine(), "");
    EXPECT_EQ(in.readUpTo(4), "");
}

TEST(TextReader, ByteTwentySixEndsTheFile) {
    TextReader chars("ab\032cd\r\n"sv);
    EXPECT_EQ(readChars(chars, 4), "ab\032\032");
    EXPECT_TRUE(chars.atEnd());

    TextReader line("ab\032cd\r\nef"sv);
    EXPECT_EQ(line.readRestOfLine(), "ab");
    line.skipLine();
    EXPECT_TRUE(line.atEnd());

    std::string token;
    TextReader tokens("ab\032c d"sv);
    EXPECT_FALSE(tokens.readToken(token));
    EXPECT_EQ(token, "ab");

    EXPECT_TRUE(TextReader("\032text"sv).atEnd());
}

TEST(TextReader, ReadUpToStopsBeforeTheLineEnd) {
    TextReader in("abc\r\ndef"sv);
    EXPECT_EQ(in.readUpTo(2), "ab");
    EXPECT_EQ(in.readUpTo(8), "c");
    EXPECT_EQ(in.readUpTo(8), "");
    EXPECT_EQ(in.readChar(), '\r');

    TextReader shortFile("ab"sv);
    EXPECT_EQ(shortFile.readUpTo(5), "ab");
    EXPECT_TRUE(shortFile.atEnd());

    // A CR without its LF is dropped and does not count towards n.
    TextReader loneCr("a\rbcd"sv);
    EXPECT_EQ(loneCr.readUpTo(3), "abc");
    EXPECT_EQ(loneCr.readChar(), 'd');
}

TEST(TextReader, RestOfLineLeavesTheLineEndUnread) {
    TextReader in("one\r\ntwo"sv);
    EXPECT_EQ(in.readRestOfLine(), "one");
    EXPECT_EQ(in.readChar(), '\r');
    EXPECT_EQ(in.readRestOfLine(), "");
    EXPECT_EQ(in.readChar(), '\n');
    EXPECT_EQ(in.readRestOfLine(), "two");
    EXPECT_TRUE(in.atEnd());

    TextReader loneCr("o\rne\r\n"sv);
    EXPECT_EQ(loneCr.readRestOfLine(), "one");
}

TEST(TextReader, SkipLineTakesCrLfAsOneLineEnd) {
    TextReader in("first\r\n\r\nthird"sv);
    in.skipLine();
    EXPECT_EQ(in.readChar(), '\r'); // the empty second line is not swallowed
    in.skipLine();
    EXPECT_EQ(in.readChar(), 't');

    TextReader loneCr("a\rb\nc"sv);
    loneCr.skipLine();
    EXPECT_EQ(loneCr.readChar(), 'c');

    TextReader lastLine("no line end"sv);
    lastLine.skipLine();
    EXPECT_TRUE(lastLine.atEnd());
}

// Whatever a reader does at a line end, a file with LF alone must answer as one with CR LF,
// the first character read there giving the LF where the other gives the CR.
TEST(TextReader, LoneLfReadsLikeCrLf) {
    for (const auto text : {"x\r\ny"sv, "x\ny"sv}) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        TextReader in(text);
        EXPECT_EQ(readChars(in, 2), text.size() == 3 ? "x\n" : "x\r");
        EXPECT_FALSE(in.atEnd());
        EXPECT_EQ(in.readRestOfLine(), "");
        EXPECT_EQ(in.readUpTo(3), "");
        EXPECT_EQ(readChars(in, 2), "\ny");
    }
    // Skipping the line right after its line end was read skips nothing more: an empty line
    // must not swallow the line after it.
    for (const auto text : {"x\r\n\r\ny\r\n"sv, "x\n\ny\n"sv}) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        TextReader in(text);
        in.readChar();
        in.readChar();
        in.skipLine();
        in.readChar(); // the empty line's first character
        in.skipLine();
        EXPECT_EQ(in.readChar(), 'y');
        in.readChar();
        EXPECT_FALSE(in.atEnd());
        EXPECT_EQ(in.readChar(), '\n');
        EXPECT_TRUE(in.atEnd());
    }
    TextReader atLineStart("\nz"sv);
    EXPECT_EQ(atLineStart.readRestOfLine(), "");
    atLineStart.skipLine();
    EXPECT_EQ(atLineStart.readChar(), 'z');
}

TEST(TextReader, TokensEndOnlyAtABlank) {
    TextReader in("ab\tc\r\nd e  f\rg"sv);
    std::string token = "kept:";
    EXPECT_TRUE(in.readToken(token));
    EXPECT_EQ(token, "kept:ab\tc\r\nd"); // appended, line end and TAB included
    token.clear();
    EXPECT_TRUE(in.readToken(token));
    EXPECT_EQ(token, "e");
    token.clear();
    EXPECT_TRUE(in.readToken(token)); // two blanks enclose an empty token
    EXPECT_EQ(token, "");
    // Cut off by the end of the file: the characters read stay, a lone CR among them.
    EXPECT_FALSE(in.readToken(token));
    EXPECT_EQ(token, "f\rg");

    TextReader skip("a\r\nb c"sv);
    EXPECT_TRUE(skip.skipToken());
    EXPECT_EQ(skip.readChar(), 'c');
    EXPECT_FALSE(skip.skipToken());
}

TEST(TextReader, FileThatCannotBeOpenedReadsAsEmpty) {
    TempFolder folder;
    for (const std::string& path : {std::string(), folder.path() + "/missing.txt", folder.path(),
                                    folder.write("empty.txt", "")}) {
        SCOPED_TRACE(path);
        TextReader in = TextReader::open(path, NoReadLimits);
        EXPECT_TRUE(in.atEnd());
        EXPECT_EQ(in.readChar(), TextReader::EndOfFile);
    }
}

TEST(TextReader, ReadsAWholeFileFromDisk) {
    TempFolder folder;
    std::string text;
    constexpr int Lines = 200000; // several megabytes, more than any one block
    for (int i = 0; i < Lines; ++i) text += "line " + std::to_string(i) + "\r\n";
    TextReader in =
        TextReader::open(folder.write("big.txt", text + "\032after the end\r\n"), NoReadLimits);
    int count = 0;
    std::string last;
    for (; !in.atEnd(); ++count, in.skipLine()) last = in.readRestOfLine();
    EXPECT_EQ(count, Lines);
    EXPECT_EQ(last, "line " + std::to_string(Lines - 1));
}

// A block's end may fall anywhere, between a CR and its LF too: nothing read changes.
TEST(TextReader, BlockEndsChangeNothingThatIsRead) {
    const auto transcript = [](std::string_view text, std::size_t blockSize) {
        TextReader in(text, NoReadLimits, blockSize);
        std::string out;
        while (!in.atEnd()) {
            out += in.readUpTo(2) + '|' + static_cast<char>(in.readChar());
            out += in.readRestOfLine() + '|' + static_cast<char>(in.readChar());
            std::string token;
            out += (in.readToken(token) ? "+" : "-") + token + '|';
            in.skipLine();
        }
        return out;
    };
    for (const auto text : {"ab\r\ncd\r\n\r\nef gh\n\nij\rk l\r\n"sv, "\n\n\r\r\n x\r\n\r"sv,
                            "o\rne two\r\nthree\n\032four\r\n"sv}) {
        SCOPED_TRACE(testing::PrintToString(std::string(text)));
        const std::string whole = transcript(text, TextReader::BlockSize);
        for (std::size_t blockSize = 1; blockSize <= 4; ++blockSize)
            EXPECT_EQ(transcript(text, blockSize), whole) << "blocks of " << blockSize;
    }
}

// Past its limit a file reads as if it ended there; a text keeps its first bytes. Both count as
// cut, but a file that ends at its limit does not.
TEST(TextReader, LimitsCutTheFileAndItsTexts) {
    TextReader file("abc\r\ndef"sv, {5, 100});
    EXPECT_EQ(file.readRestOfLine(), "abc");
    file.skipLine();
    EXPECT_TRUE(file.atEnd());
    EXPECT_TRUE(file.cut());

    for (const auto whole : {"abc\r\n"sv, "abc\r\n\032def"sv}) {
        TextReader ending(whole, {5, 100});
        ending.skipToEnd();
        EXPECT_FALSE(ending.cut());
    }

    TextReader texts("abc ghij\r\n"sv, {100, 3});
    std::string token;
    EXPECT_TRUE(texts.readToken(token));
    EXPECT_EQ(token, "abc");
    EXPECT_FALSE(texts.cut()) << "a text as long as the limit is whole";
    EXPECT_EQ(texts.readRestOfLine(), "ghi");
    EXPECT_EQ(texts.readChar(), '\r') << "the rest of a cut line is read";
    EXPECT_TRUE(texts.cut());

    TextReader tokens("abcdef gh"sv, {100, 3});
    token.clear();
    EXPECT_TRUE(tokens.readToken(token));
    EXPECT_EQ(token, "abc");
    token.clear();
    EXPECT_FALSE(tokens.readToken(token));
    EXPECT_EQ(token, "gh");
    EXPECT_TRUE(tokens.cut());
}
