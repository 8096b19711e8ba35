#include "catalogue/SceneryMarkers.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {
SceneryMarkers readMarkers(TextReader& in) {
    const auto table = std::make_unique<ConsistTable>();
    return readScenery(in, VehicleCatalogue(), *table).markers;
}

SceneryMarkers read(std::string_view text) {
    TextReader in(text);
    return readMarkers(in);
}

using Lines = std::vector<std::string>;
} // namespace

TEST(SceneryMarkers, DescriptionLinesInFileOrder) {
    const SceneryMarkers m = read(crlf("//$D First line\n"
                                       "node -1 0 x\n"
                                       "//$d   indented second\n"));
    EXPECT_EQ(m.descriptionLines, (Lines{"First line", "  indented second"}));
    EXPECT_EQ(m.title, "");
    EXPECT_EQ(m.picture, "");
    EXPECT_TRUE(m.enablesStart);
}

TEST(SceneryMarkers, OneCharacterAfterTheLetterIsSkipped) {
    const SceneryMarkers m = read(crlf("//$DText\n//$Ntitle\n//$I\tpic.bmp\n"));
    EXPECT_EQ(m.descriptionLines, Lines{"ext"});
    EXPECT_EQ(m.title, "itle");
    EXPECT_EQ(m.picture, "pic.bmp");
}

TEST(SceneryMarkers, LastTitleAndPictureWin) {
    const SceneryMarkers m = read(crlf("//$N One\n//$I a.bmp\n//$n Two\n//$i b.JPG\n"));
    EXPECT_EQ(m.title, "Two");
    EXPECT_EQ(m.picture, "b.JPG");
}

TEST(SceneryMarkers, MarkerStandsAnywhereInALine) {
    const SceneryMarkers m = read(crlf("node 1 2 //$N Route title\n"
                                       "//x//$D after a failed start\n"
                                       "///$D three slashes are no marker\n"
                                       "//$X unknown letter\n"
                                       "/ /$I not a marker either\n"));
    EXPECT_EQ(m.title, "Route title");
    EXPECT_EQ(m.descriptionLines, Lines{"after a failed start"});
    EXPECT_EQ(m.picture, "");
}

// The three letter tests run one after another on the current character: the character
// skipped after "D" is tested as "N", and the title is then read from the line end on.
TEST(SceneryMarkers, LetterTestsRunInSequence) {
    const SceneryMarkers dn = read(crlf("//$N Real title\n//$DN tail\n"));
    EXPECT_EQ(dn.descriptionLines, Lines{" tail"});
    EXPECT_EQ(dn.title, "");
    EXPECT_EQ(displayedSceneryTitle(dn, "route.scn"), "route.scn");

    const SceneryMarkers ni = read(crlf("//$I pic.bmp\n//$NI x\n"));
    EXPECT_EQ(ni.title, " x");
    EXPECT_EQ(ni.picture, "");

    const SceneryMarkers lf = read("//$N Real title\n//$DN tail\n");
    EXPECT_EQ(lf.title, "");
}

TEST(SceneryMarkers, BrakOpisuWhenTheLastDescriptionIsEmpty) {
    EXPECT_EQ(read(crlf("//$N Title\n")).descriptionLines, Lines{"Brak opisu"});
    EXPECT_EQ(read(crlf("//$D one\n//$D \n")).descriptionLines, (Lines{"one", "", "Brak opisu"}));
    EXPECT_EQ(read(crlf("//$D\n//$D two\n")).descriptionLines, (Lines{"", "two"}));
    EXPECT_EQ(read("//$D").descriptionLines, (Lines{"", "Brak opisu"}));
}

TEST(SceneryMarkers, AnyCharacterEnablesStart) {
    EXPECT_FALSE(read("").enablesStart);
    EXPECT_TRUE(read("x").enablesStart);
    EXPECT_TRUE(read("\r\n").enablesStart);
    const SceneryMarkers ctrlZ = read("\032//$D hidden\r\n");
    EXPECT_FALSE(ctrlZ.enablesStart);
    EXPECT_EQ(ctrlZ.descriptionLines, Lines{"Brak opisu"});
}

TEST(SceneryMarkers, ByteTwentySixEndsTheFile) {
    const SceneryMarkers m = read("//$D a\r\n//$N Ti\032tle\r\n//$D b\r\n");
    EXPECT_EQ(m.descriptionLines, Lines{"a"});
    EXPECT_EQ(m.title, "Ti");
}

