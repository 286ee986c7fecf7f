#pragma once

#include <QString>
#include <QtGlobal>

// What an interrupted program leaves behind. A save writes under a hidden temporary name
// first; when the program is stopped by a signal (SIGTERM, SIGINT, SIGHUP) in the middle of
// one, that file is removed, the program's child processes are stopped, and the program ends
// with the status the signal gives (a shell shows 128 + its number).
//
//     files::CleanUpOnInterruption();           // once, at the start of main()
//     const QString temporary = TemporaryNameIn(folder);   // remembered until published
//
// The lists are kept in fixed memory that a signal handler may read. On systems without these
// signals (Windows) the calls do nothing; a console control handler would take their place.
namespace qorv::files {

// Installs the handlers for SIGTERM, SIGINT and SIGHUP.
void CleanUpOnInterruption();

// A temporary file to remove when the program is interrupted, until it is forgotten (published
// under its name, or removed). A name too long for the list is not kept.
void RememberTemporaryFile(const QString& name);
void ForgetTemporaryFile(const QString& name);

// A child process to stop (SIGTERM) when the program is interrupted.
void RememberChildProcess(qint64 processId);
void ForgetChildProcess(qint64 processId);

// This process' identifier, for EndWithParent in a child.
qint64 CurrentProcessId();

// Run in a new child process before it starts its program: the child ends (SIGTERM) when the
// process `parentId` ends, also when that one is killed outright; when the parent has ended
// already, the child ends at once. Linux only; elsewhere a child notices the end of its
// standard input.
void EndWithParent(qint64 parentId);

}  // namespace qorv::files
