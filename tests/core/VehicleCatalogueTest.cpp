#include "catalogue/VehicleCatalogue.h"

#include "catalogue/TextReader.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {
VehicleCatalogue read(std::string_view text) {
    TextReader in(text);
    return readVehicleCatalogue(in);
}

struct IntegerLine {
    const char* text;
    std::int32_t value;
};

template <std::size_t N> void expectIntegers(const IntegerLine (&lines)[N]) {
    for (const auto& [text, value] : lines)
        EXPECT_EQ(catalogueInteger(text), value) << '"' << text << '"';
}
} // namespace

TEST(VehicleCatalogue, IntegerTakesLeadingBlanksAndSign) {
    // Only blanks are skipped, and the sign must touch the digits.
    const IntegerLine lines[] = {
        {"1", 1},   {" 2", 2},  {"   -5", -5}, {"+7", 7},  {"007", 7},
        {"- 5", 0}, {"\t1", 0}, {"", 0},       {"   ", 0},
    };
    expectIntegers(lines);
}

TEST(VehicleCatalogue, IntegerReadsHexadecimal) {
    // Without "$" or "0x" an F is no digit.
    const IntegerLine lines[] = {
        {"$1F", 31},    {"$ff", 255}, {"0x1f", 31}, {"0X10", 16}, {" -$10", -16},
        {"-0x10", -16}, {"$", 0},     {"0x", 0},    {"0", 0},     {"1F", 1},
    };
    expectIntegers(lines);
}

TEST(VehicleCatalogue, IntegerIsTheValueOfTheLeadingDigits) {
    const IntegerLine lines[] = {
        {"12abc", 12}, {"3 4", 3}, {"2.5", 2},
        {"$1g", 1},    {"abc", 0}, {"00000000000000000000001", 1},
    };
    expectIntegers(lines);
}

TEST(VehicleCatalogue, IntegerOutsideThirtyTwoBitsGivesZero) {
    const IntegerLine lines[] = {
        {"2147483647", INT_MAX},    {"-2147483648", INT_MIN}, {"2147483648", 0},
        {"-2147483649", 0},         {"$7FFFFFFF", INT_MAX},   {"-$80000000", INT_MIN},
        {"$80000000", 0},           {"$FFFFFFFF", 0},         {"99999999999999999999999999", 0},
        {"0x10000000000000001", 0},
    };
    expectIntegers(lines);
}

TEST(VehicleCatalogue, HeadingAloneGivesNoRecord) {
    EXPECT_EQ(read("").CatalogueCount, 0);
    EXPECT_EQ(read("Vehicles").CatalogueCount, 0);
    EXPECT_EQ(read("Vehicles\r\n").CatalogueCount, 0);
}

TEST(VehicleCatalogue, RecordsOfFourLinesAreHeldAsWritten) {
    const VehicleCatalogue c = read(crlf("Vehicles\n"
                                         "LOCOTYPE\nLoco A\n1\n----\n"
                                         "coach \n Coach B\n 2\n\n"));
    ASSERT_EQ(c.CatalogueCount, 2);
    EXPECT_EQ(c.record(1).MatchName, "LOCOTYPE");
    EXPECT_EQ(c.record(1).DisplayName, "Loco A");
    EXPECT_EQ(c.record(1).RoleValue, 1);
    EXPECT_EQ(c.record(2).MatchName, "coach "); // case and trailing blank kept
    EXPECT_EQ(c.record(2).DisplayName, " Coach B");
    EXPECT_EQ(c.record(2).RoleValue, 2);
}

TEST(VehicleCatalogue, AnyLineAfterARecordStartsAnother) {
    const VehicleCatalogue c = read(crlf("Vehicles\nLOCOTYPE\nLoco A\n1\n----\n\n"));
    ASSERT_EQ(c.CatalogueCount, 2);
    EXPECT_EQ(c.record(2).MatchName, "");
    EXPECT_EQ(c.record(2).DisplayName, "");
    EXPECT_EQ(c.record(2).RoleValue, 0);
}

TEST(VehicleCatalogue, RecordCutOffByTheEndStillCounts) {
    const VehicleCatalogue twoLines = read(crlf("Vehicles\nLOCOTYPE\nLoco A\n"));
    ASSERT_EQ(twoLines.CatalogueCount, 1);
    EXPECT_EQ(twoLines.record(1).DisplayName, "Loco A");
    EXPECT_EQ(twoLines.record(1).RoleValue, 0);

    const VehicleCatalogue noLineEnd = read(crlf("Vehicles\nLOCOTYPE\nLoco A\n") + "7");
    ASSERT_EQ(noLineEnd.CatalogueCount, 1);
    EXPECT_EQ(noLineEnd.record(1).RoleValue, 7);

    const VehicleCatalogue ctrlZ =
        read(crlf("Vehicles\nA\nB\n1\n-\n") + "\032" + crlf("C\nD\n2\n"));
    EXPECT_EQ(ctrlZ.CatalogueCount, 1);
}

TEST(VehicleCatalogue, LfOnlyFileReadsLikeCrLf) {
    const std::string text = "Vehicles\nLOCOTYPE\nLoco A\n1\n\n\nEmpty above\n$10\n-\n";
    const VehicleCatalogue lf = read(text);
    const VehicleCatalogue crLf = read(crlf(text));
    ASSERT_EQ(lf.CatalogueCount, 2);
    ASSERT_EQ(crLf.CatalogueCount, 2);
    for (int n = 1; n <= 2; ++n) {
        EXPECT_EQ(lf.record(n).MatchName, crLf.record(n).MatchName);
        EXPECT_EQ(lf.record(n).DisplayName, crLf.record(n).DisplayName);
        EXPECT_EQ(lf.record(n).RoleValue, crLf.record(n).RoleValue);
    }
    EXPECT_EQ(lf.record(2).MatchName, "");
    EXPECT_EQ(lf.record(2).DisplayName, "Empty above");
    EXPECT_EQ(lf.record(2).RoleValue, 16);
}

TEST(VehicleCatalogue, RecordsAfterTheTwoHundredthAreIgnored) {
    std::string text = "Vehicles\r\n";
    for (int n = 1; n <= 260; ++n) // past 255 too, where an 8-bit count would wrap
        text += "T" + std::to_string(n) + "\r\nType " + std::to_string(n) + "\r\n1\r\n-\r\n";
    const VehicleCatalogue c = read(text);
    ASSERT_EQ(c.CatalogueCount, VehicleCatalogue::Capacity);
    EXPECT_EQ(c.record(1).MatchName, "T1");
    EXPECT_EQ(c.record(200).MatchName, "T200");
    EXPECT_EQ(c.record(200).DisplayName, "Type 200");
}

TEST(VehicleCatalogue, LoadsFromAWindowsMadeInstallation) {
    TempFolder root;
    EXPECT_EQ(loadVehicleCatalogue(root.path()).CatalogueCount, 0); // no file: empty, no error
    root.write("Dynamic/PKP/DYNAMIC.DAT", crlf("Vehicles\nLOCOTYPE\nLoco A\n1\n-\n"));
    const VehicleCatalogue c = loadVehicleCatalogue(root.path());
    ASSERT_EQ(c.CatalogueCount, 1);
    EXPECT_EQ(c.record(1).DisplayName, "Loco A");
}
