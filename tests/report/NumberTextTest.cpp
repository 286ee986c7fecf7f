#include "report/NumberText.h"
#include "report/ReportError.h"

#include "LocaleTestSupport.h"

#include <cmath>
#include <iomanip>
#include <random>

namespace qorv {
namespace {

using test::OnEachSystem;

class NumberTextTest : public OnEachSystem {};
QORV_ON_EACH_SYSTEM(NumberTextTest);

TEST_P(NumberTextTest, FixedTextRoundsToEightSignificantDigitsAndPads) {
    struct Case {
        double x;
        int decimals;
        const char* expected;  // with '.', shown in the system's separator
    };
    const Case cases[] = {
        {23.45, 12, "23.450000000000"},
        {0.1234567891, 12, "0.123456790000"},
        {12345678.9, 1, "12345679.0"},  // 8 integer digits leave no decimal
        {1234.56789, 2, "1234.57"},     // the decimal limit wins
        {0.000123456789, 18, "0.000123456790000000"},
        {5.0, 0, "5"},
        {0.0, 3, "0.000"},
        {-23.5, 1, "-23.5"},
        {0.5, 25, "0.500000000000000000"},  // more than 18 places are written as 18
        {7.25, -3, "7"},                    // fewer than none as none
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FixedText(c.x, c.decimals), local(c.expected)) << c.x << " / " << c.decimals;
    }
}

TEST_P(NumberTextTest, FixedTextRoundsTheExactBinaryValueHalfAwayFromZero) {
    EXPECT_EQ(FixedText(0.125, 2), local("0.13"));  // an exact tie goes away from zero
    EXPECT_EQ(FixedText(-0.125, 2), local("-0.13"));
    EXPECT_EQ(FixedText(2.5, 0), local("3"));
    EXPECT_EQ(FixedText(-2.5, 0), local("-3"));
    EXPECT_EQ(FixedText(2.675, 2), local("2.67"));  // the double lies just below 2.675
    EXPECT_EQ(FixedText(1.005, 2), local("1.00"));
    EXPECT_EQ(FixedText(0.15, 1), local("0.1"));  // 0.1499999999999999944...
    EXPECT_EQ(FixedText(9.99999994, 12), local("9.999999900000"));
    EXPECT_EQ(FixedText(9.99999999951, 12), local("10.000000000000"));  // carry adds a digit
}

TEST_P(NumberTextTest, FixedTextOfAValueRoundingToZeroHasNoSign) {
    EXPECT_EQ(FixedText(-0.004, 2), local("0.00"));
    EXPECT_EQ(FixedText(-0.0, 1), local("0.0"));
}

TEST_P(NumberTextTest, FixedTextUsesExponentFormBeyondEightIntegerDigits) {
    EXPECT_EQ(FixedText(123456789.0, 2), local("1.2345679E+8"));
    EXPECT_EQ(FixedText(-98765432109.0, 0), local("-9.8765432E+10"));
    EXPECT_EQ(FixedText(99999999.5, 0), local("1.0000000E+8"));  // rounding carries into a 9th
    // The exponent form reads back, to its eight digits.
    EXPECT_EQ(static_cast<double>(ReadNumber(FixedText(123456789.0, 2))), 123456790.0);
}

TEST_P(NumberTextTest, ValueTextAlwaysWritesAPoint) {
    EXPECT_EQ(ValueText(23.45), QString("23.450000000000"));
    EXPECT_EQ(ValueText(0.1234567891), QString("0.123456790000"));
    EXPECT_EQ(ValueText(23.5), QString("23.500000000000"));
    EXPECT_EQ(ValueText(-5.0), QString("-5.000000000000"));
}

TEST_P(NumberTextTest, MktTermTextKeepsEighteenPlacesAndCutsTheRest) {
    // Eight significant digits 1.5345679e-15, of which 18 places keep four, cut not rounded.
    EXPECT_EQ(MktTermText(1.5345678912e-15), local("0.000000000000001534"));
    EXPECT_EQ(MktTermText(2.7e-15), local("0.000000000000002700"));
    EXPECT_EQ(MktTermText(9.99e-19), local("0.000000000000000000"));
    EXPECT_EQ(MktTermText(0.000123456789), local("0.000123456790000000"));
}

TEST_P(NumberTextTest, ReadNumberAcceptsEitherSeparator) {
    struct Case {
        const char* text;
        long double value;
    };
    const Case cases[] = {
        {"23.45", 23.45L}, {"23,45", 23.45L},       {" 1 ", 1.0L},      {"-0.5", -0.5L},
        {"+3", 3.0L},      {"1e3", 1000.0L},        {"1,5E-2", 0.015L}, {"5.", 5.0L},
        {",5", 0.5L},      {"83,14472", 83.14472L}, {"23.5 ", 23.5L},   {"007", 7.0L},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadNumber(QString::fromUtf8(c.text)), c.value) << c.text;
    }
}

