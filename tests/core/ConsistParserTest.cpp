#include "catalogue/ConsistParser.h"

#include "catalogue/ConsistTable.h"
#include "catalogue/TextReader.h"
#include "catalogue/VehicleCatalogue.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace {

VehicleCatalogue catalogueOf(std::initializer_list<CatalogueRecord> records) {
    VehicleCatalogue catalogue;
    for (const CatalogueRecord& r : records) catalogue.records[catalogue.CatalogueCount++] = r;
    return catalogue;
}

// A drivable locomotive, a passenger coach and a wagon nobody can take.
const VehicleCatalogue& standardCatalogue() {
    static const VehicleCatalogue c =
        catalogueOf({{"LOCOTYPE", "Loco A", 1}, {"COACH", "Coach B", 2}, {"WAGON", "Wagon C", 0}});
    return c;
}

struct Parsed {
    std::vector<std::string> rows;
    std::unique_ptr<ConsistTable> table = std::make_unique<ConsistTable>();
    const ConsistRecord& consist(int k) const { return table->consist(k); }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (int k = 1; k <= static_cast<int>(rows.size()); ++k)
            out.push_back(consist(k).ConsistName);
        return out;
    }
};

Parsed parse(std::string_view scenery, const VehicleCatalogue& catalogue = standardCatalogue()) {
    Parsed p;
    p.table->clearRolesAndNotes();
    TextReader in(scenery);
    p.rows = parseConsists(in, catalogue, *p.table);
    return p;
}

// A node line with the usual filler in the tokens that are never examined.
std::string node(const std::string& name, const std::string& type, const std::string& driver,
                 const std::string& path = "PKP\\vehicles") {
    return "node -1 0 " + name + " dynamic " + path + " skin " + type + " 0 " + driver + " 0 x\n";
}
std::string loco(const std::string& name) {
    return node(name, "locotype", "headdriver");
}

std::string consist(const std::string& name, const std::string& body) {
    return "trainset " + name + " x y\n" + body + "endtrainset\n";
}

std::string describe(const VehicleSlot& v) {
    return v.NodeName + "|" + v.VehicleType + "|" + v.DriverType + "|" +
           std::to_string(v.VehicleRole);
}

// What the consist list and the table hold for the listed consists, as one text.
std::string dump(const Parsed& p) {
    std::string s;
    for (int k = 1; k <= static_cast<int>(p.rows.size()); ++k) {
        const ConsistRecord& c = p.consist(k);
        s += p.rows[k - 1] + "|" + c.ConsistName + "|" + c.ConsistNote + "|" +
             std::to_string(c.VehicleCount) + "\n";
        for (int j = 1; j <= ConsistRecord::SlotCount; ++j) s += " " + describe(c.slot(j)) + "\n";
    }
    return s;
}

using Rows = std::vector<std::string>;

const std::string WorkedExample =
    crlf("trainset Train1 x y\n"
         "//$O Morning service\n"
         "node -1 0 L1 dynamic PKP\\loco skin locotype 0 headdriver 0 x\n"
         "node -1 0 C1 dynamic OTHER\\car skin cartype 0 nobody 0 x\n"
         "endtrainset\n");

const VehicleCatalogue& workedCatalogue() {
    static const VehicleCatalogue c = catalogueOf({{"LOCOTYPE", "Loco A", 1}});
    return c;
}

} // namespace

TEST(ConsistParser, WorkedExample) {
    const Parsed p = parse(WorkedExample, workedCatalogue());
    ASSERT_EQ(p.rows, Rows{"Loco A"});
    const ConsistRecord& c = p.consist(1);
    EXPECT_EQ(c.ConsistName, "Train1");
    EXPECT_EQ(c.ConsistNote, "Morning service");
    EXPECT_EQ(c.VehicleCount, 2);
    EXPECT_EQ(describe(c.slot(1)), "L1|Loco A|headdriver|1");
    // Not from the PKP folder: counted, but only its node name is kept.
    EXPECT_EQ(describe(c.slot(2)), "C1|||0");
    for (int j = 3; j <= ConsistRecord::SlotCount; ++j) EXPECT_TRUE(c.slot(j).cleared()) << j;
}

