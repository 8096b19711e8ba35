#include "catalogue/SceneryCheck.h"

#include "PackFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(SceneryCheck, NamesWhatTheLauncherWouldMissInEachScenery) {
    TempFolder root;
    root.write(
        "dynamic/pkp/dynamic.dat",
        crlf("Pojazdy\nEU07\nEU07-005\n1\n\nWAGON\nWagon 1 kl\n2\n\nTOWAR\nWeglarka\n0\n\n"));
    root.write("textures/mini/EU07-005.bmp", "");
    root.write("textures/mini/wagon 1 kl.bmp", "");
    root.write("scenery/images/dobry.bmp", "good");
    root.write("scenery/images/zly.bmp", "bad");
    const std::string drivable = "trainset Osobowy x\n"
                                 "node -1 0 L dynamic PKP/eu07 s EU07 0 headdriver 0 x\n"
                                 "node -1 0 W dynamic PKP/wagon s WAGON 0 passenger 0 x\n"
                                 "node -1 0 T dynamic PKP/towar s TOWAR 0 nobody 0 x\n"
                                 "endtrainset\n";
    const struct {
        const char* file;
        std::string text;
        std::vector<std::string> problems;
    } cases[] = {
        // Listed, with its picture: one thumbnail missing, one written in another case.
        {"scenery/a_listed.scn",
         "//$I dobry.bmp\n" + drivable,
         {"4 \\textures\\mini\\Wagon 1 kl.bmp", "1 Weglarka"}},
        // A drivable vehicle the catalogue lacks keeps a consist off the list; a consist of
        // vehicles nobody drives is not listed anyway.
        {"scenery/b_unlisted.scn",
         "trainset Towarowy x\n"
         "node -1 0 L dynamic PKP/sm42 s SM42 0 headdriver 0 x\n"
         "node -1 0 W dynamic PKP/x s 111A 0 nobody 0 x\n"
         "node -1 0 V dynamic PKP/x s 111A 0 nobody 0 x\n"
         "endtrainset\n"
         "trainset Manewry x\nnode -1 0 L dynamic PKP/x s 401DA 0 nobody 0 x\nendtrainset\n",
         {"0 Towarowy SM42 111A"}},
        {"scenery/c_missing.scn", "//$I brak.bmp\n", {"2 \\scenery\\images\\brak.bmp"}},
        {"scenery/d_broken.scn", "//$I zly.bmp\n", {"3 \\scenery\\images\\zly.bmp"}},
        {"scenery/e_case.scn", "//$I DOBRY.BMP\n", {"4 \\scenery\\images\\DOBRY.BMP"}},
    };
    for (const auto& c : cases) root.write(c.file, crlf(c.text));
    root.write("scenery/notes.txt", "not a scenery");

    const std::vector<SceneryCheck> checks =
        checkInstallation(root.path(), [](const std::string& path) {
            return readFile(path) == "bad" ? std::string("broken") : std::string();
        });
    ASSERT_EQ(checks.size(), std::size(cases));
    for (std::size_t i = 0; i < checks.size(); ++i) {
        SCOPED_TRACE(cases[i].file);
        EXPECT_EQ(checks[i].file, cases[i].file);
        EXPECT_EQ(shown(checks[i].problems), cases[i].problems);
    }
    EXPECT_EQ(checks[0].title, "a_listed.scn");
}
