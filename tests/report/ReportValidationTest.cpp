#include "report/DateTimeText.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"

#include "LocaleTestSupport.h"

#include "automation/CellRef.h"

#include <QTemporaryDir>

#include <functional>

namespace qorv {
namespace {

using test::OnEachSystem;
using R = ReportOptions;

ReportOptions& withChannels(ReportOptions& o) {
    o.setChecked(R::CheckBox6, true);
    o.setChecked(R::CheckBox7, true);
    return o;
}

void withMkt(ReportOptions& o, const char* deltaH) {
    o.setChecked(R::CheckBox5, true);
    o.Edit10 = deltaH;
}

class DateTimeTextTest : public OnEachSystem {
  protected:
    void SetUp() override {
        OnEachSystem::SetUp();
        FormatSettings::instance().applyProgramConventions();
    }
};
QORV_ON_EACH_SYSTEM(DateTimeTextTest);

TEST_P(DateTimeTextTest, ReadsDayFirst) {
    struct Case {
        const char* text;
        QDateTime expected;
    };
    const Case cases[] = {
        {"01/02/2015 10:00:00", QDateTime(QDate(2015, 2, 1), QTime(10, 0, 0), Qt::UTC)},
        {" 3/4/2016 7:05:09 ", QDateTime(QDate(2016, 4, 3), QTime(7, 5, 9), Qt::UTC)},
        {"12/11/2020 23:59", QDateTime(QDate(2020, 11, 12), QTime(23, 59, 0), Qt::UTC)},
        {"29/02/2016", QDateTime(QDate(2016, 2, 29), QTime(0, 0, 0), Qt::UTC)},
        {"01/02/15 10:00:00", QDateTime(QDate(2015, 2, 1), QTime(10, 0, 0), Qt::UTC)},
        {"01/02/98 10:00:00", QDateTime(QDate(1998, 2, 1), QTime(10, 0, 0), Qt::UTC)},
        {"01/02/29 10:00:00", QDateTime(QDate(2029, 2, 1), QTime(10, 0, 0), Qt::UTC)},
        {"01/02/30 10:00:00", QDateTime(QDate(1930, 2, 1), QTime(10, 0, 0), Qt::UTC)},
        // The shape a logger writes, read at fixed places.
        {"29/02/2016 00:00:00", QDateTime(QDate(2016, 2, 29), QTime(0, 0, 0), Qt::UTC)},
        {"31/12/1969 23:59:59", QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59), Qt::UTC)},
        {"09/10/2026 08:07:06", QDateTime(QDate(2026, 10, 9), QTime(8, 7, 6), Qt::UTC)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadDateTime(c.text), c.expected) << c.text;
        EXPECT_EQ(TryReadMSecsSinceEpoch(QString(c.text)), c.expected.toMSecsSinceEpoch())
            << c.text;
    }
}

TEST_P(DateTimeTextTest, RefusesWhatIsNotADateAndTime) {
    const char* bad[] = {"",
                         " ::",
                         "01.02.2015 10:00:00",  // the range fields turn '.' into '/' first
                         "13/13/2015 10:00:00",
                         "30/02/2015",
                         "01/02/2015 24:00:00",
                         "01/02/2015 10:60:00",
                         "01/02/2015 10",
                         "01/02/2015 10:00:00:00",
                         "01/02/201 10:00:00",
                         "a1/02/2015",
                         "01/02/2015 10:0x:00",
                         "29/02/2015 10:00:00",
                         "31/04/2015 10:00:00",
                         "01/02/0000 10:00:00",
                         "01/02/2015 10:00:60",
                         "01/02/2015x10:00:00",
                         "01/02/2015 10.00:00",
                         "01/02.2015 10:00:00"};
    for (const char* text : bad) {
        EXPECT_FALSE(TryReadDateTime(text).has_value()) << text;
        EXPECT_FALSE(TryReadMSecsSinceEpoch(QString(text)).has_value()) << text;
    }
    EXPECT_THROW(ReadDateTime("x"), ConversionError);
}

class ReportValidationTest : public OnEachSystem {
  protected:
    void SetUp() override {
        OnEachSystem::SetUp();
        ASSERT_TRUE(dir_.isValid());
        file_ = dir_.filePath("logger.txt");
        QFile f(file_);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.close();
        options_.Edit1 = file_;
        options_.Edit2 = dir_.path() + '/';
        options_.ComboBoxText = {"",   "01.02.2015", "02/02/2015", "10", "09",
                                 "00", "00",         "59",         "30"};
        // Samples in the range, and one after it whose value no correction may be blamed on.
        data_.SampleRows = {
            "01/02/2015 10:00:00 - 1.5 °C 50.0 %", " 01/02/2015 11:00:00 - -2.0 °C 50,0 %",
            "01/02/2015 12:00:00 - 1e400 °C 50,0 %", "03/02/2015 11:00:00 - 1e300 °C 1e300 %"};
        data_.SampleLineNumbers = {1, 2, 3, 4};
    }
    std::optional<QString> validate(const ReportOptions& o) const {
        return ValidateReportOptions(o, data_);
    }