TEST(SceneryMarkers, EndOfFileInsideAMarker) {
    for (const char* cut : {"/", "//", "//$", "//$N", "//$N ", "//$I", "//$D"}) {
        const SceneryMarkers m = read(cut);
        EXPECT_EQ(m.title, "") << cut;
        EXPECT_EQ(m.picture, "") << cut;
        EXPECT_TRUE(m.enablesStart) << cut;
    }
    EXPECT_EQ(read("//$N Last").title, "Last");
}

TEST(SceneryMarkers, LfOnlyFileReadsLikeCrLf) {
    const std::string text = "//$D\n//$D x\n\n//$DN\n//$N\n//$I pic.bmp\n//$N T\n//$\n//$D\n";
    const SceneryMarkers lf = read(text);
    const SceneryMarkers crLf = read(crlf(text));
    EXPECT_EQ(lf.descriptionLines, crLf.descriptionLines);
    EXPECT_EQ(lf.title, crLf.title);
    EXPECT_EQ(lf.picture, crLf.picture);
    EXPECT_EQ(lf.descriptionLines, (Lines{"", "x", "", "", "Brak opisu"}));
    EXPECT_EQ(lf.title, "T");
    EXPECT_EQ(lf.picture, "pic.bmp");
}

// A title is Windows-1250 text; a file name is shown as UTF-8 when it is valid UTF-8, as the
// file list shows it.
TEST(SceneryMarkers, TitleAndFileNameAreDecodedEachByItsOwnRule) {
    const SceneryMarkers untitled = read("");
    EXPECT_EQ(displayedSceneryTitle(untitled, "\u0142\u00f3d\u017a.scn"), "łódź.scn");
    EXPECT_EQ(displayedSceneryTitle(untitled, "\xb3\xf3"
                                              "d\x9f.scn"),
              "łódź.scn");
    EXPECT_EQ(displayedSceneryTitle(read("//$N \xb3\xf3"
                                         "d\x9f\r\n"),
                                    "x.scn"),
              "łódź");
}

TEST(SceneryMarkers, SceneryFileIsTheNameInItsFolder) {
    TempFolder root;
    const std::string path = root.write("scenery/Route One.scn", "//$D only a description\r\n");
    EXPECT_EQ(sceneryFileName(path), "Route One.scn");
    TextReader in = TextReader::open(path, SceneryLimits);
    const SceneryMarkers m = readMarkers(in);
    EXPECT_EQ(displayedSceneryTitle(m, sceneryFileName(path)), "Route One.scn");
    EXPECT_EQ(sceneryFileName(""), "");

    TextReader missing = TextReader::open(root.path() + "/scenery/none.scn", SceneryLimits);
    const SceneryMarkers none = readMarkers(missing);
    EXPECT_FALSE(none.enablesStart);
    EXPECT_EQ(none.descriptionLines, Lines{"Brak opisu"});
}

// The description box shows a bounded number of lines, each of bounded length; what falls
// beyond is told. A long title that a later one replaces was never to be shown.
TEST(SceneryMarkers, TextsBeyondTheLimitsAreCutAndToldSo) {
    const std::string longText(SceneryLimits.textBytes + 1, 'x');
    const std::string kept(SceneryLimits.textBytes, 'x');
    std::string manyLines;
    for (std::size_t i = 0; i <= DescriptionLineLimit; ++i) manyLines += "//$D line\r\n";
    struct Case {
        std::string text;
        Lines description;
        std::string title;
        bool cut;
    };
    const Case cases[] = {
        {"//$D " + kept + "\r\n//$N " + kept, {kept}, kept, false},
        {"//$D " + longText + "\r\n", {kept}, "", true},
        {"//$N " + longText + "\r\n", {"Brak opisu"}, kept, true},
        {"//$N " + longText + "\r\n//$N short\r\n", {"Brak opisu"}, "short", false},
        {manyLines, Lines(DescriptionLineLimit, "line"), "", true},
        {manyLines + "//$D\r\n",
         [] {
             Lines lines(DescriptionLineLimit, "line");
             lines.push_back("Brak opisu");
             return lines;
         }(),
         "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        const SceneryMarkers m = read(c.text);
        EXPECT_EQ(m.descriptionLines, c.description);
        EXPECT_EQ(m.title, c.title);
        EXPECT_EQ(m.cut, c.cut);
    }
}
