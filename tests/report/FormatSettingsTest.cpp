#include "report/FormatSettings.h"

#include "LocaleTestSupport.h"

namespace qorv {
namespace {

using test::OnEachSystem;

class FormatSettingsTest : public OnEachSystem {};
QORV_ON_EACH_SYSTEM(FormatSettingsTest);

TEST_P(FormatSettingsTest, SystemSettingsComeFromTheLocale) {
    const FormatSettings& s = FormatSettings::instance();
    EXPECT_EQ(s.decimalSeparator(), QChar(GetParam().decimal));
    EXPECT_EQ(s.dateSeparator(), QChar(GetParam().date));
    EXPECT_EQ(s.timeSeparator(), QChar(':'));
}

TEST_P(FormatSettingsTest, ProgramConventionsKeepTheDecimalSeparator) {
    FormatSettings& s = FormatSettings::instance();
    s.applyProgramConventions();
    EXPECT_EQ(s.dateSeparator(), QChar('/'));
    EXPECT_EQ(s.timeSeparator(), QChar(':'));
    EXPECT_EQ(s.shortDateFormat(), QString("dd/MM/yyyy"));
    EXPECT_EQ(s.decimalSeparator(), QChar(GetParam().decimal));

    s.resetToSystem();
    EXPECT_EQ(s.dateSeparator(), QChar(GetParam().date));
}

TEST(FormatSettings, DateSeparatorIsTheFirstNonLetterOfTheShortFormat) {
    EXPECT_EQ(FormatSettings::dateSeparatorOf(QLocale(QLocale::German, QLocale::Germany)),
              QChar('.'));
    EXPECT_EQ(FormatSettings::dateSeparatorOf(QLocale(QLocale::Dutch, QLocale::Netherlands)),
              QChar('-'));
    EXPECT_EQ(FormatSettings::decimalSeparatorOf(QLocale(QLocale::German, QLocale::Germany)),
              QChar(','));
}

}  // namespace
}  // namespace qorv