TEST(ConsistParser, HeaderOnlyAtTheStartOfALine) {
    // An indented header and a bare keyword open nothing, so their node lines are outside.
    const std::string ignored = " trainset Indented x\n" + loco("S0") + "endtrainset\n" +
                                "trainset\n" + loco("S0") + "endtrainset\n";
    const std::string upper = "TRAINSET Upper x\n"
                              "NODE -1 0 S1 dynamic PKP\\loco skin locotype 0 headdriver 0\n"
                              "ENDTRAINSET\n";
    // A failed keyword skips no line: the tenth character is read as if it began one.
    const std::string midLine = "trainsetXtrainset Hidden x\n" + loco("S3") + "endtrainset\n";
    const Parsed p = parse(
        crlf(ignored + upper + "Trainset Mixed x\n" + loco("S2") + "endtrainset\n" + midLine));
    EXPECT_EQ(p.names(), (Rows{"Upper", "Mixed", "Hidden"}));
    EXPECT_EQ(p.rows, (Rows{"S1", "S2", "S3"}));
}

TEST(ConsistParser, LeadingBlanksInsideAConsist) {
    // One blank before a note is passed over, two make it a comment, a third is scanned past.
    const std::string notes = "//$o first note\n"
                              " //$O second note\n"
                              "  //$O two blanks make this a comment\n";
    const std::string third = "   //$O the third blank is scanned past\n";
    const Parsed p = parse(crlf(consist("T", notes + " " + loco("S1") + "  " + loco("S2")) +
                                consist("U", third + loco("S1") + "  endtrainset\n" + loco("S2"))));
    ASSERT_EQ(p.rows, (Rows{"S1+S2", "S1"}));
    EXPECT_EQ(p.consist(1).ConsistNote, "second note");
    EXPECT_EQ(p.consist(2).ConsistNote, "the third blank is scanned past");
    EXPECT_EQ(p.consist(2).VehicleCount, 1);
}

TEST(ConsistParser, LetterEDropsTheRestOfTheLine) {
    // A line that starts with e is dropped, and so is the rest of a line from an e the scan
    // reaches; other letters only move the scan on. Any word "e" + "ndtr" ends the consist.
    const std::string body = loco("S1") + "extra " + loco("S2") + "the " + loco("S3") + "a " +
                             loco("S4") + "Endtr is enough to end it\n" + loco("S5");
    const Parsed p = parse(crlf(consist("T", body)));
    ASSERT_EQ(p.rows, Rows{"S1+S4"});
    EXPECT_EQ(p.consist(1).VehicleCount, 2);
}

TEST(ConsistParser, FailedNodeTestResumesMidLine) {
    // "nabc" fails on "abc " and the scan reaches "node"; in "nab node" the four characters
    // read after the n take the next n, and the "e" of "ode" drops the line.
    const Parsed p = parse(crlf(consist("T", "nabc " + loco("S1") + "nab " + loco("S2"))));
    ASSERT_EQ(p.rows, Rows{"S1"});
    EXPECT_EQ(p.consist(1).VehicleCount, 1);
}

TEST(ConsistParser, VehicleOutsidePkpIsCountedAndScannedOn) {
    // The scan goes on from the fifth character of the rejected token, and finds a node there.
    const Parsed p = parse(crlf(consist("T", "node -1 0 C1 dynamic none " + loco("S2"))));
    ASSERT_EQ(p.rows, Rows{"S2"});
    EXPECT_EQ(p.consist(1).VehicleCount, 2);
    EXPECT_EQ(p.consist(1).slot(1).NodeName, "C1");
}

