#pragma once

#include "report/FormatSettings.h"

#include <QLocale>
#include <QString>

#include <gtest/gtest.h>

namespace qorv::test {

// The systems every separator-dependent rule is checked on: a comma system and point systems.
struct SystemLocaleCase {
    const char* name;
    QLocale::Language language;
    QLocale::Territory territory;
    char decimal;
    char date;
};

inline const SystemLocaleCase kCommaSystem{"ru_RU", QLocale::Russian, QLocale::Russia, ',', '.'};
inline const SystemLocaleCase kPointSystem{"en_US", QLocale::English, QLocale::UnitedStates, '.',
                                           '/'};
inline const SystemLocaleCase kCSystem{"C", QLocale::C, QLocale::AnyTerritory, '.', '/'};

inline QLocale localeOf(const SystemLocaleCase& c) {
    return c.language == QLocale::C ? QLocale::c() : QLocale(c.language, c.territory);
}

// A test fixture parameterised by the system locale; the process-wide format settings are
// switched to it for the test's duration.
class OnEachSystem : public ::testing::TestWithParam<SystemLocaleCase> {
  protected:
    void SetUp() override { scope_ = std::make_unique<ScopedSystemLocale>(localeOf(GetParam())); }
    void TearDown() override { scope_.reset(); }
    // Replaces '.' by the system's decimal separator in an expected text.
    static QString local(const char* text) {
        return QString::fromUtf8(text).replace('.', QChar(GetParam().decimal));
    }

  private:
    std::unique_ptr<ScopedSystemLocale> scope_;
};

inline std::string systemName(const ::testing::TestParamInfo<SystemLocaleCase>& info) {
    return info.param.name;
}

#define QORV_ON_EACH_SYSTEM(Suite)                                                \
    INSTANTIATE_TEST_SUITE_P(                                                     \
        Systems, Suite,                                                           \
        ::testing::Values(::qorv::test::kCommaSystem, ::qorv::test::kPointSystem, \
                          ::qorv::test::kCSystem),                                \
        ::qorv::test::systemName)

}  // namespace qorv::test

// Lets gtest print QStrings in failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE
