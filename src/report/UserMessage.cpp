#include "report/UserMessage.h"

#include "automation/AutomationError.h"
#include "files/CodePage1251.h"
#include "files/SafeSave.h"
#include "report/Messages.h"
#include "report/ReportError.h"

#include <new>

namespace qorv {

std::optional<QString> SourceFileRefusal(const QString& path, files::FileKind kind, int error) {
    if (kind == files::FileKind::Missing) {
        return error == ENOENT ? std::optional(messages::FileMissing(path)) : std::nullopt;
    }
    if (kind != files::FileKind::Regular) {
        return messages::NotARegularFile(path, kind);
    }
    return std::nullopt;
}

QString LoadFailureMessage(const FileReadError& error) {
    if (const auto refusal = SourceFileRefusal(error.path(), error.kind(), error.systemError())) {
        return *refusal;
    }
    const QString reason =
        error.systemError() != 0 ? messages::SystemErrorText(error.systemError()) : error.reason();
    return messages::FileReadFailed(error.path(), reason);
}

QString UserMessage(const std::exception& error) {
    if (const auto* report = dynamic_cast<const ReportError*>(&error)) {
        return report->message();
    }
    if (const auto* read = dynamic_cast<const FileReadError*>(&error)) {
        return LoadFailureMessage(*read);
    }
    if (const auto* automation = dynamic_cast<const automation::AutomationError*>(&error)) {
        if (automation->systemError() != 0) {
            return messages::FileWriteFailed(automation->path(),
                                             messages::SystemErrorText(automation->systemError()));
        }
        return automation->message();
    }
    if (const auto* file = dynamic_cast<const files::FileSystemError*>(&error)) {
        return messages::FileWriteFailed(file->name(), messages::SystemErrorText(file->error()));
    }
    if (dynamic_cast<const files::MissingCodePage*>(&error)) {
        return messages::MissingCodePage;
    }
    if (dynamic_cast<const std::bad_alloc*>(&error)) {
        return messages::OutOfMemory;
    }
    return messages::InternalError;
}

}  // namespace qorv