TEST(ConsistParser, TokensSwallowLineEnds) {
    // The driver token has no closing blank on its line: it takes in the end keyword and the
    // next header, whose node line then belongs to the first consist.
    const Parsed p = parse(crlf("trainset First x\n"
                                "node -1 0 L1 dynamic PKP\\loco skin locotype 0 headdriver\n"
                                "endtrainset\n"
                                "trainset Second x\n" +
                                loco("L2") + "endtrainset\n"));
    ASSERT_EQ(p.rows, Rows{"Loco A+Loco A"});
    const ConsistRecord& c = p.consist(1);
    EXPECT_EQ(c.ConsistName, "First");
    EXPECT_EQ(c.VehicleCount, 2);
    EXPECT_EQ(describe(c.slot(1)), "L1|Loco A|headdriver\r\nendtrainset\r\ntrainset|0");
    EXPECT_EQ(describe(c.slot(2)), "L2|Loco A|headdriver|1");

    // A name without a blank after it takes in the next line up to its first blank.
    const Parsed named =
        parse(crlf("trainset Named\n" + loco("S1") + " " + loco("S2") + "endtrainset\n"));
    ASSERT_EQ(named.rows, Rows{"S2"});
    EXPECT_EQ(named.consist(1).ConsistName, "Named\r\nnode");
}

TEST(ConsistParser, DriverWordsAreCaseSensitive) {
    const Parsed p = parse(crlf(consist("Head", node("L1", "locotype", "HeadDriver")) +
                                consist("Pass", node("L1", "coach", "Passenger")) +
                                consist("Rear", node("L1", "LocoType", "reardriver"))));
    ASSERT_EQ(p.names(), Rows{"Rear"});
    EXPECT_EQ(p.rows, Rows{"Loco A"});
    EXPECT_EQ(p.consist(1).slot(1).VehicleRole, 1);
}

TEST(ConsistParser, PassengerPlaceReplacesTheDriveMarker) {
    const std::string wagonPassenger = node("W1", "wagon", "passenger");
    const Parsed p = parse(crlf(consist("Lowered", loco("L1") + wagonPassenger) +
                                consist("Kept", wagonPassenger + loco("L1"))));
    ASSERT_EQ(p.names(), Rows{"Kept"});
    EXPECT_EQ(p.rows, Rows{"Wagon C+Loco A"});
    EXPECT_EQ(p.consist(1).slot(1).VehicleRole, 0);
    EXPECT_EQ(p.consist(1).slot(2).VehicleRole, 1);
}

TEST(ConsistParser, RoleValuesKeepTheirLowEightBits) {
    const VehicleCatalogue catalogue =
        catalogueOf({{"LOCOTYPE", "Loco", 1}, {"NEG", "Neg", -1}, {"BIG", "Big", 256}});
    // A driver compares the signed value with the marker but stores only its low 8 bits.
    const Parsed p =
        parse(crlf(consist("Negative", node("A", "neg", "headdriver")) +
                   consist("Wrapped", node("A", "big", "headdriver")) +
                   consist("WrappedLast", loco("A") + node("B", "big", "reardriver")) +
                   consist("NegativePassenger", node("A", "neg", "passenger")) +
                   consist("NegativeFirst", node("A", "neg", "headdriver") + loco("B"))),
              catalogue);
    ASSERT_EQ(p.names(), (Rows{"NegativePassenger", "NegativeFirst"}));
    EXPECT_EQ(p.consist(1).slot(1).VehicleRole, 255);
    EXPECT_EQ(p.consist(2).slot(1).VehicleRole, 255);
    EXPECT_EQ(p.consist(2).slot(2).VehicleRole, 1);
}

TEST(ConsistParser, DroppedConsistLeavesNothingToItsNumber) {
    const Parsed p = parse(crlf(
        consist("Dropped", "//$O a note of the dropped one\n" + node("W1", "wagon", "headdriver") +
                               node("W2", "wagon", "headdriver") + node("W3", "coach", "nobody")) +
        consist("Listed", loco("S1")) + consist("Second", loco("S1"))));
    ASSERT_EQ(p.names(), (Rows{"Listed", "Second"}));
    const ConsistRecord& c = p.consist(1);
    EXPECT_EQ(c.ConsistNote, "");
    EXPECT_EQ(c.VehicleCount, 1);
    EXPECT_EQ(c.slot(1).NodeName, "S1");
    for (int j = 2; j <= ConsistRecord::SlotCount; ++j) EXPECT_TRUE(c.slot(j).cleared()) << j;
}

