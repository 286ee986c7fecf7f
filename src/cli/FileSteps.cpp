#include "cli/FileSteps.h"

#include "cli/CliMessages.h"
#include "cli/TerminalText.h"
#include "files/FileKind.h"
#include "files/FileName.h"
#include "report/Messages.h"
#include "report/UserMessage.h"

#include <algorithm>

namespace qorv::cli {

ProgramState StartState() {
    ProgramState state;
    state.options.Edit2 = files::CurrentDirectory() + '/';
    // Each file is loaded anew for its one report: a run need not keep its selection.
    state.keepsSelection = false;
    return state;
}

int ExitCodeOf(FileOutcome outcome) {
    return static_cast<int>(outcome);
}

FileOutcome OutcomeOfExitCode(int code) {
    for (const FileOutcome outcome : {FileOutcome::Done, FileOutcome::Refused}) {
        if (code == ExitCodeOf(outcome)) {
            return outcome;
        }
    }
    return FileOutcome::Failed;
}

std::optional<FileFailure> LoadStep(const QString& file, ProgramState& state, PathCheck check) {
    if (check != PathCheck::None) {
        int error = 0;
        const files::FileKind kind = files::KindOf(file, &error);
        if (check == PathCheck::MissingOrNotRegular || kind == files::FileKind::Missing) {
            if (auto refusal = SourceFileRefusal(file, kind, error)) {
                return FileFailure{FileOutcome::Refused, *std::move(refusal)};
            }
        }
    }
    try {
        LoadLogFile(state, files::AbsoluteFileName(file));
    } catch (const std::exception& e) {
        return FileFailure{FileOutcome::Failed, UserMessage(e)};
    }
    return std::nullopt;
}

void CommandOutcome::add(FileOutcome outcome) {
    worst = std::max(worst, outcome);
}

int CommandOutcome::finish(QTextStream& out, QTextStream& err) {
    if (outputError == 0) {
        outputError = FlushOutput(out);
    }
    if (outputError != 0) {
        err << messages::StandardOutputFailed(qorv::messages::SystemErrorText(outputError)) << '\n';
        err.flush();
        add(FileOutcome::Failed);
    }
    return ExitCodeOf(worst);
}

}  // namespace qorv::cli
