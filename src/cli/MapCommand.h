#pragma once

#include "report/MappingStudy.h"

#include <QJsonObject>
#include <QString>
#include <QTextStream>

namespace qorv::cli {

// `qorv-pr-report map [--json] [--pdf] [-o DIR] [--from T] [--to T] [--low X --high X]
// [--dh X] FILE...`: one mapping study over all the files.
struct MapRequest {
    bool json = false;  // print the study's figures instead of saving its workbook
    bool pdf = false;
    QString folder = QStringLiteral(".");
    MappingRequest study;
};

// The study's figures as the JSON object of `map --json`; the keys are documented in the
// README and stay stable.
QJsonObject MappingObject(const MappingStudy& study);

// Works out the study and saves its workbook (and its PDF copy), printing the saved paths; or,
// with --json, prints its figures. Returns the exit code: 0, or 1 when the study could not be
// made or saved, or its PDF copy could not be made.
int RunMap(const MapRequest& request, QTextStream& out, QTextStream& err);

}  // namespace qorv::cli
