#pragma once

#include "ui/Desktop.h"

#include <QColor>
#include <QString>
#include <QStringList>

#include <deque>
#include <optional>

namespace qorv::ui::testing {

// A desktop whose dialogs answer from queues the test fills and which records every message and
// every "open with the default handler" instead of showing or opening anything.
class ScriptedDesktop : public Desktop {
  public:
    void showMessage(QWidget*, const QString& text) override { messages.push_back(text); }
    void showError(QWidget*, const QString& text) override { errors.push_back(text); }
    QStringList chooseLoggerFiles(QWidget*, const QString&) override {
        return next(fileChoices).value_or(QStringList());
    }
    std::optional<QString> chooseDirectory(QWidget*, const QString& start) override {
        directoryDialogStarts.push_back(start);
        return next(directoryChoices);
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        colorDialogStarts.push_back(initial);
        return next(colorChoices);
    }
    void openWithDefaultHandler(const QString& path) override { opened.push_back(path); }

    // Answers, taken in order; an empty queue cancels.
    std::deque<std::optional<QStringList>> fileChoices;
    std::deque<std::optional<QString>> directoryChoices;
    std::deque<std::optional<QColor>> colorChoices;

    // What happened.
    QStringList messages;
    QStringList errors;
    QStringList opened;
    QStringList directoryDialogStarts;
    std::deque<QColor> colorDialogStarts;

  private:
    // The next answer of a queue; nothing (a cancel) when it is empty.
    template <typename T>
    static std::optional<T> next(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<T> answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace qorv::ui::testing
