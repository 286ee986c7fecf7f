#include "report/DateTimeText.h"
#include "report/Messages.h"
#include "report/ReportError.h"
#include "report/ReportValidation.h"

#include "LocaleTestSupport.h"

#include <QTemporaryDir>

#include <functional>

namespace qorv {
namespace {

using test::OnEachSystem;

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
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadDateTime(c.text), c.expected) << c.text;
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
                         "01/02/2015 10:0x:00"};
    for (const char* text : bad) {
        EXPECT_FALSE(TryReadDateTime(text).has_value()) << text;
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
    }

    QTemporaryDir dir_;
    QString file_;
    ReportOptions options_;
};
QORV_ON_EACH_SYSTEM(ReportValidationTest);

TEST_P(ReportValidationTest, DefaultsOfALoadedFilePass) {
    EXPECT_EQ(ValidateReportOptions(options_), std::nullopt);
    EXPECT_EQ(RangeStartText(options_), QString("01/02/2015 10:00:00"));
}

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
    };
    for (const Case& c : cases) {
        ReportOptions o = options_;
        c.change(o);
        EXPECT_EQ(ValidateReportOptions(o), std::optional<QString>(c.message))
            << c.message.toStdString();
    }
}

TEST_P(ReportValidationTest, TheFirstFailureInOrderWins) {
    options_.Edit11 = "x";
    options_.Edit6 = "2";
    options_.Edit2 = "/no/such/";
    EXPECT_EQ(ValidateReportOptions(options_), messages::SmoothingFieldError);
    options_.ComboBoxText[1] = "";
    EXPECT_EQ(ValidateReportOptions(options_), messages::DateFieldsError);
}

TEST_P(ReportValidationTest, NumbersPassWithEitherSeparator) {
    for (const char* k : {"0,5", "0.5", "1", "-3"}) {
        options_.Edit6 = k;
        options_.Edit10 = "83.14472";
        options_.Edit7 = "1,0001";
        EXPECT_EQ(ValidateReportOptions(options_), std::nullopt) << k;
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
