#include "automation/AutomationError.h"
#include "automation/CellRef.h"

#include <gtest/gtest.h>

using namespace qorv::automation;

TEST(ParseRange, ReadsCellsAndBlocks) {
    struct Case {
        const char* text;
        RangeRef expected;
    };
    const Case cases[] = {
        {"A1", {{1, 1}, {1, 1}}},       {"a5", {{5, 1}, {5, 1}}},
        {"$B$7", {{7, 2}, {7, 2}}},     {"A5:F5", {{5, 1}, {5, 6}}},
        {"F9:A2", {{2, 1}, {9, 6}}},    {"Z1", {{1, 26}, {1, 26}}},
        {"AA10", {{10, 27}, {10, 27}}}, {"XFD1048576", {{1048576, 16384}, {1048576, 16384}}},
        {" C3 ", {{3, 3}, {3, 3}}},     {"A1:A1000000", {{1, 1}, {1000000, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(parseRange(QString::fromLatin1(c.text)), c.expected);
    }
}

TEST(ParseRange, RejectsMalformedReferences) {
    const char* bad[] = {"",      "A",        "1",        "A0",    "XFE1", "A1048577",
                         "A1:",   ":A1",      "A1:B",     "A1B2",  "1A",   "A-1",
                         "A1;B2", "Лист1!A1", "A1:B2:C3", "R1C1x", "$$A1", "A5:A1100004"};
    for (const char* text : bad) {
        SCOPED_TRACE(text);
        try {
            parseRange(QString::fromUtf8(text));
            FAIL() << "accepted";
        } catch (const AutomationError& error) {
            // A row past the sheet's last says so: the sheet is full, the reference is sound.
            const bool beyond =
                QByteArray(text).endsWith("1048577") || QByteArray(text).endsWith("1100004");
            EXPECT_EQ(error.kind(), beyond ? ErrorKind::BeyondSheet : ErrorKind::BadReference);
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(text)));
        }
    }
}

TEST(CellName, WritesColumnLettersAndRows) {
    EXPECT_EQ(columnName(1), "A");
    EXPECT_EQ(columnName(26), "Z");
    EXPECT_EQ(columnName(27), "AA");
    EXPECT_EQ(columnName(702), "ZZ");
    EXPECT_EQ(columnName(703), "AAA");
    EXPECT_EQ(columnName(16384), "XFD");
    EXPECT_EQ(cellName({5, 3}), "C5");
    EXPECT_EQ(cellName({5, 3}, true), "$C$5");
    EXPECT_EQ(rangeName(RangeRef{{5, 1}, {100, 3}}, true), "$A$5:$C$100");
    std::string out;
    appendCellName(out, 1048576, 16384);
    EXPECT_EQ(out, "XFD1048576");
}

TEST(CellName, RoundTripsThroughParsing) {
    for (int column : {1, 2, 25, 26, 27, 52, 53, 701, 702, 703, 16384}) {
        const RangeRef ref = parseRange(cellName({42, column}));
        EXPECT_EQ(ref.first.column, column);
        EXPECT_EQ(ref.first.row, 42);
    }
}