TEST(ConsistParser, LookupTriesEveryRecordAgainstTheRenamedType) {
    const std::string scenery = crlf(consist("T", node("L1", "old", "headdriver")));
    const Parsed renamed = parse(scenery, catalogueOf({{"OLD", "New", 1}, {"NEW", "Newer", 2}}));
    ASSERT_EQ(renamed.rows, Rows{"Newer"});
    EXPECT_EQ(renamed.consist(1).slot(1).VehicleRole, 2);

    const Parsed laterFirst = parse(scenery, catalogueOf({{"NEW", "Newer", 2}, {"OLD", "New", 1}}));
    ASSERT_EQ(laterFirst.rows, Rows{"New"});
    EXPECT_EQ(laterFirst.consist(1).slot(1).VehicleRole, 1);
}

TEST(ConsistParser, TypeIsUpperCasedAsciiOnly) {
    const VehicleCatalogue catalogue =
        catalogueOf({{"locotype", "Never", 1}, {"\xD3SMA", "Polish", 1}, {"MIXED", "Mixed", 1}});
    const Parsed p = parse(crlf(consist("Lower", loco("L1")) +
                                consist("Polish", node("L1", "\xF3sma", "headdriver")) +
                                consist("Mixed", node("L1", "MiXeD", "headdriver"))),
                           catalogue);
    EXPECT_EQ(p.names(), Rows{"Mixed"});
}

TEST(ConsistParser, RowTextNamesEachKeptVehicle) {
    const Parsed p = parse(
        crlf(consist("T", node("s1", "locotype", "nobody") + node("E2", "locotype", "nobody") +
                              node("X3", "mystery", "headdriver") +
                              node("C4", "locotype", "headdriver", "OTHER\\car") +
                              node("L5", "LOCOTYPE", "headdriver", "pkp/loco") +
                              node("L6", "coach", "passenger", "Pkp\\coach"))));
    ASSERT_EQ(p.rows, Rows{"s1+E2+mystery+Loco A+Coach B"});
    EXPECT_EQ(p.consist(1).VehicleCount, 6);
    EXPECT_EQ(p.consist(1).slot(3).VehicleType, "mystery"); // unknown types stay as written
    EXPECT_EQ(p.consist(1).slot(6).VehicleRole, 2);
}

TEST(ConsistParser, EmptyCatalogueListsNothing) {
    ConsistTable table;
    VehicleCatalogue empty;
    TextReader in(WorkedExample);
    EXPECT_TRUE(parseConsists(in, empty, table).empty());
    EXPECT_EQ(table.consist(1).slot(1).VehicleType, "locotype");
    EXPECT_EQ(table.consist(1).slot(1).VehicleRole, 0);
}

TEST(ConsistParser, EndOfFileClosesAnOpenConsist) {
    const Parsed p = parse(crlf("trainset Open x\n" + loco("L1")) + "//$O Late note");
    ASSERT_EQ(p.rows, Rows{"Loco A"});
    EXPECT_EQ(p.consist(1).ConsistNote, "Late note");
    EXPECT_EQ(p.consist(1).VehicleCount, 1);
    EXPECT_TRUE(parse("trainset Train1").rows.empty());
}

TEST(ConsistParser, EndOfFileInsideAVehicleLine) {
    const std::string start = crlf("trainset T x\n" + loco("L1"));
    // The driver token has no closing blank: the vehicle counts but is never looked up.
    const Parsed p = parse(start + "node -1 0 L2 dynamic PKP\\loco skin coach 0 passenger");
    ASSERT_EQ(p.rows, Rows{"Loco A"});
    EXPECT_EQ(p.consist(1).VehicleCount, 2);
    EXPECT_EQ(describe(p.consist(1).slot(2)), "L2|coach|passenger|0");

    const Parsed inName = parse(start + "node -1 0 L");
    EXPECT_EQ(inName.consist(1).VehicleCount, 2);
    EXPECT_EQ(inName.consist(1).slot(2).NodeName, "L");

    // Cut before the second blank after "node": no vehicle is added.
    for (const char* cut : {"node ", "node -1", "node -1 0"})
        EXPECT_EQ(parse(start + cut).consist(1).VehicleCount, 1) << cut;
}

