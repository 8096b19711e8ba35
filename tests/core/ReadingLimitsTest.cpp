#include "catalogue/ReadingLimits.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/SceneryFile.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"
#include "settings/SettingsFile.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr std::uintmax_t SixtyFourGiB = std::uintmax_t{64} << 30;

struct Installation {
    std::string root;
    VehicleCatalogue catalogue;
    SimulatorSettings settings;
    SceneryReading scenery;
    WholeFile timetable;
};

Installation readInstallation(const std::string& root) {
    Installation read{root, loadVehicleCatalogue(root), loadSimulatorSettings(root), {}, {}};
    const auto table = std::make_unique<ConsistTable>();
    read.scenery = readScenery(root + "/scenery/Kolejowo.scn", read.catalogue, *table);
    read.timetable = readWholeFile(root + "/scenery/Os_61231.txt", TimetableLimit);
    return read;
}

} // namespace

// An installation whose files run on for 64 GiB that take no disk space, as `truncate -s 64G`
// makes them: each file is read up to its limit. What stands before the limit reads as it
// does without the rest, and the scenery and the timetable are told as cut.
TEST(ReadingLimits, SparseFilesOfManyGigabytesAreReadUpToTheirLimits) {
    namespace fs = std::filesystem;
    const char* files[] = {"rsim.ini", "dynamic/PKP/dynamic.dat", "scenery/Kolejowo.scn",
                           "scenery/Os_61231.txt"};
    const Installation sample = readInstallation(RSIM_SAMPLE_DIR);
    ASSERT_FALSE(sample.scenery.markers.cut);

    for (const bool withSampleText : {true, false}) {
        SCOPED_TRACE(withSampleText ? "the sample's files, then nothing" : "nothing at all");
        TempFolder folder;
        const std::string root = folder.path() + "/install";
        fs::copy(RSIM_SAMPLE_DIR, root, fs::copy_options::recursive);
        for (const char* file : files) {
            if (!withSampleText) fs::resize_file(root + "/" + file, 0);
            fs::resize_file(root + "/" + file, SixtyFourGiB);
        }
        const Installation read = readInstallation(root);

        EXPECT_EQ(read.settings, withSampleText ? sample.settings : SimulatorSettings());
        // After the last record, the rest of the limit is one more record's first line; with
        // no text at all it is the heading.
        if (withSampleText) {
            const std::size_t records = sample.catalogue.CatalogueCount;
            ASSERT_EQ(read.catalogue.CatalogueCount, records + 1);
            for (std::size_t r = 0; r < records; ++r)
                EXPECT_EQ(read.catalogue.records[r].DisplayName,
                          sample.catalogue.records[r].DisplayName);
            EXPECT_EQ(read.catalogue.records[records].MatchName.find_first_not_of('\0'),
                      std::string::npos);
        } else {
            EXPECT_EQ(read.catalogue.CatalogueCount, 0);
        }

        const SceneryMarkers& markers = read.scenery.markers;
        EXPECT_TRUE(markers.cut);
        EXPECT_TRUE(markers.enablesStart);
        if (withSampleText) {
            EXPECT_EQ(read.scenery.rows, sample.scenery.rows);
            EXPECT_EQ(markers.descriptionLines, sample.scenery.markers.descriptionLines);
            EXPECT_EQ(markers.title, sample.scenery.markers.title);
        } else {
            EXPECT_TRUE(read.scenery.rows.empty());
            EXPECT_EQ(markers.descriptionLines, std::vector<std::string>{"Brak opisu"});
        }

        ASSERT_TRUE(read.timetable.ok()) << read.timetable.error;
        EXPECT_TRUE(read.timetable.cut);
        EXPECT_EQ(read.timetable.bytes.size(), TimetableLimit);
        if (withSampleText) {
            EXPECT_EQ(read.timetable.bytes.substr(0, sample.timetable.bytes.size()),
                      sample.timetable.bytes);
        }
    }
}
