#include "SavedAnimations.h"

#include "BoardArt.h"
#include "DataFolderWin.h"
#include "GameGif.h"
#include "GameRecord.h"
#include "GameUI.h"
#include "ListedGames.h"
#include "SafeFile.h"
#include "SavedGames.h"
#include "WinPath.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr char kWriteFailedText[] = "The animation could not be written to ";
constexpr DWORD kSaveFlags = OFN_NOCHANGEDIR | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
using PathBuffer = char[kMaxPathSize];

#ifdef CLANKMERE_9X

// The dialog's structure as Windows 95 knows it.
bool RunSaveDialog(HWND owner, PathBuffer& path) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "GIF pictures\0*.gif\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.Flags = kSaveFlags;
    dialog.lpstrDefExt = "gif";
    return GetSaveFileNameA(&dialog) != FALSE;
}

#else

bool RunSaveDialog(HWND owner, PathBuffer& path) {
    wchar_t file[MAX_PATH] = {};
    WidePath(path).copy(file, MAX_PATH - 1);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"GIF pictures\0*.gif\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.Flags = kSaveFlags;
    dialog.lpstrDefExt = L"gif";
    return GetSaveFileNameW(&dialog) && NarrowPath(file, path, sizeof path);
}

#endif

// "Clankmere 1520 2026-12-08.gif" in the saved-games folder: the score and the local date.
void SuggestAnimationPath(PathBuffer& path, int32_t score, int64_t date) {
    const std::time_t time = static_cast<std::time_t>(date);
    const std::tm* local = std::localtime(&time);
    char name[64] = {};
    if (local) {
        std::snprintf(name, sizeof name, "Clankmere %ld %04d-%02d-%02d.gif",
                      static_cast<long>(score), local->tm_year + 1900, local->tm_mon + 1,
                      local->tm_mday);
    } else {
        std::snprintf(name, sizeof name, "Clankmere %ld.gif", static_cast<long>(score));
    }
    BuildDataPath(path, kSavedGamesFolder, name);
}

// The pictures of the Graphics folder beside the program, read as the replay tool reads those
// beside itself, so that both write the same GIF.
BoardArt ProgramBoardArt() {
    const std::string folder = FindGraphicsFolder(GetProgramPath(g_host.UI().m_hInstance));
    return folder.empty() ? GeneratedBoardArt() : LoadBoardArt(folder);
}

bool WriteAnimation(const char* path, int64_t startTime, const char* moves,
                    CPreferencesSnapshot& settings) {
    const HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    const std::vector<uint8_t> gif =
        MakeGameGif(startTime, moves, &settings, ProgramBoardArt(), GifPart{});
    const bool written = WriteFileReplacing(path, gif.data(), gif.size());
    SetCursor(previous);
    return written;
}

// Asks where, starting from the suggested path, and writes the GIF there; a failed write is
// told in a note.
void ChooseAndWriteAnimation(HWND owner, PathBuffer& path, int64_t startTime, const char* moves,
                             CPreferencesSnapshot& settings) {
    g_host.ShowCursor();
    if (!RunSaveDialog(owner, path)) {
        return;
    }
    LowerCaseExtension(path);
    if (!WriteAnimation(path, startTime, moves, settings)) {
        g_host.ShowMessage((kWriteFailedText + std::string(path) + ".").c_str());
    }
}

void TakeSettings(const CPreferences2& prefs, CPreferencesSnapshot& settings) {
    uint8_t record[kPrefsRecordSize];
    prefs.WriteRecord(record);
    settings.Write(record);
}

} // namespace

const char* const kListedRecordGoneText = "The record of this game is missing or damaged.";

CPreferences2 ListedGameSettings() {
    CPreferences2 settings;
    settings.m_iconSet = g_game.m_prefs.m_iconSet;
    settings.m_gridStyle = g_game.m_prefs.m_gridStyle;
    settings.m_soundOn = g_game.m_prefs.m_soundOn;
    settings.SetPlayerName(g_game.m_prefs.m_playerName);
    return settings;
}

bool CanSaveGameAnimation(const CGame& game) {
    return game.m_moveLog && game.m_moveLogLength > 0;
}

void SaveGameAnimation() {
    if (!CanSaveGameAnimation(g_game)) {
        return;
    }
    CPreferencesSnapshot settings;
    TakeSettings(g_game.m_prefs, settings);
    const std::string moves = g_game.m_moveLog;
    PathBuffer path;
    SuggestAnimationPath(path, g_game.m_score,
                         g_game.m_gameOver ? g_game.m_endTime : g_host.CurrentTime());
    ChooseAndWriteAnimation(g_host.UI().m_hWnd, path, g_game.m_startTime, moves.c_str(), settings);
}

std::string ListedGameRecordPath(const HighScoreEntry& row) {
    PathBuffer folder;
    BuildDataPath(folder, kHighScoreGamesFolder, nullptr);
    return FindListedGameRecord(folder, row);
}

void SaveListedGameAnimation(HWND owner, const HighScoreEntry& row) {
    uint64_t startTime = 0;
    char* moves = LoadGameRecordFile(ListedGameRecordPath(row).c_str(), &startTime, nullptr);
    if (!moves) {
        g_host.ShowMessage(kListedRecordGoneText);
        return;
    }
    CPreferencesSnapshot settings;
    TakeSettings(ListedGameSettings(), settings);
    PathBuffer path;
    SuggestAnimationPath(path, row.score, row.date);
    ChooseAndWriteAnimation(owner, path, static_cast<int64_t>(startTime), moves, settings);
    std::free(moves);
}
