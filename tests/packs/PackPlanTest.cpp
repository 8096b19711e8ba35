#include "packs/PackPlan.h"
#include "packs/CatalogueAddition.h"

#include "PackFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A new scenery whose first consist is drivable only with the pack's catalogue record, whose
// second needs a vehicle nobody has, and whose picture marker names the pack's picture.
constexpr const char* NewScenery =
    R"({"name": "MojaTrasa_v2/Scenery/Nowa.scn", "text": )"
    R"("//$N Nowa trasa\r\n//$I trasa.jpg\r\n)"
    R"(trainset Pociag1 x\r\nnode -1 0 L1 dynamic PKP\\sm42 skin SM42 0 headdriver 0 x\r\n)"
    R"(node -1 0 W1 dynamic PKP\\w skin 111A 0 passenger 0 x\r\nendtrainset\r\n)"
    R"(trainset Pociag2 x\r\nnode -1 0 L2 dynamic PKP\\x skin 112A 0 headdriver 0 x\r\n)"
    R"(endtrainset\r\n"})";

struct Row {
    const char* pack;
    const char* entry; // as make_pack.py takes it
    const char* target;
    const char* action;
    const char* reason;
};

// Each pack's entries in their order in the archive, with the place and action each gets.
const Row Rows[] = {
    // Wrapped in a top folder; folders merged into the installation's whatever their case.
    {"wrapped.zip", NewScenery, "scenery/Nowa.scn", "add", ""},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/Scenery/Images/Trasa.JPG", "text": "bad"})",
     "scenery/images/trasa.jpg", "replace", ""},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/Textures/Mini/SM42.bmp", "bytes": 100})",
     "textures/mini/SM42.bmp", "add", ""},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/scenery/Łódź.scn", "cp852": true, "text": "x"})",
     "scenery/Łódź.scn", "add", ""},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/rsim.ini", "text": "Fullscreen=no"})", "rsim.ini",
     "refuse", "settings-file"},
    {"wrapped.zip",
     R"({"name": "MojaTrasa_v2/dynamic/PKP/dynamic.dat", "text": )"
     R"("Pojazdy\r\nEU07\r\nEU07-005\r\n1\r\n\r\nSM42\r\nSM42\r\n1\r\n\r\n"})",
     "dynamic/pkp/dynamic.dat", "refuse", "catalogue"},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/textures/Readme.txt", "text": "a"})",
     "textures/Readme.txt", "refuse", "held-twice"},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/TEXTURES/README.TXT", "text": "b"})",
     "textures/Readme.txt", "refuse", "held-twice"},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/Nowy/Folder/a.txt", "text": "a"})",
     "Nowy/Folder/a.txt", "add", ""},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/nowy/FOLDER/b.txt", "text": "b"})",
     "Nowy/Folder/b.txt", "add", ""},
    {"wrapped.zip", R"({"name": "../evil.txt", "text": "x"})", "", "refuse", "leaves-root"},
    {"wrapped.zip", R"({"name": "Dokumenty/czytaj.txt", "text": "x"})", "", "refuse",
     "leaves-root"},
    {"wrapped.zip", R"({"name": "/home/player/.bashrc", "text": "x"})", "", "refuse", "absolute"},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/scenery/skrot", "kind": "link", "target": "/etc"})",
     "", "refuse", "link"},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/scenery/CON.txt", "text": "x"})", "", "refuse",
     "invalid-name"},
    {"wrapped.zip", R"({"name": "MojaTrasa_v2/pack-backups/x.txt", "text": "x"})", "", "refuse",
     "backup-folder"},
    // Unwrapped, with backslashes, links and devices that only a tar holds.
    {"links.tar", R"({"name": "scenery\\Stacja.scn", "text": "x"})", "scenery/Stacja.scn", "add",
     ""},
    {"links.tar",
     R"({"name": "scenery/twardy.scn", "kind": "hardlink", "target": "scenery\\Stacja.scn"})", "",
     "refuse", "hard-link"},
    {"links.tar", R"({"name": "textures/null", "kind": "device"})", "", "refuse", "special"},
    {"links.tar", R"({"name": "C:\\Windows\\evil.dll", "text": "x"})", "", "refuse", "absolute"},
    {"links.tar", R"({"name": "scenery/../../evil.txt", "text": "x"})", "", "refuse",
     "leaves-root"},
    {"links.tar", R"({"name": "scenery/images", "text": "x"})", "scenery/images", "refuse",
     "folder-in-the-way"},
    {"links.tar", R"({"name": "rsim.ini/x.txt", "text": "x"})", "rsim.ini", "refuse",
     "file-in-the-way"},
    // Unicode names as 7-Zip stores them.
    {"names.7z", R"({"name": "Paczka/Scenery/Żółw.scn", "text": "x"})", "scenery/Żółw.scn", "add",
     ""},
};

