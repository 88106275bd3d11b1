#include "SavedGames.h"

#include "DataFolderWin.h"
#include "GameRecord.h"
#include "GameUI.h"
#include "PlatformDescription.h"
#include "SafeFile.h"
#include "TextUtil.h"
#include "WinPath.h"

#include <windows.h>

#include <cderr.h>
#include <commdlg.h>

#include <cstdio>
#include <cstdlib>

const char* const kSavedGamesFolder = "Saved Games";

namespace {

constexpr char kSavedGameFileName[] = "Saved Game.txt";
constexpr char kLastGameFileName[] = "Last Game.txt";
constexpr char kFirstSuggestedFileName[] = "My Saved Game.txt";
constexpr char kPreferencesKey[] = "Software\\Clankmere\\Preferences";
constexpr char kSavedGamesLocationValue[] = "Saved Games Location";
constexpr DWORD kTextFilesFilter = 2;
constexpr size_t kRecordPlatformSize = 80;
constexpr size_t kPlatformMessageSize = 256;
using PathBuffer = char[kMaxPathSize];
// The dialog makes the folder the player goes to the current one, and the pictures, the sounds
// and the 9x build's data folder are found from the current folder that start-up chose. The
// flag keeps it; as it is documented to have no effect on this dialog in Windows NT 4.0 to XP,
// the dialog's caller puts the folder back as well.
constexpr DWORD kKeepCurrentFolder = OFN_NOCHANGEDIR;

#ifdef CLANKMERE_9X

// Windows 9x and NT 4.0 refuse the dialog's longer structure of later systems.
const DWORD kOpenFileNameSize = OPENFILENAME_SIZE_VERSION_400A;

LONG QueryPathValue(HKEY hKey, const char* name, DWORD* type, PathBuffer& path) {
    DWORD size = sizeof path - 1;
    const LONG result =
        RegQueryValueExA(hKey, name, nullptr, type, reinterpret_cast<BYTE*>(path), &size);
    path[result == ERROR_SUCCESS ? size : 0] = '\0';
    return result;
}

void SetPathValue(HKEY hKey, const char* name, const char* path) {
    RegSetValueExA(hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                   static_cast<DWORD>(lstrlenA(path) + 1));
}

// The system's open-file dialog with the record files' filter; true when a file was chosen.
bool RunFileDialog(HWND owner, PathBuffer& path, DWORD flags, const char* defaultExt) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = kOpenFileNameSize;
    dialog.hwndOwner = owner;
    // Pairs of a name and a pattern, ended by an empty name.
    dialog.lpstrFilter = "All Files\0*.*\0Text Files\0*.TXT\0";
    dialog.nFilterIndex = kTextFilesFilter;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = flags | kKeepCurrentFolder;
    dialog.lpstrDefExt = defaultExt;
    char folder[MAX_PATH] = {};
    const DWORD kept = GetCurrentDirectoryA(MAX_PATH, folder);
    const bool chosen = GetOpenFileNameA(&dialog) != FALSE;
    if (kept > 0 && kept < MAX_PATH) {
        SetCurrentDirectoryA(folder);
    }
    return chosen;
}

#else

LONG QueryPathValue(HKEY hKey, const char* name, DWORD* type, PathBuffer& path) {
    wchar_t wide[MAX_PATH] = {};
    DWORD size = sizeof wide - sizeof(wchar_t);
    const LONG result = RegQueryValueExW(hKey, WidePath(name).c_str(), nullptr, type,
                                         reinterpret_cast<BYTE*>(wide), &size);
    return result == ERROR_SUCCESS && !NarrowPath(wide, path, sizeof path) ? ERROR_MORE_DATA
                                                                           : result;
}

void SetPathValue(HKEY hKey, const char* name, const char* path) {
    const std::wstring wide = WidePath(path);
    RegSetValueExW(hKey, WidePath(name).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(wide.c_str()),
                   static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t)));
}

bool RunFileDialog(HWND owner, PathBuffer& path, DWORD flags, const char* defaultExt) {
    wchar_t file[MAX_PATH] = {};
    const std::wstring suggested = WidePath(path);
    suggested.copy(file, MAX_PATH - 1);
    const std::wstring extension = defaultExt ? WidePath(defaultExt) : std::wstring();
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"All Files\0*.*\0Text Files\0*.TXT\0";
    dialog.nFilterIndex = kTextFilesFilter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = flags | kKeepCurrentFolder;
    dialog.lpstrDefExt = defaultExt ? extension.c_str() : nullptr;
    wchar_t folder[MAX_PATH] = {};
    const DWORD kept = GetCurrentDirectoryW(MAX_PATH, folder);
    const bool chosen = GetOpenFileNameW(&dialog) != FALSE;
    if (kept > 0 && kept < MAX_PATH) {
        SetCurrentDirectoryW(folder);
    }
    return chosen && NarrowPath(file, path, sizeof path);
}

#endif