    QTemporaryDir dir_;
    QString file_;
    ReportOptions options_;
    LogData data_;
};
QORV_ON_EACH_SYSTEM(ReportValidationTest);

TEST_P(ReportValidationTest, DefaultsOfALoadedFilePass) {
    EXPECT_EQ(validate(options_), std::nullopt);
    EXPECT_EQ(RangeStartText(options_), QString("01/02/2015 10:00:00"));
}

#ifdef _WIN32
const QString kDevice = QStringLiteral("NUL");
#else
const QString kDevice = QStringLiteral("/dev/zero");
#endif

TEST_P(ReportValidationTest, EachFieldHasItsMessage) {
    struct Case {
        std::function<void(ReportOptions&)> change;
        QString message;
    };
    const Case cases[] = {
        {[](ReportOptions& o) { o.ComboBoxText[1].clear(); }, messages::DateFieldsError},
        {[](ReportOptions& o) { o.ComboBoxText[8] = "61"; }, messages::DateFieldsError},
        {[](ReportOptions& o) { o.Edit10 = "83,14.472"; }, messages::MktFieldError},
        {[](ReportOptions& o) { o.Edit6 = "1.5"; }, messages::SmoothingFieldError},
        {[](ReportOptions& o) { o.Edit6 = "1,5"; }, messages::SmoothingFieldError},
        {[](ReportOptions& o) { o.Edit6 = ""; }, messages::SmoothingFieldError},
        {[](ReportOptions& o) { o.Edit5 = "0"; }, messages::StepFieldError},
        {[](ReportOptions& o) { o.Edit5 = "1.5"; }, messages::StepFieldError},
        {[](ReportOptions& o) { o.Edit5 = "2,"; }, messages::StepFieldError},
        {[](ReportOptions& o) { o.Edit7 = ".."; }, messages::CoefficientAError},
        {[](ReportOptions& o) { o.Edit8 = ""; }, messages::CoefficientBError},
        {[](ReportOptions& o) { o.Edit9 = "1..2"; }, messages::CoefficientCError},
        {[](ReportOptions& o) { o.Edit11 = ","; }, messages::CoefficientDError},
        {[](ReportOptions& o) {
             o.ComboBoxText[2] = "01/02/2015";
             o.ComboBoxText[4] = "10";
             o.ComboBoxText[7] = "00";
             o.ComboBoxText[8] = "00";
         },
         messages::RangeError},
        {[](ReportOptions& o) { o.Edit2 = "/no/such/directory/"; }, messages::SaveDirectoryError},
        {[](ReportOptions& o) { o.Edit1 = "/no/such/file.txt"; },
         messages::FileMissing("/no/such/file.txt")},
        {[](ReportOptions& o) { o.Edit1 = "/tmp"; },
         messages::NotARegularFile("/tmp", files::FileKind::Directory)},
        {[](ReportOptions& o) { o.Edit1 = kDevice; },
         messages::NotARegularFile(kDevice, files::FileKind::CharacterDevice)},
        // Values the run cannot use, refused with their field's message.
        {[](ReportOptions& o) { o.Edit6 = "-1"; }, messages::SmoothingFieldError},
        {[](ReportOptions& o) { o.Edit6 = "-0,0001"; }, messages::SmoothingFieldError},
        {[](ReportOptions& o) { withMkt(o, "0"); }, messages::MktFieldError},
        {[](ReportOptions& o) { withMkt(o, "-5"); }, messages::MktFieldError},
        {[](ReportOptions& o) { withMkt(o, "1000,001"); }, messages::MktFieldError},
        {[](ReportOptions& o) { withMkt(o, "1e308"); }, messages::MktFieldError},
        // -2 · 1e308 is no double; 5e307 · 1.5 is, but adding 1.5e308 makes it none.
        {[](ReportOptions& o) { withChannels(o).Edit7 = "1e308"; }, messages::CoefficientAError},
        {[](ReportOptions& o) { withChannels(o).Edit8 = "1e309"; }, messages::CoefficientBError},
        {[](ReportOptions& o) {
             withChannels(o).Edit7 = "5e307";
             o.Edit8 = "1.5e308";
         },
         messages::CoefficientBError},
        {[](ReportOptions& o) { withChannels(o).Edit9 = "1e307"; }, messages::CoefficientCError},
        {[](ReportOptions& o) {
             withChannels(o).Edit9 = "1e306";
             o.Edit11 = "1,797e308";
         },
         messages::CoefficientDError},
    };
    for (const Case& c : cases) {
        ReportOptions o = options_;
        c.change(o);
        EXPECT_EQ(validate(o), std::optional<QString>(c.message)) << c.message.toStdString();
    }
}

