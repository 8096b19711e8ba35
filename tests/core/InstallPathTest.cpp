#include "platform/system/InstallPath.h"

#include "catalogue/TextReader.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(InstallPath, FindsMixedCaseFoldersAndFiles) {
    TempFolder root;
    root.write("Scenery/Images/Alpha.JPG", "picture");
    root.write("Dynamic/PKP/DYNAMIC.DAT", "catalogue");
    root.write("rsim.ini", "");
    const std::string picture = resolveInstallPath(root.path(), "\\scenery\\images\\alpha.jpg");
    EXPECT_EQ(picture, root.path() + "/Scenery/Images/Alpha.JPG");
    TextReader in = TextReader::open(resolveInstallPath(root.path(), "\\dynamic\\pkp\\dynamic.dat"),
                                     CatalogueLimits);
    EXPECT_EQ(in.readRestOfLine(), "catalogue");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\rsim.ini"), root.path() + "/rsim.ini");
}

TEST(InstallPath, ExactNameWinsOverCaseVariants) {
    TempFolder root;
    root.write("rsim.ini", "lower");
    root.write("Rsim.ini", "capital");
    root.write("RSIM.INI", "upper");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\rsim.ini"), root.path() + "/rsim.ini");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\Rsim.ini"), root.path() + "/Rsim.ini");
    EXPECT_EQ(findNameIgnoringCase(root.path(), "Rsim.ini"), "Rsim.ini");
}

TEST(InstallPath, FirstInByteOrderAmongCaseVariants) {
    TempFolder root;
    for (const char* name : {"rsim.ini", "Rsim.ini", "rSIM.ini", "RSIM.ini"}) root.write(name, "");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\rsim.INI"), root.path() + "/RSIM.ini");
    // Each folder is chosen on its own: the first variant is taken even if only another one
    // holds the file asked for.
    root.write("scenery/route.scn", "");
    root.makeFolder("Scenery");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\SCENERY\\route.scn"),
              root.path() + "/Scenery/route.scn");
}

TEST(InstallPath, TrailingBlanksAndDotsAreIgnoredAsWindowsIgnoresThem) {
    TempFolder root;
    root.write("Scenery/Images/p.bmp", "");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\scenery. \\images\\P.BMP "),
              root.path() + "/Scenery/Images/p.bmp");
    EXPECT_TRUE(fileExists(resolveInstallPath(root.path(), "\\scenery\\images\\p.bmp..")));
    // A name that exists with its trailing blank is that file, not the one without.
    root.write("Scenery/Images/p.bmp ", "");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\scenery\\images\\p.bmp "),
              root.path() + "/Scenery/Images/p.bmp ");
    EXPECT_FALSE(fileExists(root.path() + "/Scenery"));
}

TEST(InstallPath, MissingNameStaysAsWritten) {
    TempFolder root;
    root.makeFolder("scenery");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\Scenery\\Missing.SCN"),
              root.path() + "/scenery/Missing.SCN");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\NoFolder\\Deeper\\file.txt"),
              root.path() + "/NoFolder/Deeper/file.txt");
    EXPECT_EQ(findNameIgnoringCase(root.path(), "nothing"), "");
    EXPECT_EQ(findNameIgnoringCase(root.path() + "/nowhere", "scenery"), "");
}

TEST(InstallPath, OnlyAsciiLettersIgnoreCase) {
    TempFolder root;
    root.write("scenery/\xA3\xD3"
               "DZ.scn",
               ""); // Windows-1250 for the capitals of "Łódz"
    // The small "ó" is not the capital "Ó" here, though they differ by one bit as ASCII does.
    EXPECT_EQ(resolveInstallPath(root.path(), "\\scenery\\\xA3\xF3"
                                              "dz.scn"),
              root.path() + "/scenery/\xA3\xF3"
                            "dz.scn");
    EXPECT_EQ(resolveInstallPath(root.path(), "\\SCENERY\\\xA3\xD3"
                                              "dz.SCN"),
              root.path() + "/scenery/\xA3\xD3"
                            "DZ.scn");
}
