#include "cli/WorkerProtocol.h"

#include "files/FileName.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace qorv::cli {

namespace {

QByteArray CarriedJson(const CarriedState& carried) {
    return QJsonDocument(CarriedStateToJson(carried)).toJson(QJsonDocument::Compact);
}

std::optional<CarriedState> ParseCarried(QByteArrayView json) {
    const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray());
    return document.isObject() ? CarriedStateFromJson(document.object()) : std::nullopt;
}

// The exit code as the tool writes it, digits only; anything else is read as 1.
int ParseExitCode(QByteArrayView text) {
    bool ok = false;
    const int code = text.toInt(&ok);
    return ok && QByteArray::number(code) == text ? code : 1;
}

}  // namespace

QByteArray WorkerInput::encode() const {
    QJsonArray encoded;
    for (const QString& argument : arguments) {
        encoded.append(QString::fromLatin1(files::EncodeFileName(argument).toBase64()));
    }
    const QJsonObject object{{QStringLiteral("arguments"), encoded},
                             {QStringLiteral("carried"), CarriedStateToJson(carried)}};
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::optional<WorkerInput> WorkerInput::decode(const QByteArray& line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const QJsonValue arguments = object.value(QStringLiteral("arguments"));
    const QJsonValue carried = object.value(QStringLiteral("carried"));
    if (!arguments.isArray() || !carried.isObject()) {
        return std::nullopt;
    }
    WorkerInput input;
    for (const QJsonValue& argument : arguments.toArray()) {
        if (!argument.isString()) {
            return std::nullopt;
        }
        const auto decoded = QByteArray::fromBase64Encoding(
            argument.toString().toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded) {
            return std::nullopt;
        }
        input.arguments << files::DecodeFileName(*decoded);
    }
    const auto state = CarriedStateFromJson(carried.toObject());
    if (!state) {
        return std::nullopt;
    }
    input.carried = *state;
    return input;
}

QByteArray WorkerMessage::encode() const {
    QByteArray line(1, kMark);
    switch (kind) {
        case Kind::Loaded:
            line += 'S' + CarriedJson(carried.value_or(CarriedState{}));
            break;
        case Kind::RunMayChangeState:
            line += 'W';
            break;
        case Kind::Ended:
            line += 'E' + QByteArray::number(exitCode);
            if (carried) {
                line += ' ' + CarriedJson(*carried);
            }
            break;
    }
    return line + '\n';
}

std::optional<WorkerMessage> WorkerMessage::decode(QByteArrayView line) {
    const char letter = line.size() > 1 ? line.at(1) : '\0';
    const QByteArrayView rest = line.size() > 2 ? line.sliced(2) : QByteArrayView();
    switch (letter) {
        case 'S':
            return WorkerMessage{Kind::Loaded, ParseCarried(rest)};
        case 'W':
            return WorkerMessage{Kind::RunMayChangeState};
        case 'E': {
            const qsizetype blank = rest.indexOf(' ');
            if (blank < 0) {
                return WorkerMessage{Kind::Ended, std::nullopt, ParseExitCode(rest)};
            }
            return WorkerMessage{Kind::Ended, ParseCarried(rest.sliced(blank + 1)),
                                 ParseExitCode(rest.first(blank))};
        }
        default:
            return std::nullopt;
    }
}

}  // namespace qorv::cli
