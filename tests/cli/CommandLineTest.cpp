#include "cli/CommandLine.h"

#include <QThread>

#include <gtest/gtest.h>

namespace qorv::cli {
namespace {

BuildRequest build(const QStringList& args) {
    const Request r = ParseCommandLine(args);
    if (const auto* e = std::get_if<UsageError>(&r)) {
        ADD_FAILURE() << e->message.toStdString();
        return {};
    }
    return std::get<BuildRequest>(r);
}

QString usageError(const QStringList& args) {
    const Request r = ParseCommandLine(args);
    const auto* e = std::get_if<UsageError>(&r);
    return e ? e->message : QString();
}

TEST(ParseCommandLine, InspectForm) {
    const Request r = ParseCommandLine({"inspect", "--json", "a.txt", "b.txt"});
    const auto& inspect = std::get<InspectRequest>(r);
    EXPECT_TRUE(inspect.json);
    EXPECT_EQ(inspect.files, QStringList({"a.txt", "b.txt"}));
    EXPECT_FALSE(usageError({"inspect"}).isEmpty());
    EXPECT_FALSE(usageError({"inspect", "--xml", "a.txt"}).isEmpty());
}

TEST(ParseCommandLine, MapForm) {
    const Request r = ParseCommandLine({"map", "--pdf", "-o", "out", "--low=2", "--high", "8,5",
                                        "--from", "12/05/2023 08:00:00", "--to", "13/5/2023",
                                        "--dh", "83.144", "a.txt", "--", "--b.txt"});
    const auto& map = std::get<MapRequest>(r);
    EXPECT_FALSE(map.json);
    EXPECT_TRUE(map.pdf);
    EXPECT_EQ(map.folder, QString("out"));
    EXPECT_EQ(map.study.files, QStringList({"a.txt", "--b.txt"}));
    EXPECT_EQ(map.study.low, 2.0);
    EXPECT_EQ(map.study.high, 8.5);  // either separator, whatever the system's
    EXPECT_EQ(map.study.from, QDateTime(QDate(2023, 5, 12), QTime(8, 0), Qt::UTC));
    EXPECT_EQ(map.study.to, QDateTime(QDate(2023, 5, 13), QTime(23, 59), Qt::UTC));
    EXPECT_EQ(map.study.deltaH, QString("83.144"));
    EXPECT_TRUE(std::get<MapRequest>(ParseCommandLine({"map", "--json", "a"})).json);

    struct Refused {
        QStringList args;
        const char* why;
    };
    for (const Refused& row : {
             Refused{{"map"}, "no files"},
             Refused{{"map", "--low", "2", "a"}, "one end of the range"},
             Refused{{"map", "--low", "5", "--high", "5", "a"}, "an empty range"},
             Refused{{"map", "--low", "x", "--high", "5", "a"}, "no number"},
             Refused{{"map", "--from", "31/02/2023", "a"}, "no such date"},
             Refused{{"map", "--from", "13/05/2023", "--to", "12/05/2023", "a"}, "reversed"},
             Refused{{"map", "--dh", "0", "a"}, "ΔH at zero"},
             Refused{{"map", "--json=1", "a"}, "a flag with a value"},
             Refused{{"map", "--mkt", "a"}, "a protocol option"},
             Refused{{"map", "a", "--out"}, "no value"},
         }) {
        EXPECT_FALSE(usageError(row.args).isEmpty()) << row.why;
    }
}

TEST(ParseCommandLine, NegativeNumbersAreValues) {
    const BuildRequest r = build({"--b", "-0.5", "--d=-3", "--a", "-1e2", "x.txt"});
    EXPECT_EQ(r.overrides.value("--b"), QString("-0.5"));
    EXPECT_EQ(r.overrides.value("--d"), QString("-3"));
    EXPECT_EQ(r.overrides.value("--a"), QString("-1e2"));
    EXPECT_EQ(r.files, QStringList{"x.txt"});
}

TEST(ParseCommandLine, FlagsAndValues) {
    const BuildRequest r = build({"-o",         "/out",        "--pdf",
                                  "--no-label", "--no-status", "--ch2",
                                  "--no-ch1",   "--from",      "01.02.2015 10:00:00",
                                  "--to",       "02/02/2015",  "--color1",
                                  "#FF0000",    "--color2",    "16711680",
                                  "--scale2",   "-5:40",       "--time-unit",
                                  "10m",        "--decimals1", "3",
                                  "--mkt",      "--",          "--odd-name.txt"});
    const ReportOverrides& o = r.overrides;
    EXPECT_EQ(o.value("--out"), QString("/out"));
    EXPECT_TRUE(o.pdf() && o.value("--no-label") && o.value("--no-status") && o.value("--mkt"));
    EXPECT_EQ(o.value("--ch1"), QString("--no-ch1"));
    EXPECT_EQ(o.value("--ch2"), QString("--ch2"));
    // The values as the options put them into a loaded state.
    ProgramState state;
    state.options.resetForLoad("/data/a.txt");
    ApplyOverrides(o, state);
    using R = ReportOptions;
    const ReportOptions& w = state.options;
    EXPECT_EQ(w.Edit2, QString("/out"));
    EXPECT_TRUE(w.isChecked(R::CheckBox8) && w.isChecked(R::CheckBox5));
    EXPECT_FALSE(w.isChecked(R::CheckBox2) || w.isChecked(R::CheckBox3));
    EXPECT_FALSE(w.isChecked(R::CheckBox6));
    EXPECT_TRUE(w.isChecked(R::CheckBox7));
    EXPECT_EQ(w.ComboBoxText[R::ComboBox1], QString("01.02.2015"));
    EXPECT_EQ(
        w.ComboBoxText[R::ComboBox3] + w.ComboBoxText[R::ComboBox5] + w.ComboBoxText[R::ComboBox6],
        QString("100000"));
    EXPECT_EQ(
        w.ComboBoxText[R::ComboBox4] + w.ComboBoxText[R::ComboBox7] + w.ComboBoxText[R::ComboBox8],
        QString("235900"));
    const ChartSettings& chart = state.chart;
    EXPECT_EQ(chart.TempColor, 255);
    EXPECT_EQ(chart.DataColor, 16711680);
    EXPECT_EQ(std::make_pair(chart.DataScaleMin, chart.DataScaleMax), std::make_pair(-5, 40));
    EXPECT_EQ(chart.TimeUnitAuto, QString("NO"));
    EXPECT_DOUBLE_EQ(chart.TimeMajorUnit, 10.0 / 60 / 24);
    EXPECT_EQ(chart.TempDecimals, 3);
    EXPECT_EQ(r.files, QStringList{"--odd-name.txt"});
}

TEST(ParseCommandLine, BadValuesAreUsageErrors) {
    const QStringList bad[] = {
        {"--decimals1", "8", "a.txt"},
        {"--scale1", "10:10", "a.txt"},
        {"--scale1", "10", "a.txt"},
        {"--color1", "#12345", "a.txt"},
        {"--color1", "-1", "a.txt"},
        {"--time-unit", "10x", "a.txt"},
        {"--time-unit", "0h", "a.txt"},
        {"--unit1", "-5", "a.txt"},  // an axis unit is a length: 0 (automatic) or more
        {"--title1", QString(26, 'x'), "a.txt"},
        {"--from", "01/02/2015 10:00", "a.txt"},
        {"--bogus", "a.txt"},
        {"--pdf=yes", "a.txt"},
        {"a.txt", "--step"},
        {"--pdf"},
    };
    for (const QStringList& args : bad) {
        EXPECT_FALSE(usageError(args).isEmpty()) << args.join(' ').toStdString();
    }
}

TEST(ParseCommandLine, JobsAndTheOptionsHandedOn) {
    const BuildRequest r = build({"-j", "3", "-o", "/out", "--title1=Склад", "--pdf", "--b", "-0.5",
                                  "a.txt", "--jobs=5", "-j4", "--", "-j"});
    EXPECT_EQ(r.jobs, 4);
    // Everything but -j and the files, as given, for a process of the tool to parse again.
    EXPECT_EQ(r.optionArguments,
              QStringList({"-o", "/out", "--title1=Склад", "--pdf", "--b", "-0.5"}));
    EXPECT_EQ(r.files, QStringList({"a.txt", "-j"}));
    EXPECT_EQ(build({"a.txt"}).jobs, std::max(1, QThread::idealThreadCount()));

    const QStringList bad[] = {{"-j", "0", "a.txt"},   {"-j", "-1", "a.txt"},
                               {"-j", "x", "a.txt"},   {"-j", "", "a.txt"},
                               {"-j", "1.5", "a.txt"}, {"-j", "+2", "a.txt"},
                               {"-j", " 2", "a.txt"},  {"--jobs=99999999999", "a.txt"},
                               {"-j0", "a.txt"},       {"a.txt", "-j"},
                               {"--jobs", "a.txt"}};
    for (const QStringList& args : bad) {
        EXPECT_FALSE(usageError(args).isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(usageError({"-j", "0", "a.txt"}), "Недопустимое значение параметра -j: 0");
    // Names and values echoed back show control characters as escapes, as file names do.
    EXPECT_EQ(usageError({"-j", "\x1b[31m", "a.txt"}),
              "Недопустимое значение параметра -j: \\u001b[31m");
    EXPECT_EQ(usageError({"--\x1b]0;x\x07", "a.txt"}),
              "Неизвестный параметр: --\\u001b]0;x\\u0007");
    // The statistics form builds nothing and takes no -j.
    EXPECT_EQ(usageError({"stats", "-j", "2", "a.txt"}), "Неизвестный параметр: -j");
}

TEST(ParseTimeUnit, UnitsAreDays) {
    EXPECT_DOUBLE_EQ(*ParseTimeUnit("15m"), 15.0 / 60 / 24);
    EXPECT_DOUBLE_EQ(*ParseTimeUnit("6h"), 0.25);
    EXPECT_DOUBLE_EQ(*ParseTimeUnit("2d"), 2.0);
    EXPECT_DOUBLE_EQ(*ParseTimeUnit("1,5d"), 1.5);
}

TEST(ApplyOverrides, FollowsTheWindowsRules) {
    ProgramState state;
    state.options.resetForLoad("/data/a.txt");
    ReportOverrides o;
    o.given = {{"--no-label", "--no-label"},
               {"--no-status", "--no-status"},
               {"--scale1", "0:50"},
               {"--time-grid", "--time-grid"},
               {"--step", "3"}};
    ApplyOverrides(o, state);
    using R = ReportOptions;
    EXPECT_FALSE(state.options.isChecked(R::CheckBox1));
    EXPECT_FALSE(state.options.isChecked(R::CheckBox10));
    EXPECT_EQ(state.chart.TempScaleAuto, QString("NO"));
    EXPECT_EQ(state.chart.TempScaleMax, 50);
    EXPECT_EQ(state.chart.TimeGridlines, QString("OK"));
    EXPECT_EQ(state.options.Edit5, QString("3"));
    EXPECT_EQ(state.options.Edit6, QString("1"));  // untouched
}

}  // namespace
}  // namespace qorv::cli
