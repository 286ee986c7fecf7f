#include "report/NumberText.h"
#include "report/ReportError.h"
#include "report/SampleConversion.h"

#include "LocaleTestSupport.h"

#include <QRegularExpression>

#include <cmath>

namespace qorv {
namespace {

using test::OnEachSystem;

class SampleConversionTest : public OnEachSystem {};
QORV_ON_EACH_SYSTEM(SampleConversionTest);

QDateTime at(int d, int m, int y, int hh, int mm, int ss) {
    return QDateTime(QDate(y, m, d), QTime(hh, mm, ss), Qt::UTC);
}

// Sample lines as the reader keeps them, numbered from line 10 of their file.
SampleLines linesOf(const QStringList& texts) {
    SampleLines lines{texts, {}};
    for (qsizetype i = 0; i < texts.size(); ++i) {
        lines.numbers << 10 + i;
    }
    return lines;
}

// The time texts of the columns, as the tables read them.
QStringList timeTextsOf(const SampleColumns& c) {
    QStringList times;
    for (qsizetype i = 0; i < c.size(); ++i) {
        times << c.timeText(i);
    }
    return times;
}

// Columns of channel-1 values whose lines have the times "t0", "t1", ...
SampleColumns channel1Of(const QStringList& values) {
    SampleColumns c;
    for (qsizetype i = 0; i < values.size(); ++i) {
        c.Lines.texts << QString("t%1 - line %1").arg(i);
        c.Lines.numbers << 10 + i;
    }
    c.Channel1Texts = values;
    return c;
}

SampleColumns channel2Of(const QStringList& values) {
    SampleColumns c = channel1Of(values);
    c.Channel2Texts = c.Channel1Texts;
    c.Channel1Texts.clear();
    return c;
}

// A line's time ends at its first " - ": dashes before it (in a date, in a value) and right
// after it do not move it.
TEST(SampleLineSplit, TimeEndsAtTheFirstBlankDashBlank) {
    struct Case {
        QString line;
        std::optional<QString> time;  // none: the line has no separator
    };
    const Case cases[] = {
        {u"01-02-2015 10:00:00 - 23.5 45"_qs, u"01-02-2015 10:00:00"_qs},
        {u"01/02/2015 10:00:00 - -5 - 7"_qs, u"01/02/2015 10:00:00"_qs},
        {u"10:00 -5 - 3"_qs, u"10:00 -5"_qs},
        {u"-- - 1"_qs, u"--"_qs},
        {u" - 5"_qs, u""_qs},
        {u"a -"_qs, std::nullopt},
        {u"-"_qs, std::nullopt},
        {u"no separator"_qs, std::nullopt},
    };
    for (const Case& c : cases) {
        const auto parts = SplitSampleLine(c.line, true);
        ASSERT_EQ(parts.has_value(), c.time.has_value()) << c.line.toStdString();
        if (parts) {
            EXPECT_EQ(parts->time.toString(), *c.time) << c.line.toStdString();
        }
    }
}

TEST_P(SampleConversionTest, SplitTakesTimeAndBothValues) {
    const SampleColumns c = SplitSamples(
        linesOf({"01/02/2015 10:00:00 - 23.5 °C 45.2 %", " 01/02/2015 10:00:30 - -2.25 °C 5 %"}),
        true);
    const QString sep(QChar(GetParam().date));
    EXPECT_EQ(timeTextsOf(c), QStringList({"01" + sep + "02" + sep + "2015 10:00:00",
                                           "01" + sep + "02" + sep + "2015 10:00:30"}));
    EXPECT_EQ(c.Channel1Texts, QStringList({"23.5 ", "-2.25 "}));
    EXPECT_EQ(c.Channel2Texts, QStringList({"45.2", "5"}));
}

// The lines giving way to their times leave the times the tables read as they were: on lines
// of eight bits and on wide ones (event words), with the system's separator and with one wider
// than eight bits, which turns the times wide.
TEST_P(SampleConversionTest, TimesKeptAloneReadAsFromTheLines) {
    const QStringList narrow = {"01/02/2015 10:00:00 - 23.5 °C 45.2 %",
                                "  01.02.2015 10:00:30   - -2.25 °C 5 %", "02/02/2015 1:02:03 - 7"};
    const QStringList wide = {" 01/02/2015 10:00:00 - 1 (Есть)", "01.02.2015 10:05:00 - 0 (Нет)"};
    for (const auto& [lines, separator] :
         {std::pair(narrow, QChar()), std::pair(wide, QChar()), std::pair(narrow, QChar(0x2215))}) {
        SampleColumns c = SplitSamples(linesOf(lines), false);
        if (!separator.isNull()) {
            c.dateSeparator = separator;
        }
        const QStringList times = timeTextsOf(c);
        KeepTimesOnly(c);
        EXPECT_EQ(c.size(), lines.size());
        EXPECT_TRUE(c.Lines.texts.isEmpty());
        EXPECT_EQ(timeTextsOf(c), times);
        EXPECT_EQ(c.Times.characters(), times.join(QString()).size());
    }
}

TEST_P(SampleConversionTest, SplitEventsAndSecondTemperature) {
    EXPECT_EQ(SplitSamples(linesOf({"01/02/2015 10:00:00 - 1 (Есть)"}), false).Channel2Texts,
              QStringList{"1"});
    EXPECT_TRUE(
        SplitSamples(linesOf({"01/02/2015 10:00:00 - 1 (Есть)"}), false).Channel1Texts.isEmpty());
    EXPECT_EQ(SplitSamples(linesOf({"01/02/2015 10:00:00 - 21.0 °C -3.5 °C"}), true).Channel2Texts,
              QStringList{"-3.5"});
    EXPECT_EQ(SplitSamples(linesOf({"01/02/2015 10:00:00 - 21.0 °C 0 (Нет)"}), true).Channel2Texts,
              QStringList{"0"});
    // A value word that is not Latin-1 keeps its characters, for the message that names it.
    EXPECT_EQ(SplitSamples(linesOf({"01/02/2015 10:00:00 - 21.0 °C 1 (Есть)",
                                    "01/02/2015 10:01:00 - Нет 0 (Нет)"}),
                           true)
                  .Channel1Texts,
              QStringList({"21.0 ", "Нет "}));
}

TEST_P(SampleConversionTest, ChannelListsStayAlignedWithTheTimes) {
    // A temperature-only file: channel 2 has no values at all, so its list stays empty.
    const SampleColumns t = SplitSamples(
        linesOf({"01/02/2015 10:00:00 - 23.5 °C", "01/02/2015 10:01:00 - 23.6 °C"}), true);
    EXPECT_EQ(t.Channel1Texts.size(), 2);
    EXPECT_TRUE(t.Channel2Texts.isEmpty());

    // One line lacks its channel-2 value: an empty entry keeps the columns aligned.
    const SampleColumns m =
        SplitSamples(linesOf({"01/02/2015 10:00:00 - 23.5 °C 40 %", "01/02/2015 10:01:00 - 23.6 °C",
                              "01/02/2015 10:02:00 - 23.7 °C 42 %"}),
                     true);
    EXPECT_EQ(m.Channel2Texts, QStringList({"40", "", "42"}));
}

TEST_P(SampleConversionTest, SelectionIncludesBothEnds) {
    const QStringList rows = {"01/02/2015 10:00:00 - 1 %", "01/02/2015 10:00:30 - 2 %",
                              "01/02/2015 10:01:00 - 3 %", " 01/02/2015 10:01:30 - 4 %"};
    FormatSettings::instance().applyProgramConventions();
    const SampleLines all =
        SelectSamplesByRange(linesOf(rows), at(1, 2, 2015, 10, 0, 0), at(1, 2, 2015, 10, 1, 30));
    EXPECT_EQ(all.texts, rows);
    EXPECT_EQ(all.numbers, LineNumbers({10, 11, 12, 13}));
    const SampleLines middle =
        SelectSamplesByRange(linesOf(rows), at(1, 2, 2015, 10, 0, 30), at(1, 2, 2015, 10, 1, 0));
    EXPECT_EQ(middle.texts, QStringList({rows[1], rows[2]}));
    EXPECT_EQ(middle.numbers, LineNumbers({11, 12}));
    EXPECT_TRUE(
        SelectSamplesByRange(linesOf(rows), at(2, 2, 2015, 0, 0, 0), at(3, 2, 2015, 0, 0, 0))
            .texts.isEmpty());
}

TEST_P(SampleConversionTest, SelectionFailureNamesTheLine) {
    FormatSettings::instance().applyProgramConventions();
    try {
        SelectSamplesByRange(linesOf({"01/02/2015 10:00:00 23.5 °C"}), at(1, 1, 2015, 0, 0, 0),
                             at(1, 1, 2016, 0, 0, 0));
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_TRUE(e.message().contains("01/02/2015 10:00:00 23.5 °C"));
    }
    try {
        SelectSamplesByRange(linesOf({"31/02/2015 10:00:00 - 1 %"}), at(1, 1, 2015, 0, 0, 0),
                             at(1, 1, 2016, 0, 0, 0));
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_EQ(e.text(), QString("31/02/2015 10:00:00"));
        EXPECT_TRUE(e.message().contains("31/02/2015 10:00:00 - 1 %"));
    }
}

TEST_P(SampleConversionTest, CorrectionWritesValueTexts) {
    SampleColumns c = channel1Of({"23.5 ", "", "-1,25 "});
    CorrectChannel1(c, "1", "0");
    EXPECT_EQ(c.Channel1Texts, QStringList({"23.500000000000", "", "-1.250000000000"}));

    SampleColumns d = channel2Of({"40", "50.5"});
    CorrectChannel2(d, "0,5", " 1.5 ");
    EXPECT_EQ(d.Channel2Texts, QStringList({"21.500000000000", "26.750000000000"}));
}

TEST_P(SampleConversionTest, CorrectionFailureNamesValueAndLine) {
    SampleColumns c = channel1Of({"2x.5 "});
    try {
        CorrectChannel1(c, "1", "0");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_TRUE(e.message().contains("2x.5"));
        EXPECT_TRUE(e.message().contains("line 0"));
    }
    SampleColumns d = channel1Of({"1 "});
    EXPECT_THROW(CorrectChannel1(d, "a", "0"), ConversionError);
}

// A channel's two conversions in one pass meet the failure the two passes in turn would meet:
// the first's at any value before the second's, a field of the second only when the first
// converted every value.
TEST(ConvertChannel, MeetsTheFailureOfTheConversionsInTurn) {
    const auto failsAt = [](qsizetype at, const char* what) {
        return [at, what](QStringView entry, qsizetype i) {
            if (i == at) {
                throw ConversionError(QString::fromUtf8(what), entry.toString());
            }
            return ValueText(static_cast<double>(ReadNumber(entry.toString()) + 1));
        };
    };
    const auto fails = [](const char* what) {
        return [what]() -> ValueConversion { throw ConversionError(QString::fromUtf8(what), {}); };
    };
    const auto messageOf = [](const std::exception_ptr& failure) {
        try {
            if (failure) {
                std::rethrow_exception(failure);
            }
        } catch (const ConversionError& e) {
            return e.message();
        }
        return QString();
    };
    struct Case {
        std::function<ValueConversion()> first;
        std::function<ValueConversion()> second;
        QString firstFailure;
        QString secondFailure;
    };
    const std::vector<Case> cases = {
        {[&] { return failsAt(3, "first at 3"); }, [&] { return failsAt(0, "second at 0"); },
         "first at 3", ""},
        {[&] { return failsAt(-1, ""); }, [&] { return failsAt(2, "second at 2"); }, "",
         "second at 2"},
        {[&] { return failsAt(3, "first at 3"); }, fails("second's field"), "first at 3", ""},
        {[&] { return failsAt(-1, ""); }, fails("second's field"), "", "second's field"},
        {fails("first's field"), [&] { return failsAt(0, "second at 0"); }, "first's field", ""},
        {nullptr, [&] { return failsAt(2, "second at 2"); }, "", "second at 2"},
    };
    for (const Case& c : cases) {
        TextColumn column = {"1", "", "2", "3"};
        const ConversionFailures failures = ConvertChannel(column, c.first, c.second);
        EXPECT_EQ(messageOf(failures.first), c.firstFailure);
        EXPECT_EQ(messageOf(failures.second), c.secondFailure);
        EXPECT_EQ(column, QStringList({"1", "", "2", "3"})) << "a failed pass keeps the column";
    }

    TextColumn column = {"1", "", "2"};
    const ConversionFailures none = ConvertChannel(
        column, [&] { return failsAt(-1, ""); }, [&] { return failsAt(-1, ""); });
    EXPECT_FALSE(none.first || none.second);
    EXPECT_EQ(column, QStringList({"3.000000000000", "", "4.000000000000"}));
}

TEST_P(SampleConversionTest, SmoothingWeighsTheNewSample) {
    SampleColumns c = channel2Of({"10", "20"});
    SmoothChannel2(c, "0.5");
    EXPECT_EQ(c.Channel2Texts, QStringList({"10.000000000000", "15.000000000000"}));

    SampleColumns hold = channel2Of({"10", "20", "30"});
    SmoothChannel2(hold, "0");
    EXPECT_EQ(hold.Channel2Texts,
              QStringList({"10.000000000000", "10.000000000000", "10.000000000000"}));

    // Each result is computed from the previous result's text: 1/3 is carried as 0.33333333.
    SampleColumns third = channel2Of({"0", "1", "1"});
    SmoothChannel2(third, "0,33333333333");
    EXPECT_EQ(third.Channel2Texts.copyAt(1), QString("0.333333330000"));
    EXPECT_EQ(third.Channel2Texts.copyAt(2), QString("0.555555550000"));
}

TEST_P(SampleConversionTest, StepKeepsEverySthSample) {
    QStringList ten;
    for (int i = 0; i < 10; ++i) {
        ten << QString::number(i);
    }
    SampleColumns c = channel1Of(ten);
    StepSamples(c, 3);
    EXPECT_EQ(c.Channel1Texts, QStringList({"0", "3", "6", "9"}));
    EXPECT_EQ(timeTextsOf(c), QStringList({"t0", "t3", "t6", "t9"}));
    EXPECT_TRUE(c.Channel2Texts.isEmpty());
}

TEST_P(SampleConversionTest, CompressionKeepsChanges) {
    SampleColumns c = channel1Of({"20.0", "20.0", "21.0", "20.0"});
    CompressSamples(c, true, false);
    EXPECT_EQ(timeTextsOf(c), QStringList({"t0", "t2", "t3"}));
    EXPECT_EQ(c.Channel1Texts, QStringList({"20.0", "21.0", "20.0"}));

    SampleColumns both = channel1Of({"1", "1", "1", "2"});
    both.Channel2Texts = {"5", "6", "6", "6"};
    CompressSamples(both, true, true);
    EXPECT_EQ(timeTextsOf(both), QStringList({"t0", "t1", "t3"}));

    SampleColumns onlyTwo = channel1Of({"1", "2", "3"});
    onlyTwo.Channel2Texts = {"5", "5", "6"};
    CompressSamples(onlyTwo, false, true);
    EXPECT_EQ(timeTextsOf(onlyTwo), QStringList({"t0", "t2"}));
    EXPECT_TRUE(onlyTwo.Channel1Texts.isEmpty());
}

double plainMkt(const std::vector<double>& celsius) {
    double sum = 0;
    for (double t : celsius) {
        sum += std::exp(-10000.0 / (t + 273.15));
    }
    return 10000.0 / -std::log(sum / static_cast<double>(celsius.size())) - 273.15;
}

TEST_P(SampleConversionTest, MeanKineticTemperatureRunsOverTheSamples) {
    SampleColumns c = channel1Of({"20.000000000000", "30.000000000000", "25.000000000000"});
    ApplyMeanKineticTemperature(c, "83,14472");
    ASSERT_EQ(c.Channel1Texts.size(), 3);
    const double first = static_cast<double>(ReadNumber(c.Channel1Texts.copyAt(0)));
    EXPECT_NEAR(first, 20.0, 0.01);
    // The term of 20 °C (about 1.53e-15) keeps four digits in its 18-place text, so the
    // running value differs from 20 in the third decimal place.
    EXPECT_NE(c.Channel1Texts.copyAt(0), QString("20.000000000000"));
    EXPECT_NEAR(ReadNumber(c.Channel1Texts.copyAt(1)), plainMkt({20, 30}), 0.01);
    EXPECT_NEAR(ReadNumber(c.Channel1Texts.copyAt(2)), plainMkt({20, 30, 25}), 0.01);
}

// Terms are kept by temperature, readings repeating; with hundreds of temperatures met in a
// scrambled order, each twice, every term must still be its own temperature's.
TEST_P(SampleConversionTest, MeanKineticTemperatureOfManyTemperaturesEachTwice) {
    std::vector<double> celsius;
    QStringList texts;
    for (int k = 0; k < 1600; ++k) {
        const int tenths = (k % 800) * 337 % 800 - 300;  // -30.0 .. 49.9 °C, scrambled
        celsius.push_back(tenths / 10.0);
        texts << QString::number(tenths / 10.0, 'f', 12);
    }
    EXPECT_NEAR(MeanKineticTemperature(celsius, 83.14472L), plainMkt(celsius), 1e-6);
    SampleColumns c = channel1Of(texts);
    ApplyMeanKineticTemperature(c, "83.14472");
    EXPECT_NEAR(ReadNumber(c.Channel1Texts.copyAt(1599)), plainMkt(celsius), 0.01);
}

TEST_P(SampleConversionTest, TermOfTwentyDegreesKeepsFourDigits) {
    // exp(-10000 / 293.15) is about 1.53e-15: 18 places leave four significant digits.
    const long double x = -1000.0L * 83.14472L / (8.314472L * (20.0L + 273.15L));
    const double term = static_cast<double>(std::exp(x * std::log(2.7182818284L)));
    const QString text = MktTermText(term);
    EXPECT_TRUE(QRegularExpression("^0[.,]0{14}15\\d\\d$").match(text).hasMatch())
        << text.toStdString();
    EXPECT_NEAR(static_cast<double>(ReadNumber(text)), 1.53e-15, 0.01e-15);
}

TEST_P(SampleConversionTest, MeanKineticTemperatureOfFrozenGoods) {
    // Terms below 1e-18 would read back as zero; they are used exactly instead.
    SampleColumns c = channel1Of({"-40.000000000000", "-40.000000000000", "-35.000000000000"});
    ApplyMeanKineticTemperature(c, "83.14472");
    EXPECT_NEAR(ReadNumber(c.Channel1Texts.copyAt(0)), -40.0, 1e-6);
    EXPECT_NEAR(ReadNumber(c.Channel1Texts.copyAt(1)), -40.0, 1e-6);
    EXPECT_NEAR(ReadNumber(c.Channel1Texts.copyAt(2)), plainMkt({-40, -40, -35}), 1e-6);
}

TEST_P(SampleConversionTest, ConstantTemperatureGivesItsOwnMkt) {
    SampleColumns c = channel1Of(QStringList(50, "5.000000000000"));
    ApplyMeanKineticTemperature(c, "83,14472");
    // At 5 °C a term is about 2.4e-16, so its 18-place text keeps three digits: the value is
    // off by up to 0.4 % of the term, a few hundredths of a kelvin, the same in every entry.
    for (const QString& v : c.Channel1Texts.toList()) {
        EXPECT_NEAR(ReadNumber(v), 5.0, 0.05);
        EXPECT_EQ(v, c.Channel1Texts.copyAt(0));
    }
}

}  // namespace
}  // namespace qorv
