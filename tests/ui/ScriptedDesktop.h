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
        if (fileChoices.empty()) {
            return {};
        }
        QStringList files = fileChoices.front();
        fileChoices.pop_front();
        return files;
    }
    std::optional<QString> chooseDirectory(QWidget*, const QString& start) override {
        directoryDialogStarts.push_back(start);
        if (directoryChoices.empty()) {
            return std::nullopt;
        }
        std::optional<QString> choice = directoryChoices.front();
        directoryChoices.pop_front();
        return choice;
    }
    std::optional<QColor> chooseColor(QWidget*, const QColor& initial) override {
        colorDialogStarts.push_back(initial);
        if (colorChoices.empty()) {
            return std::nullopt;
        }
        std::optional<QColor> choice = colorChoices.front();
        colorChoices.pop_front();
        return choice;
    }
    void openWithDefaultHandler(const QString& path) override { opened.push_back(path); }

    // Answers, taken in order; an empty queue cancels.
    std::deque<QStringList> fileChoices;
    std::deque<std::optional<QString>> directoryChoices;
    std::deque<std::optional<QColor>> colorChoices;

    // What happened.
    QStringList messages;
    QStringList errors;
    QStringList opened;
    QStringList directoryDialogStarts;
    std::deque<QColor> colorDialogStarts;
};

}  // namespace qorv::ui::testing
