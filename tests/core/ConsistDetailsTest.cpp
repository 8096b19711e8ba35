#include "catalogue/ConsistDetails.h"

#include "catalogue/ConsistParser.h"
#include "catalogue/ConsistTable.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

struct Vehicle {
    std::string node;
    std::string type;
    std::uint8_t role;
};

ConsistRecord consistOf(const std::string& name, const std::string& note,
                        const std::vector<Vehicle>& vehicles) {
    ConsistRecord c;
    c.ConsistName = name;
    c.ConsistNote = note;
    c.VehicleCount = static_cast<std::uint8_t>(vehicles.size());
    for (std::size_t i = 0; i < vehicles.size(); ++i) {
        VehicleSlot& s = c.slot(static_cast<int>(i) + 1);
        s.NodeName = vehicles[i].node;
        s.VehicleType = vehicles[i].type;
        s.VehicleRole = vehicles[i].role;
    }
    return c;
}

struct DetailsCase {
    const char* what;
    ConsistRecord consist;
    Language language;
    Lines lines;
    std::string chosenVehicle;
};

TEST(ConsistDetails, LinesAndTheVehicleToDrive) {
    const std::vector<DetailsCase> cases{
        {"a nameless test consist still shows its vehicles",
         consistOf("Test", "", {{"L1", "Loco", 1}, {"C1", "Coach", 2}}),
         Language::Polish,
         {"Prowadzimy Loco (L1)", "Możemy jechać jako pasażer w wagonie Coach (C1)", ""},
         "L1"},
        {"NONE in any case is nameless too", consistOf("nOnE", "note", {{"L1", "Loco", 1}}),
         Language::English, Lines{"We drive Loco (L1)", "note"}, "L1"},
        {"the only driver in slot 3",
         consistOf("Os_1", "n", {{"W1", "Wagon", 0}, {"C1", "Coach", 2}, {"L3", "Loco", 1}}),
         Language::Polish,
         {"Nazwa składu: Os_1", "Prowadzimy Loco (L3)",
          "Możemy jechać jako pasażer w wagonie Coach (C1)", "n"},
         "L3"},
        {"drivers in slots 1 and 4: both shown, the last one driven",
         consistOf("Tow", "",
                   {{"A", "Loco", 1}, {"B", "Wagon", 0}, {"C", "Wagon", 0}, {"D", "Loco", 1}}),
         Language::English,
         {"Train name: Tow", "We drive Loco (A)", "We drive Loco (D)", ""},
         "D"},
        {"passengers only: the first vehicle, though it cannot be taken",
         consistOf("Pos", "ride", {{"Lok", "Loco", 0}, {"C1", "Coach", 2}, {"C2", "Coach", 2}}),
         Language::English,
         {"Train name: Pos", "You can ride as a passenger inside the railcar Coach (C1)",
          "You can ride as a passenger inside the railcar Coach (C2)", "ride"},
         "Lok"},
        {"Windows-1250 texts are decoded for the box, the vehicle stays bytes",
         consistOf("\xa3\xb9ka", "\x9c",
                   {{"\xb3"
                     "1",
                     "W\xea"
                     "gl",
                     2}}),
         Language::Polish,
         {"Nazwa składu: Łąka", "Możemy jechać jako pasażer w wagonie Węgl (ł1)", "ś"},
         "\xb3"
         "1"},
    };
    TempFolder root;
    for (const DetailsCase& c : cases) {
        const ConsistDetails d = describeConsist(c.consist, root.path(), c.language);
        EXPECT_EQ(d.lines, c.lines) << c.what;
        EXPECT_EQ(d.chosenVehicle, c.chosenVehicle) << c.what;
    }
}

// A consist that was not listed leaves its number to the next one, and nothing of its vehicles
// behind: the slots past the new consist's own are empty, though both passes read all 50.
TEST(ConsistDetails, AConsistTakingADroppedOnesNumberShowsNothingOfIt) {
    VehicleCatalogue catalogue;
    catalogue.records[0] = {"LOCO", "Loco", 1};
    catalogue.records[1] = {"WAG", "Wagon", 0};
    catalogue.CatalogueCount = 2;
    const auto node = [](const std::string& name, const std::string& type,
                         const std::string& driver) {
        return "node -1 0 " + name + " dynamic PKP\\x skin " + type + " 0 " + driver + " 0\r\n";
    };
    const std::string scenery = "trainset Dropped 0\r\n" + node("W1", "wag", "nobody") +
                                node("W2", "wag", "nobody") + node("W3", "wag", "passenger") +
                                "endtrainset\r\n" + "trainset Kept 0\r\n" +
                                node("L1", "loco", "headdriver") + "endtrainset\r\n";
    auto table = std::make_unique<ConsistTable>();
    TextReader in(scenery);
    ASSERT_EQ(parseConsists(in, catalogue, *table).size(), 1u);
    TempFolder root;
    const ConsistDetails d = describeConsist(table->consist(1), root.path(), Language::Polish);
    EXPECT_EQ(d.lines, (Lines{"Nazwa składu: Kept", "Prowadzimy Loco (L1)", ""}));
    EXPECT_EQ(d.pictureFiles.size(), 1u);
}

TEST(ConsistDetails, TimetableOfANamedConsistFoundInAnyCase) {
    TempFolder root;
    root.write("Scenery/OS_1.TXT", "x");
    root.write("Scenery/test.txt", "x");
    const ConsistDetails named =
        describeConsist(consistOf("Os_1", "", {}), root.path(), Language::Polish);
    EXPECT_EQ(named.timetableFile, root.path() + "/Scenery/OS_1.TXT");
    EXPECT_EQ(named.timetableCaption, "Rozkład jazdy pociągu Os_1");
    EXPECT_EQ(
        describeConsist(consistOf("Os_1", "", {}), root.path(), Language::English).timetableCaption,
        "Timetable of Os_1");
    const ConsistDetails test =
        describeConsist(consistOf("TEST", "", {}), root.path(), Language::Polish);
    EXPECT_EQ(test.timetableFile, "") << "a test consist has no timetable";
    root.makeFolder("scenery/Os_2.txt");
    EXPECT_EQ(
        describeConsist(consistOf("Os_2", "", {}), root.path(), Language::Polish).timetableFile, "")
        << "a folder is no timetable";
}

TEST(ConsistDetails, PicturesOwnOrStandIn) {
    TempFolder root;
    root.write("Textures/Mini/LOCO.bmp", "x");
    const ConsistDetails d =
        describeConsist(consistOf("X", "", {{"A", "loco", 1}, {"B", "Unknown", 0}, {"C", "", 0}}),
                        root.path(), Language::Polish);
    const std::string standIn = root.path() + "/Textures/Mini/other.bmp";
    EXPECT_EQ(d.standInPicture, standIn) << "named, though it is missing";
    EXPECT_EQ(d.pictureFiles, (Lines{root.path() + "/Textures/Mini/LOCO.bmp", standIn, standIn}));
}

TEST(ConsistDetails, TimetableTextKeepsEveryLineAsWritten) {
    EXPECT_EQ(timetableText("a\r\n  b \tc\r\n\r\nd"), "a\n  b \tc\n\nd");
    EXPECT_EQ(timetableText("a\nb\rc\r\n"), "a\nb\nc");
    EXPECT_EQ(timetableText("\xa3\xf3"
                            "d\x9f"),
              "Łódź");
    EXPECT_EQ(timetableText(""), "");
}

} // namespace
