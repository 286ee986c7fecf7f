#pragma once

#include <QString>

#include <stdexcept>

namespace qorv {

// A failure that ends a report run (or a validation, or a load), carrying the text the user
// sees. what() holds the same text in UTF-8.
class ReportError : public std::runtime_error {
  public:
    explicit ReportError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

// A text that should have read as a number, date or time and did not.
class ConversionError : public ReportError {
  public:
    ConversionError(const QString& message, const QString& text)
        : ReportError(message), text_(text) {}
    // The offending text itself.
    const QString& text() const { return text_; }

  private:
    QString text_;
};

}  // namespace qorv
