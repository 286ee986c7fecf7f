#pragma once

#include <QString>

// The two steps of a save that each system does its own way; used by SafeSave.cpp only.
namespace qorv::files::system {

// Gives `from` the name `to` unless a file has it: 0, EEXIST when the name is taken, or the
// system's error number.
int RenameWithoutReplacing(const QString& from, const QString& to);

// Makes the folder entry of `name` (a renamed file) reach the disk, where the system needs it.
void SyncFolderOf(const QString& name);

}  // namespace qorv::files::system
