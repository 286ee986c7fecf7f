#pragma once

#include <QChar>
#include <QLocale>
#include <QString>

namespace qorv {

// The process-wide date, time and number settings that every load, validation and report run
// works with. They start as the system's (read from the system locale, which tests replace),
// and two operations switch them: "apply the program's conventions" ('/' dates in
// day/month/year order, ':' times) and "reset to the system's". The decimal separator is the
// system's in both.
//
//     FormatSettings::instance().applyProgramConventions();   // before reading range fields
//     QChar sep = FormatSettings::instance().dateSeparator();  // '/'
class FormatSettings {
  public:
    static FormatSettings& instance();

    // Replaces the system locale the settings are read from (tests inject ru_RU, en_US, C);
    // the settings are reset to the new system's at once.
    void setSystemLocale(const QLocale& locale);
    const QLocale& systemLocale() const { return system_; }

    void resetToSystem();
    // Writes nothing when the conventions already stand, so threads that each apply them (a
    // load, a statistics pass) only read the settings once one thread has applied them.
    void applyProgramConventions();

    QChar decimalSeparator() const { return decimalSeparator_; }
    QChar dateSeparator() const { return dateSeparator_; }
    QChar timeSeparator() const { return timeSeparator_; }
    const QString& shortDateFormat() const { return shortDateFormat_; }
    const QString& shortTimeFormat() const { return shortTimeFormat_; }

    // The separators a locale's short formats use: the first character that is neither a letter
    // nor a blank; '/' for dates and ':' for times where the format has none.
    static QChar decimalSeparatorOf(const QLocale& locale);
    static QChar dateSeparatorOf(const QLocale& locale);
    static QChar timeSeparatorOf(const QLocale& locale);

  private:
    FormatSettings();

    QLocale system_;
    QChar decimalSeparator_;
    QChar dateSeparator_;
    QChar timeSeparator_;
    QString shortDateFormat_;
    QString shortTimeFormat_;
    bool programConventions_ = false;  // set by applyProgramConventions, cleared by a reset
};

// Sets the system locale for the lifetime of a scope and restores the previous one after it;
// for tests and for front ends that take a locale from the command line.
class ScopedSystemLocale {
  public:
    explicit ScopedSystemLocale(const QLocale& locale);
    ~ScopedSystemLocale();
    ScopedSystemLocale(const ScopedSystemLocale&) = delete;
    ScopedSystemLocale& operator=(const ScopedSystemLocale&) = delete;

  private:
    QLocale previous_;
};

}  // namespace qorv
