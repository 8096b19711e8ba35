#include "catalogue/pictures/ChosenConsist.h"

#include "catalogue/ConsistTable.h"

#include "TestPictures.h"

#include <filesystem>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

class ChosenConsistTest : public PictureFolder {
protected:
    void SetUp() override {
        PictureFolder::SetUp();
        std::filesystem::create_directories(path("textures/mini"));
        write("textures/mini/Loco A.bmp", encodeBmp(quarters(30, 20), 24));
        write("textures/mini/Coach.bmp", "not a picture");
        // The second row of the list; the first is another consist.
        consists->consist(1).ConsistName = "Os_1";
        ConsistRecord& consist = consists->consist(2);
        consist.ConsistName = "Os_2";
        consist.VehicleCount = 4;
        const std::vector<VehicleSlot> vehicles{{"L1", "Loco A", "", 1},
                                                {"C1", "Coach", "", 2},
                                                {"X1", "", "", 0},
                                                {"W1",
                                                 "\xa3\xf3"
                                                 "d\x9f",
                                                 "", 0}};
        for (std::size_t i = 0; i < vehicles.size(); ++i) consist.vehicleSlots[i] = vehicles[i];
    }
    ChosenConsist choose() const {
        const std::string root = path("");
        return chooseConsist(*consists, 1, root.substr(0, root.size() - 1), Language::Polish);
    }

    std::unique_ptr<ConsistTable> consists = std::make_unique<ConsistTable>();
};

template <typename Field> auto each(const ChosenConsist& choice, Field field) {
    std::vector<std::decay_t<decltype(field(choice.pictures.front()))>> out;
    for (const PlacedPicture& picture : choice.pictures) out.push_back(field(picture));
    return out;
}

const auto name = [](const PlacedPicture& p) { return p.name; };
const auto toolTip = [](const PlacedPicture& p) { return p.toolTip; };
const auto file = [](const PlacedPicture& p) { return p.file; };
const auto left = [](const PlacedPicture& p) { return p.place.left; };

// The details of the row's consist, and each vehicle's picture with what names it: a broken one
// leaves an empty place, and a missing stand-in names no file and is told.
TEST_F(ChosenConsistTest, GivesTheRowsDetailsAndItsPicturesPlacedAndNamed) {
    const std::string loco = path("textures/mini/Loco A.bmp");
    const std::string coach = path("textures/mini/Coach.bmp");
    ChosenConsist choice = choose();
    EXPECT_EQ(choice.details.lines.front(), "Nazwa składu: Os_2");
    EXPECT_EQ(choice.details.chosenVehicle, "L1");
    EXPECT_EQ(each(choice, name), (Texts{"Loco A", "Coach", "other", "Łódź"}));
    EXPECT_EQ(each(choice, toolTip), (Texts{"Loco A", "Coach", "", "Łódź"}));
    EXPECT_EQ(each(choice, file), (Texts{loco, coach, "", ""}));
    EXPECT_EQ(each(choice, left), (std::vector<int>{1, 31, 32, 33}));
    ASSERT_EQ(choice.pictures.size(), 4u);
    EXPECT_TRUE(hasQuarters(choice.pictures[0].image, 0));
    EXPECT_TRUE(choice.pictures[1].image.isNull());
    const std::string coachError =
        "Cannot load picture file " + coach + ": not a valid BMP picture";
    EXPECT_EQ(choice.errors,
              (Texts{coachError, "Cannot open picture file " + path("textures/mini/other.bmp") +
                                     ": No such file or directory"}));

    const std::string standIn = write("textures/mini/other.bmp", encodeBmp(quarters(10, 20), 24));
    choice = choose();
    EXPECT_EQ(each(choice, file), (Texts{loco, coach, standIn, standIn}));
    EXPECT_EQ(each(choice, left), (std::vector<int>{1, 31, 41, 51}));
    EXPECT_EQ(choice.errors, Texts{coachError});
}

} // namespace