// What the checks accept at their edges: ΔH up to 1000 and anything while the mean kinetic
// temperature is off, huge coefficients for values they keep finite, coefficients that only a
// sample outside the range would overflow, and any coefficient while no channel is included.
TEST_P(ReportValidationTest, ValuesTheRunCanUsePass) {
    const std::function<void(ReportOptions&)> accepted[] = {
        [](ReportOptions& o) { withMkt(o, "1000"); },
        [](ReportOptions& o) { withMkt(o, "0,001"); },
        [](ReportOptions& o) { o.Edit10 = "0"; },
        [](ReportOptions& o) { o.Edit6 = "0.0001"; },
        [](ReportOptions& o) { o.Edit6 = "0"; },
        [](ReportOptions& o) { o.Edit6 = "-0"; },
        [](ReportOptions& o) { withChannels(o).Edit7 = "8e307"; },
        // 1e400 is no double whatever a is: the run names its line, a is not to blame.
        [](ReportOptions& o) { withChannels(o).Edit7 = "2"; },
        [](ReportOptions& o) { withChannels(o).Edit8 = "1.79e308"; },
        [](ReportOptions& o) { withChannels(o).Edit9 = "1e10"; },
        [](ReportOptions& o) {
            o.Edit7 = "1e308";
            o.Edit9 = "1e308";
        },
    };
    for (const auto& change : accepted) {
        ReportOptions o = options_;
        change(o);
        EXPECT_EQ(validate(o), std::nullopt) << o.Edit10.toStdString();
    }
}

// A selection larger than the chart-data sheet is refused with both numbers; one sample fewer
// passes. The rows are one shared text, so the list costs little memory.
TEST_P(ReportValidationTest, SelectionLargerThanTheSheetIsRefused) {
    if (GetParam().decimal != ',') {
        GTEST_SKIP() << "counting samples does not depend on the system's separators";
    }
    withChannels(options_);
    const qsizetype capacity = automation::kMaxRows - 4;
    QStringList rows(capacity + 1, QStringLiteral("01/02/2015 10:00:00 - 1.5 °C"));
    data_.SampleRows = rows;
    data_.SampleLineNumbers.clear();
    for (qsizetype i = 0; i <= capacity; ++i) {
        data_.SampleLineNumbers.append(i + 1);
    }
    const auto message = validate(options_);
    EXPECT_EQ(message, messages::TooManySamples(capacity + 1, capacity));
    // Statistics write no sheet: the same selection passes, and so does a missing folder.
    options_.Edit2 = "/no/such/";
    EXPECT_EQ(ValidateReportOptions(options_, data_, ValidationPurpose::Statistics), std::nullopt);
    EXPECT_TRUE(message && message->contains(u"1\u00a0048\u00a0573") &&
                message->contains(u"1\u00a0048\u00a0572"))
        << message.value_or("").toStdString();
    options_.Edit2 = dir_.path() + '/';
    rows.removeLast();
    data_.SampleRows = rows;
    data_.SampleLineNumbers.removeLast();
    EXPECT_EQ(validate(options_), std::nullopt);
}

TEST_P(ReportValidationTest, TheFirstFailureInOrderWins) {
    options_.Edit11 = "x";
    options_.Edit6 = "2";
    options_.Edit2 = "/no/such/";
    EXPECT_EQ(validate(options_), messages::SmoothingFieldError);
    options_.ComboBoxText[1] = "";
    EXPECT_EQ(validate(options_), messages::DateFieldsError);
}

TEST_P(ReportValidationTest, NumbersPassWithEitherSeparator) {
    for (const char* k : {"0,5", "0.5", "1", ".25"}) {
        options_.Edit6 = k;
        options_.Edit10 = "83.14472";
        options_.Edit7 = "1,0001";
        EXPECT_EQ(validate(options_), std::nullopt) << k;
    }
}

TEST(ReadStepInSamples, OnlyWholeNumbersFromOne) {
    EXPECT_EQ(ReadStepInSamples("1"), 1);
    EXPECT_EQ(ReadStepInSamples(" 12 "), 12);
    EXPECT_EQ(ReadStepInSamples("007"), 7);
    for (const char* bad : {"0", "00", "", "-1", "+2", "1.0", "2,", "1e2", "9999999999"}) {
        EXPECT_EQ(ReadStepInSamples(bad), std::nullopt) << bad;
    }
}

}  // namespace
}  // namespace qorv
