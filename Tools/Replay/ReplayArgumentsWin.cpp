// The game names its files in UTF-8 on Windows, so that a folder named in any script works; the
// arguments are taken from the wide command line, since the ANSI code page cannot hold every
// name.
#include "ReplayArguments.h"
#include "WinPath.h"

#include <shellapi.h>
#include <windows.h>

#include <cstring>
#include <cwchar>

std::vector<std::string> ReplayArguments(int, char**) {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i) {
        // A UTF-8 character takes at most three bytes for each wide character.
        std::string utf8(3 * std::wcslen(wide[i]) + 1, '\0');
        NarrowPath(wide[i], utf8.data(), utf8.size());
        utf8.resize(std::strlen(utf8.c_str()));
        arguments.push_back(utf8);
    }
    LocalFree(wide);
    return arguments;
}