const char* actionName(EntryAction action) {
    return action == EntryAction::Add       ? "add"
           : action == EntryAction::Replace ? "replace"
                                            : "refuse";
}

// The pack's bytes reach the picture check: the test's stand-in loader fails "bad" pictures.
std::string brokenWhenBad(const std::string& path) {
    return readFile(path) == "bad" ? "broken" : "";
}

} // namespace

TEST(PackPlan, PlacesEachEntryAsWindowsWouldAndRefusesWhatCouldHarm) {
    TempFolder folder;
    const std::string install = writeInstallation(folder);
    const auto before = snapshot(install);

    std::map<std::string, std::vector<const Row*>> packs;
    for (const Row& row : Rows) packs[row.pack].push_back(&row);
    std::map<std::string, PackPlan> plans;
    for (const auto& [name, rows] : packs) {
        std::vector<std::string> entries;
        for (const Row* row : rows) entries.emplace_back(row->entry);
        plans[name] = planPack(install, makePack(folder, name, entries), brokenWhenBad);
        const PackPlan& plan = plans[name];
        ASSERT_FALSE(plan.error) << name << ": " << plan.error.text();
        ASSERT_EQ(plan.files.size(), rows.size()) << name;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const PlannedFile& file = plan.files[i];
            SCOPED_TRACE(name + ": " + file.name);
            EXPECT_EQ(file.target, rows[i]->target);
            EXPECT_STREQ(actionName(file.action), rows[i]->action);
            EXPECT_EQ(refusalKey(file.refusal), rows[i]->reason);
        }
    }
    EXPECT_EQ(plans["wrapped.zip"].root, "MojaTrasa_v2");
    EXPECT_EQ(plans["links.tar"].root, "");
    EXPECT_EQ(plans["names.7z"].root, "Paczka");
    EXPECT_EQ(plans["wrapped.zip"].newFolders, (std::vector<std::string>{"Nowy", "Nowy/Folder"}));

    // The catalogue's record the installation lacks is offered, the one it has is not.
    const PackPlan& wrapped = plans["wrapped.zip"];
    ASSERT_EQ(wrapped.offeredRecords.size(), 1u);
    EXPECT_EQ(wrapped.offeredRecords[0], (CatalogueLines{"SM42", "SM42", "1", ""}));

    // Checked as it will stand: with the offered record the first consist is listed, and the
    // picture it names is the pack's.
    ASSERT_EQ(wrapped.sceneries.size(), 2u);
    EXPECT_EQ(wrapped.sceneries[0].check.file, "scenery/Nowa.scn");
    EXPECT_EQ(wrapped.sceneries[0].check.title, "Nowa trasa");
    EXPECT_EQ(
        shown(wrapped.sceneries[0].check.problems),
        (std::vector<std::string>{"0 Pociag2 112A", "3 \\scenery\\images\\trasa.jpg", "1 111A"}));
    EXPECT_TRUE(wrapped.sceneries[1].check.problems.empty());
    EXPECT_GT(wrapped.spaceNeeded, wrapped.bytes);
    EXPECT_TRUE(wrapped.installable());

    // A scenery that holds more than its header declares stops the plan.
    const PackPlan lying = planPack(
        install, makePack(folder, "lie.zip",
                          {R"({"name": "scenery/Kłamca.scn", "bytes": 1048576, "declare": 100})"}));
    EXPECT_EQ(lying.error.kind, PackError::Kind::SizeExceeded);
    EXPECT_EQ(lying.error.file, "scenery/Kłamca.scn");

    EXPECT_EQ(snapshot(install), before);
}

TEST(CatalogueAddition, RecordsFollowTheLastOneReadInTheFilesOwnLineEnds) {
    const std::vector<CatalogueLines> records{{"SM42", "SM42", "1", ""}};
    const struct {
        std::string installed, after;
    } cases[] = {
        {"h\r\nA\r\nB\r\n1\r\n\r\n", "h\r\nA\r\nB\r\n1\r\n\r\nSM42\r\nSM42\r\n1\r\n\r\n"},
        // Lines ending in LF alone; a last record without its separator line, nor a line end.
        {"h\nA\nB\n1", "h\nA\nB\n1\n\nSM42\nSM42\n1\n\n"},
        // A byte 26 ends the file for the launcher: the records go before it.
        {"h\r\nA\r\nB\r\n1\r\n\r\n\x1A", "h\r\nA\r\nB\r\n1\r\n\r\nSM42\r\nSM42\r\n1\r\n\r\n\x1A"},
        {"", "\r\nSM42\r\nSM42\r\n1\r\n\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(catalogueWithRecords(c.installed, records), c.after);
}