// The file chosen last in the Save or Open dialog; false when none is stored.
bool ReadSavedGamesLocation(PathBuffer& path) {
    HKEY hKey = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPreferencesKey, 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS) {
        return false;
    }
    DWORD type = 0;
    const LONG result = QueryPathValue(hKey, kSavedGamesLocationValue, &type, path);
    RegCloseKey(hKey);
    return result == ERROR_SUCCESS && type == REG_SZ;
}

void StoreSavedGamesLocation(const char* path) {
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kPreferencesKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &hKey, nullptr) != ERROR_SUCCESS) {
        return;
    }
    SetPathValue(hKey, kSavedGamesLocationValue, path);
    RegCloseKey(hKey);
}

void SuggestFirstSavedGame(PathBuffer& path) {
    BuildDataPath(path, kSavedGamesFolder, kFirstSuggestedFileName);
}

// Runs the system's file dialog over the main window, starting from `path`; true when the
// player chose a file, which is then in `path`.
bool ShowRecordFileDialog(CGameUI& context, PathBuffer& path, DWORD flags, const char* defaultExt) {
    context.ShowCursor();
    if (RunFileDialog(context.m_hWnd, path, flags, defaultExt)) {
        return true;
    }
    // A stored name the dialog refuses would keep both commands from ever opening again.
    if (CommDlgExtendedError() != FNERR_INVALIDFILENAME) {
        return false;
    }
    SuggestFirstSavedGame(path);
    return RunFileDialog(context.m_hWnd, path, flags, defaultExt);
}

// The dialog suggests the file chosen last, or "My Saved Game.txt" in the data folder.
bool ChooseRecordFile(CGameUI& context, PathBuffer& path, DWORD flags, const char* defaultExt) {
    if (!ReadSavedGamesLocation(path)) {
        SuggestFirstSavedGame(path);
    }
    return ShowRecordFileDialog(context, path, flags, defaultExt);
}

const char* MovesOf(const CGame& game) {
    return game.m_moveLog ? game.m_moveLog : "";
}

bool WriteGameRecordOf(const CGame& game, const char* path) {
    return WriteGameRecord(path, static_cast<uint64_t>(game.m_startTime),
                           static_cast<uint32_t>(game.m_score), MovesOf(game));
}

// The player asked for this file: a Save that did not happen must not pass for one that did.
void ReportUnsavedGame(const char* path) {
    char text[kMaxPathSize + 256];
    std::snprintf(text, sizeof text,
                  "The game could not be saved to \"%s\". The file may be read-only or open in "
                  "another program, or the folder may not accept new files.",
                  path);
    g_host.ShowMessage(text);
}

// Starts the stored game and replays it; false when the file holds no record.
bool RestoreGameRecordFile(const char* path, bool deleteFile) {
    uint64_t startTime = 0;
    char* moves = LoadGameRecordFile(path, &startTime, nullptr);
    if (!moves) {
        return false;
    }
    if (deleteFile) {
        RemoveNamedFile(path);
    }
    NewGame(g_game, static_cast<int64_t>(startTime), moves, true);
    std::free(moves);
    return true;
}

void WriteDataFileRecord(const char* fileName, uint64_t startTime, uint32_t score,
                         const char* moves) {
    char path[kMaxPathSize];
    BuildDataPath(path, nullptr, fileName);
    WriteGameRecord(path, startTime, score, moves);
}

} // namespace

bool WriteGameRecord(const char* path, uint64_t startTime, uint32_t score, const char* moves) {
    char platform[kRecordPlatformSize];
    GetPlatformDescription(platform, sizeof platform);
    return WriteGameRecord(path, startTime, score, platform, moves);
}

void ResumeSavedGame() {
    char path[kMaxPathSize];
    BuildDataPath(path, nullptr, kSavedGameFileName);
    if (!RestoreGameRecordFile(path, true)) {
        NewGame(g_game, 0, nullptr, false);
    }
}

void SaveGameAs(CGameUI& context) {
    char path[kMaxPathSize];
    if (!ChooseRecordFile(context, path, 0, "txt")) {
        return;
    }
    LowerCaseExtension(path);
    if (!WriteGameRecordOf(g_game, path)) {
        ReportUnsavedGame(path);
    }
    StoreSavedGamesLocation(path);
}

void OpenSavedGame(CGameUI& context) {
    char path[kMaxPathSize];
    if (!ChooseRecordFile(context, path, OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST, nullptr)) {
        return;
    }
    // A file that holds no record is ignored, but it is still the place to suggest next time.
    RestoreGameRecordFile(path, false);
    StoreSavedGamesLocation(path);
}

void CWinGameHost::WriteLastGameRecord(uint64_t startTime, uint32_t score, const char* moves) {
    WriteDataFileRecord(kLastGameFileName, startTime, score, moves);
}

void CWinGameHost::SaveGameInProgress(uint64_t startTime, uint32_t score, const char* moves) {
    if (moves && moves[0] != '\0') {
        WriteDataFileRecord(kSavedGameFileName, startTime, score, moves);
    }
}

void CWinGameHost::ShowPlatformDescription() {
    char description[kPlatformMessageSize];
    GetPlatformDescription(description, sizeof description);
    m_ui.ShowCursor();
    ShowMessage(description);
}