// However the file is cut, and wherever a byte of code 26 stands, the parse ends; the consist
// is listed exactly when the driver token's closing blank was read.
TEST(ConsistParser, EveryCutOfTheFileEndsTheParse) {
    const std::string& full = WorkedExample;
    const std::size_t listedFrom = full.find("headdriver ") + std::string("headdriver ").size();
    for (std::size_t n = 0; n <= full.size(); ++n) {
        SCOPED_TRACE(n);
        const Parsed cut = parse(full.substr(0, n), workedCatalogue());
        EXPECT_EQ(cut.rows.size(), n >= listedFrom ? 1u : 0u);
        const std::string ctrlZ = full.substr(0, n) + '\032' + full.substr(n);
        EXPECT_EQ(dump(parse(ctrlZ, workedCatalogue())), dump(cut));
    }
}

TEST(ConsistParser, ThirtyConsistsAtMost) {
    std::string scenery;
    for (int i = 1; i <= 31; ++i)
        scenery += consist("C" + std::to_string(i), loco("S" + std::to_string(i)));
    scenery += consist("NotDrivable", node("W1", "wagon", "headdriver"));
    const Parsed p = parse(crlf(scenery));
    ASSERT_EQ(p.rows.size(), 30u);
    for (int k = 1; k <= 30; ++k) EXPECT_EQ(p.rows[k - 1], "S" + std::to_string(k));
    EXPECT_EQ(p.consist(30).ConsistName, "C30");
    EXPECT_EQ(describe(p.consist(30).slot(1)), "S30|Loco A|headdriver|1");
}

TEST(ConsistParser, FiftyVehiclesAtMost) {
    std::string body;
    for (int j = 1; j <= 50; ++j) body += loco("S" + std::to_string(j));
    // Node lines after the 50th are dropped whole: neither their tokens nor the rest of their
    // line is read, so this one neither swallows the lines after it nor ends the consist.
    body += "node x endtr\n//$O after the limit\n" + loco("S52");
    const Parsed p = parse(crlf(consist("Long", body) + consist("Next", loco("S1"))));
    ASSERT_EQ(p.names(), (Rows{"Long", "Next"}));
    EXPECT_EQ(p.consist(1).VehicleCount, 50);
    EXPECT_EQ(p.consist(1).ConsistNote, "after the limit");
    EXPECT_EQ(p.consist(1).slot(50).NodeName, "S50");
    const std::string& row = p.rows[0];
    EXPECT_EQ(std::count(row.begin(), row.end(), '+'), 49);
    EXPECT_EQ(row.substr(row.size() - 4), "+S50");
}

TEST(ConsistParser, LfOnlyFileReadsLikeCrLf) {
    // Short and empty lines at every place where a reader stops before a line end.
    const std::string scenery =
        "t\ntrainset One x\ne\nn\n/\n \n  \n//$O note one\n" + loco("L1") +
        "\nendtrainset\ntra\ntrainset Two x\n//$O\n" + node("S2", "locotype", "passenger") +
        "endtr\n\ntrainset Three x\nnode -1 0 C3 dynamic OTHER\\car skin\n" +
        node("S3", "locotype", "reardriver") + "endtrainset\n";
    const Parsed lf = parse(scenery);
    ASSERT_EQ(lf.rows, (Rows{"Loco A", "S2", "S3"}));
    EXPECT_EQ(lf.consist(1).ConsistNote, "note one");
    EXPECT_EQ(lf.consist(2).ConsistNote, "");
    EXPECT_EQ(lf.consist(3).VehicleCount, 2);
    EXPECT_EQ(dump(lf), dump(parse(crlf(scenery))));
}
