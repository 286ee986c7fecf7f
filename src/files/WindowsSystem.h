#pragma once

// Names and error numbers at the edge of the Windows API, for the Windows side of this layer.
// <windows.h> stays out of this header: its macros (ReplaceFile, CreateFile, ...) would rename
// our own functions in every file that includes it.
#ifdef _WIN32

#include <QString>

#include <string>

namespace qorv::files::windows {

// The name as the wide-character API takes it: backslashes, and for a name near or past the
// 260-character limit the absolute "\\?\" form (or "\\?\UNC\" for a share), which that limit
// does not apply to.
std::wstring ApiName(const QString& name);

// The C library's error number for a Windows error code (GetLastError), so that the messages
// can name the reason as they do on every system.
int ErrnoFromWindowsError(unsigned long error);

// Whether the last part of `name` is one of the names Windows reserves for devices (CON, PRN,
// AUX, NUL, COM1-COM9, LPT1-LPT9), with or without an extension or trailing dots and blanks:
// such a name opens the device, whatever folder it is in.
bool IsReservedDeviceName(const QString& name);

}  // namespace qorv::files::windows

#endif
