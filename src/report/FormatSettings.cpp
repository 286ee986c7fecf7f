#include "report/FormatSettings.h"

namespace qorv {

namespace {

QChar firstSeparator(const QString& format, QChar fallback) {
    for (QChar c : format) {
        if (!c.isLetter() && !c.isSpace()) {
            return c;
        }
    }
    return fallback;
}

}  // namespace

FormatSettings& FormatSettings::instance() {
    static FormatSettings settings;
    return settings;
}

FormatSettings::FormatSettings() : system_(QLocale::system()) {
    resetToSystem();
}

void FormatSettings::setSystemLocale(const QLocale& locale) {
    system_ = locale;
    resetToSystem();
}

QChar FormatSettings::decimalSeparatorOf(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    return point.isEmpty() ? QChar('.') : point.front();
}

QChar FormatSettings::dateSeparatorOf(const QLocale& locale) {
    return firstSeparator(locale.dateFormat(QLocale::ShortFormat), QChar('/'));
}

QChar FormatSettings::timeSeparatorOf(const QLocale& locale) {
    return firstSeparator(locale.timeFormat(QLocale::ShortFormat), QChar(':'));
}

void FormatSettings::resetToSystem() {
    decimalSeparator_ = decimalSeparatorOf(system_);
    dateSeparator_ = dateSeparatorOf(system_);
    timeSeparator_ = timeSeparatorOf(system_);
    shortDateFormat_ = system_.dateFormat(QLocale::ShortFormat);
    shortTimeFormat_ = system_.timeFormat(QLocale::ShortFormat);
    programConventions_ = false;
}

void FormatSettings::applyProgramConventions() {
    if (programConventions_) {
        return;
    }
    resetToSystem();
    dateSeparator_ = QChar('/');
    timeSeparator_ = QChar(':');
    shortDateFormat_ = QStringLiteral("dd/MM/yyyy");
    shortTimeFormat_ = QStringLiteral("HH:mm:ss");
    programConventions_ = true;
}

ScopedSystemLocale::ScopedSystemLocale(const QLocale& locale)
    : previous_(FormatSettings::instance().systemLocale()) {
    FormatSettings::instance().setSystemLocale(locale);
}

ScopedSystemLocale::~ScopedSystemLocale() {
    FormatSettings::instance().setSystemLocale(previous_);
}

}  // namespace qorv
