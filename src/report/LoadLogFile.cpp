#include "report/LoadLogFile.h"

#include "report/FormatSettings.h"

namespace qorv {

namespace {

// Applies the reader's events to the program-wide records, then passes them on.
class StateListener : public LoadListener {
  public:
    StateListener(ProgramState& state, const QString& path, LoadListener* observer)
        : state_(state), path_(path), observer_(observer) {}

    void prepareForLoad() override {
        FormatSettings::instance().applyProgramConventions();
        state_.chart.reset();
        state_.options.resetForLoad(path_);
        forward(&LoadListener::prepareForLoad);
    }
    void fileNameShown(const QString& path) override {
        state_.options.Edit1 = path;
        forward(&LoadListener::fileNameShown, path);
    }
    void windowTitleChanged(const QString& title) override {
        state_.options.Caption = title;
        forward(&LoadListener::windowTitleChanged, title);
    }
    void summaryRowAppended(const QString& row) override {
        state_.options.Memo2 << row;
        forward(&LoadListener::summaryRowAppended, row);
    }
    void channel2NameChanged(const QString& name) override {
        state_.options.Edit13 = name;
        forward(&LoadListener::channel2NameChanged, name);
    }

  private:
    template <typename... Args>
    void forward(void (LoadListener::*event)(Args...), const QString& value) {
        if (observer_) {
            (observer_->*event)(value);
        }
    }
    void forward(void (LoadListener::*event)()) {
        if (observer_) {
            (observer_->*event)();
        }
    }

    ProgramState& state_;
    QString path_;
    LoadListener* observer_;
};

}  // namespace

void LoadLogFile(ProgramState& state, const QString& path, LoadListener* observer) {
    StateListener listener(state, path, observer);
    PuskFile(state.data, state.summary, path, &listener);
    state.options.applyLoad(state.data, state.summary);
}

}  // namespace qorv
