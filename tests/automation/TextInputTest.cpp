#include "automation/NumberFormat.h"
#include "automation/TextInput.h"

#include <gtest/gtest.h>

#include <charconv>
#include <string_view>
#include <system_error>

using namespace qorv::automation;

namespace {
struct Reading {
    const char* text;
    TextInput::Kind kind;
    double number;
    const char* format;  // display layout of a converted cell
};

void expectReading(const TextInput& input, const Reading& c) {
    SCOPED_TRACE(c.text);
    ASSERT_EQ(int(input.kind), int(c.kind));
    if (c.kind == TextInput::Kind::Number) {
        EXPECT_EQ(input.number, c.number);
        EXPECT_EQ(layoutFormatCode(input.layout), QString::fromUtf8(c.format));
    }
}

double serial(int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
    double value = 0;
    EXPECT_TRUE(dateTimeSerial(y, m, d, hh, mm, ss, value));
    return value;
}

constexpr auto Number = TextInput::Kind::Number;
constexpr auto Text = TextInput::Kind::Text;
constexpr auto Empty = TextInput::Kind::Empty;
}  // namespace

TEST(ReadValueText, NumbersWithEitherSeparatorKeepTheirDecimals) {
    const Reading cases[] = {
        {"23.450000000000", Number, 23.45, "0.000000000000"},
        {"23,450000000000", Number, 23.45, "0.000000000000"},
        {"1.5", Number, 1.5, "0.0"},
        {"1,5", Number, 1.5, "0.0"},
        {"-0,25", Number, -0.25, "0.00"},
        {"42", Number, 42, "0"},
        {"-7", Number, -7, "0"},
        {"0", Number, 0, "0"},
        {"007", Number, 7, "000"},
        {"0.123456790000", Number, 0.12345679, "0.000000000000"},
        {"1.2345678E+9", Number, 1.2345678e9, "0.0000000E+0"},
        {" 12.5 ", Number, 12.5, "0.0"},
        {"+3", Number, 3, "0"},
        {"0.1", Number, 0.1, "0.0"},
    };
    for (const Reading& c : cases) {
        expectReading(readValueText(QString::fromUtf8(c.text)), c);
    }
}

TEST(ReadValueText, DatesAreDayFirstAndDisplayAsWritten) {
    const Reading cases[] = {
        {"08.12.2015 14:03:09", Number, serial(2015, 12, 8, 14, 3, 9), "dd\\.mm\\.yyyy hh:mm:ss"},
        {"08/12/2015 14:03:09", Number, serial(2015, 12, 8, 14, 3, 9), "dd\\/mm\\/yyyy hh:mm:ss"},
        {"08-12-2015", Number, serial(2015, 12, 8), "dd\\-mm\\-yyyy"},
        {"8.2.15 7:05", Number, serial(2015, 2, 8, 7, 5), "d\\.m\\.yy h:mm"},
        {"13/01/2020 00:00:00", Number, serial(2020, 1, 13), "dd\\/mm\\/yyyy hh:mm:ss"},
        {"01.03.1900", Number, 61, "dd\\.mm\\.yyyy"},
        {"28.02.1900", Number, 59, "dd\\.mm\\.yyyy"},
        {"31.12.1999 23:59:59", Number, serial(1999, 12, 31, 23, 59, 59),
         "dd\\.mm\\.yyyy hh:mm:ss"},
    };
    for (const Reading& c : cases) {
        expectReading(readValueText(QString::fromUtf8(c.text)), c);
    }
    // 1 January 2000 is serial 36526; day first even where a month-first reading exists.
    EXPECT_EQ(serial(2000, 1, 1), 36526);
    EXPECT_EQ(readValueText(u"02.01.2000").number, 36527);
    EXPECT_EQ(readValueText(u"01.02.2000").number, 36557);
}

TEST(ReadValueText, EverythingElseStaysText) {
    const Reading cases[] = {
        {"Время", Text, 0, ""},
        {"1 000,5", Text, 0, ""},
        {"1,234.5", Text, 0, ""},
        {"1.", Text, 0, ""},
        {".5", Text, 0, ""},
        {"12:30", Text, 0, ""},
        {"32.01.2015", Text, 0, ""},
        {"29.02.2015", Text, 0, ""},
        {"12.13.2015", Text, 0, ""},
        {"01.02/2015", Text, 0, ""},
        {"01.02.2015 25:00", Text, 0, ""},
        {"01.02.2015 10:7", Text, 0, ""},
        {"01.02.2015x", Text, 0, ""},
        {"inf", Text, 0, ""},
        {"nan", Text, 0, ""},
        {"1e999", Text, 0, ""},
        {"№ 1234", Text, 0, ""},
        {"", Empty, 0, ""},
    };
    for (const Reading& c : cases) {
        expectReading(readValueText(QString::fromUtf8(c.text)), c);
    }
}

TEST(ReadValue2Text, ReadsNumbersButNoDates) {
    const Reading cases[] = {
        {"20", Number, 20, "0"},
        {"2,5", Number, 2.5, "0.0"},
        {"08.12.2015 14:03:09", Text, 0, ""},
        {"08.12.2015", Text, 0, ""},
        {"Страница 2", Text, 0, ""},
        {"", Empty, 0, ""},
    };
    for (const Reading& c : cases) {
        expectReading(readValue2Text(QString::fromUtf8(c.text)), c);
    }
}

// The oracle reads the text without the C library's locale (strtod would stop at the '.' under
// ru_RU.UTF-8 and read "0.1" as 0).
TEST(ReadValueText, NumbersRoundTripExactly) {
    for (const std::string_view text :
         {"0.1", "23.45", "1234567.8901234", "-0.000001", "9007199254740993", "3.14159265358979"}) {
        SCOPED_TRACE(text);
        double expected = 0;
        ASSERT_EQ(std::from_chars(text.data(), text.data() + text.size(), expected).ec,
                  std::errc());
        EXPECT_EQ(readValueText(QString::fromLatin1(text.data(), qsizetype(text.size()))).number,
                  expected);
    }
}

TEST(FormatCodeFromLocal, TranslatesRussianCodes) {
    struct Case {
        const char* local;
        const char* usual;
    };
    const Case cases[] = {
        {"ДД/ММ/ГГ Ч:ММ;@", "dd/mm/yy h:mm;@"},
        {"ДД.ММ.ГГГГ чч:мм:сс", "dd.mm.yyyy hh:mm:ss"},
        {"Основной", "General"},
        {"0.00", "0.00"},
        {"dd/mm/yyyy", "dd/mm/yyyy"},
        {"[Красный]0,0", "[Red]0,0"},
        {"[Ч]:ММ", "[h]:mm"},
        {"0\" Д\"", "0\" Д\""},
        {"\\Д0", "\\Д0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.local);
        EXPECT_EQ(formatCodeFromLocal(QString::fromUtf8(c.local)), QString::fromUtf8(c.usual));
    }
}
