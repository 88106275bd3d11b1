// The program's paths on Windows. The standard build holds them as UTF-8 and hands them to the
// system's wide-character calls, so that a profile or program folder named in any script works;
// the build for Windows 9x holds them in the ANSI code page and uses the ANSI calls, the only
// ones those systems have. The file calls live in SafeFileWin.cpp; the data folder and the file
// dialog convert with the functions below. Images and sounds are named in ASCII relative to the
// current directory, the program's folder, so the ANSI calls serve for them in both builds.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// GetFileAttributes of the path.
DWORD GetPathAttributes(const char* path);
bool SetCurrentFolder(const char* path);
// The full path of the program's executable; empty when it cannot be told.
std::string GetProgramPath(HINSTANCE hInstance);

#ifndef CLANKMERE_9X
// The wide form of a UTF-8 path; empty when it is not UTF-8.
std::wstring WidePath(const char* path);
// The UTF-8 form of a wide path into `out`; false (and `out` empty) when it does not fit.
bool NarrowPath(const wchar_t* path, char* out, size_t size);
#endif