TEST_P(NumberTextTest, ReadNumberReadsInExtendedPrecision) {
    // 23.45 read as an 80-bit value differs from 23.45 read as a double.
    EXPECT_NE(ReadNumber("23.45"), static_cast<long double>(23.45));
}

TEST_P(NumberTextTest, ReadNumberRefusesWhatIsNotANumber) {
    const char* bad[] = {"",   "   ", "abc", "1.2.3", "1,2,3", "1.2,3", "--1", "1e",
                         "e5", "1 2", "nan", "inf",   "0x10",  ".",     "-",   "1,5 °C"};
    for (const char* text : bad) {
        EXPECT_FALSE(TryReadNumber(QString::fromUtf8(text)).has_value()) << text;
        EXPECT_THROW(ReadNumber(QString::fromUtf8(text)), ConversionError) << text;
    }
}

TEST_P(NumberTextTest, ConversionErrorNamesTheText) {
    try {
        ReadNumber("12a");
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.text(), QString("12a"));
        EXPECT_TRUE(e.message().contains("12a"));
    }
}

TEST_P(NumberTextTest, TextsRoundTripThroughReadNumber) {
    for (double x : {0.0, 1.0, -1.25, 23.45, 1234.5678, 0.000012345678, 99999999.0}) {
        const QString text = FixedText(x, 12);
        EXPECT_EQ(FixedText(static_cast<double>(ReadNumber(text)), 12), text) << x;
    }
}

}  // namespace
}  // namespace qorv

namespace qorv {
namespace {

// The fast paths must agree with the full conversions on every value, ties and boundaries
// included.
TEST(NumberTextFastPaths, FormattingAgreesWithTheExactExpansion) {
    std::mt19937_64 random(20261209);
    std::vector<double> values = {0.125,
                                  0.5,
                                  2.5,
                                  99999999.5,
                                  9.99999995,
                                  0.000099999999995,
                                  1e-13,
                                  9.9999999999e-14,
                                  1e8,
                                  99999999.49999999,
                                  23.45,
                                  0.1234567891,
                                  1.5345678912e-15,
                                  2.7e-15,
                                  1e-12,
                                  0.3};
    for (int i = 0; i < 200000; ++i) {
        const int magnitude = static_cast<int>(random() % 29) - 20;
        const double mantissa = std::uniform_real_distribution<double>(1.0, 10.0)(random);
        double x = mantissa * std::pow(10.0, magnitude);
        if (i % 3 == 0) {  // short decimals, as logger values are
            x = std::round(x * 100) / 100;
        }
        if (i % 5 == 0) {  // exact ties at some place
            x = std::ldexp(std::round(std::ldexp(x, 10)) + 0.5, -10);
        }
        values.push_back(random() % 2 ? -x : x);
    }
    for (double x : values) {
        for (int d : {0, 1, 2, 7, 12, 18}) {
            ASSERT_EQ(detail::FormatFixed(x, d, d, ','), detail::FormatFixedExact(x, d, d, ','))
                << std::setprecision(17) << x << " / " << d;
        }
        ASSERT_EQ(detail::FormatFixed(x, 60, 18, '.'), detail::FormatFixedExact(x, 60, 18, '.'))
            << std::setprecision(17) << x;
    }
}

TEST(NumberTextFastPaths, ReadingAgreesWithTheFullConversion) {
    std::mt19937_64 random(7);
    QStringList texts = {"0",
                         "-0",
                         "0.0",
                         "5.",
                         ",5",
                         "007",
                         "1e27",
                         "1e-27",
                         "123456789012345678",
                         "1234567890123456789",
                         "0.0000000000000000000001",
                         "9.999999999999999999",
                         "83,14472",
                         "1.5E+8",
                         "-2.25e-3",
                         "0.1",
                         "0.30000000000000004"};
    for (int i = 0; i < 100000; ++i) {
        const int whole = static_cast<int>(random() % 100000);
        const int fraction = static_cast<int>(random() % 1000000000000ULL % 1000000);
        const int places = static_cast<int>(random() % 13);
        QString t = QString::number(whole);
        if (places > 0) {
            t += (random() % 2 ? '.' : ',') +
                 QString::number(fraction).rightJustified(6, '0').left(places);
        }
        if (random() % 4 == 0) {
            t += QString("e%1").arg(static_cast<int>(random() % 41) - 20);
        }
        texts << (random() % 2 ? "-" + t : t);
    }
    for (const QString& t : texts) {
        const auto fast = TryReadNumber(t);
        const auto full = detail::TryReadNumberFull(t);
        ASSERT_EQ(fast.has_value(), full.has_value()) << t.toStdString();
        if (fast) {
            ASSERT_EQ(*fast, *full) << t.toStdString();
        }
    }
}

}  // namespace
}  // namespace qorv
