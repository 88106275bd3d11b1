#include "Automation.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// What the game returns after a normal quit.
constexpr DWORD kQuitExitCode = 1;

struct WindowSearch {
    DWORD pid;
    const char* className;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->pid && std::strcmp(className, search->className) == 0 &&
        (!search->visibleOnly || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// One look at the list of top-level windows: polling FindWindowEx by class name instead
// delays the game's start under Wine by some 50 ms.
HWND FindWindowOf(DWORD pid, const char* className, bool visibleOnly) {
    WindowSearch search = {pid, className, visibleOnly, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Wine now and then fails to start a process (error 1359, an internal error).
constexpr int kStartAttempts = 3;

// True once the process has written a whole line to `output`.
bool ReadLine(HANDLE output) {
    char c = '\0';
    DWORD read = 0;
    while (c != '\n' && ReadFile(output, &c, 1, &read, nullptr) && read == 1) {
    }
    return c == '\n';
}

// Terminates the process if it still runs, and lets go of it.
void EndProcess(const PROCESS_INFORMATION& process) {
    TerminateProcess(process.hProcess, 99);
    WaitForSingleObject(process.hProcess, kPatienceMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace

Game::Game(const Installation& installation)
    : Game(installation.gamePath, installation.installDir) {}

Game::Game(const std::string& programPath, const std::string& startDir)
    : m_installDir(programPath.substr(0, programPath.find_last_of("\\/"))) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string commandLine = "\"" + programPath + "\"";
    if (!CreateProcessA(programPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, startDir.c_str(), &startup, &m_process)) {
        Fail("cannot start %s (error %lu)", programPath.c_str(), GetLastError());
    }
}

Game::~Game() {
    m_probe.reset();
    EndProcess(m_process);
}

bool Game::IsRunning() const {
    return WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

void Game::Kill() {
    if (!IsRunning()) {
        Fail("the game had ended before it was to be terminated");
    }
    TerminateProcess(m_process.hProcess, 1);
    WaitForExit("after TerminateProcess");
}

DWORD Game::WaitForExit(const std::string& after) {
    if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        Fail("%s the game is still running", after.c_str());
    }
    DWORD code = 0;
    GetExitCodeProcess(m_process.hProcess, &code);
    return code;
}

HWND Game::FindMainWindow() const {
    return FindWindowOf(m_process.dwProcessId, "Clankmere", false);
}

HWND Game::WaitForMainWindow() {
    if (!WaitUntil([this] {
            m_mainWindow = FindMainWindow();
            return m_mainWindow && IsWindowVisible(m_mainWindow);
        })) {
        if (HWND box = FindMessageBox()) {
            Fail("the main window did not appear; a box \"%s\" says \"%s\"", TextOf(box).c_str(),
                 TextOf(GetDlgItem(box, 0xFFFF)).c_str());
        }
        Fail(IsRunning() ? "the main window did not appear" : "the game ended without a window");
    }
    return m_mainWindow;
}

HWND Game::WaitForMainWindowPastNotes() {
    WaitUntil([this] {
        const HWND box = FindMessageBox();
        if (box && TextOf(box) == "Message") {
            Dismiss({box, "Message", ""});
        }
        return IsWindowVisible(FindMainWindow()) != FALSE;
    });
    return WaitForMainWindow();
}

HWND Game::FindMessageBox() const {
    return FindWindowOf(m_process.dwProcessId, "#32770", true);
}

MessageBoxSeen Game::WaitForMessageBox(const std::string& when) {
    MessageBoxSeen box;
    if (!WaitUntil([&] { return (box.window = FindMessageBox()) != nullptr; })) {
        Fail("%s no message box appeared", when.c_str());
    }
    box.caption = TextOf(box.window);
    // A message box keeps its text in a static control with the identifier 0xFFFF.
    box.text = TextOf(GetDlgItem(box.window, 0xFFFF));
    return box;
}

void Game::Dismiss(const MessageBoxSeen& box) {
    BringToFront(box.window, "the message box");
    PressKey(VK_RETURN);
    if (!WaitUntil([&] { return !IsWindow(box.window); })) {
        Fail("the message box \"%s\" did not close on Enter", box.caption.c_str());
    }
}

HWND Game::MainWindow() {
    return m_mainWindow ? m_mainWindow : WaitForMainWindow();
}

void Game::Focus() {
    BringToFront(MainWindow(), "the main window");
}

void Game::Press(WORD vk, unsigned modifiers) {
    Focus();
    PressKey(vk, modifiers);
}

void Game::Command(WORD vk, unsigned modifiers, const std::string& what) {
    const LONG before = Probe().CommandsDone();
    Press(vk, modifiers);
    if (!WaitUntil([&] { return Probe().CommandsDone() > before; })) {
        Fail("%s: the main window never finished handling a command", what.c_str());
    }
}

void Game::CheckOnlyCommandSince(LONG mark, int command, const std::string& what) {
    std::vector<int> commands;
    const auto contains = [&] {
        commands = Probe().CommandsSince(mark);
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    };
    std::string handled;
    if (!WaitUntil(contains) || commands.size() != 1) {
        for (const int id : commands) {
            handled += Format(" %d", id);
        }
        Fail("%s: the main window handled the commands {%s } instead of only %d", what.c_str(),
             handled.c_str(), command);
    }
}

ProbeClient& Game::Probe() {
    if (!m_probe) {
        m_probe = std::make_unique<ProbeClient>(m_process.hProcess, m_process.dwProcessId,
                                                WaitForMainWindow());
    }
    return *m_probe;
}

Picture Game::Capture() {
    return CaptureClient(MainWindow());
}

namespace {

// Empty when `shown` holds the board of `position`, at its whole-number scale with every pixel
// an exact block.
std::string ShownBoardDifference(const Picture& shown, const Position& position,
                                 const Picture& sheet, CellsFrom from, const Backdrop& backdrop) {
    // A window of twice the size or more shows each pixel as a block.
    const int scale = std::max(1, shown.width / kClientWidth);
    Picture frame = shown;
    const std::string difference = scale > 1 ? ShrinkBlocks(shown, scale, &frame) : "";
    return difference.empty() ? FirstBoardDifference(ComposeBoard(position, sheet, backdrop), frame,
                                                     &position, from)
                              : difference;
}

} // namespace

void Game::WaitForBoard(const Position& position, const Picture& sheet, const std::string& when,
                        CellsFrom from, const Backdrop& backdrop) {
    std::string difference;
    Picture shown;
    if (!WaitUntil([&] {
            shown = Capture();
            difference = ShownBoardDifference(shown, position, sheet, from, backdrop);
            return difference.empty();
        })) {
        SavePicture(shown, m_installDir.substr(0, m_installDir.find_last_of("\\/") + 1) +
                               "board-at-failure.bmp");
        Fail("%s: %s", when.c_str(), difference.c_str());
    }
}

namespace {

// Where the game draws the status line's texts: the strip under the board, less 10 pixels on
// either side.
constexpr RECT kStatusTextRect = {10, kBoardHeight, kClientWidth - 10, kClientHeight};

// The last `count` texts of `texts` drawn into the status line, as StatusLineOf gives them.
std::string LatestStatusTexts(const std::vector<DrawnText>& texts, size_t count) {
    std::vector<std::string> shown;
    for (const DrawnText& text : texts) {
        if (EqualRect(&text.rect, &kStatusTextRect)) {
            const char* alignment = (text.format & DT_RIGHT)    ? "right"
                                    : (text.format & DT_CENTER) ? "centre"
                                                                : "left";
            shown.push_back(Format("%s %s", alignment, text.text));
        }
    }
    std::string line;
    for (size_t i = shown.size() - std::min(count, shown.size()); i < shown.size(); ++i) {
        line += (line.empty() ? "" : " / ") + shown[i];
    }
    return line.empty() ? "nothing" : line;
}

} // namespace

void Game::WaitForStatusLine(const std::string& expected, const std::string& when) {
    size_t count = 1;
    for (size_t at = expected.find(" / "); at != expected.npos; at = expected.find(" / ", at + 1)) {
        ++count;
    }
    std::string shown;
    if (!WaitUntil(
            [&] { return (shown = LatestStatusTexts(Probe().TextsDrawn(), count)) == expected; })) {
        Fail("%s the status line shows \"%s\" instead of \"%s\"", when.c_str(), shown.c_str(),
             expected.c_str());
    }
}

size_t Game::WaitForBoardOf(const RecordedGame& recorded, const Picture& sheet,
                            const std::string& when) {
    std::vector<Position> positions;
    for (size_t length = 0; length <= recorded.Record().moves.size(); ++length) {
        positions.push_back(recorded.PositionAfter(length));
    }
    size_t length = 0;
    const bool found = WaitUntil([&] {
        const Picture shown = WaitForSteadyPicture(MainWindow());
        for (length = 0; length < positions.size(); ++length) {
            if (ShownBoardDifference(shown, positions[length], sheet, {}, {}).empty()) {
                return true;
            }
        }
        return false;
    });
    if (!found) {
        Fail("%s the board shows none of the positions of the record", when.c_str());
    }
    return length;
}

void Game::WaitForStatusLineStarting(const std::string& prefix, const std::string& when,
                                     DWORD timeoutMs) {
    std::string shown;
    if (!WaitUntil(
            [&] {
                return (shown = LatestStatusTexts(Probe().TextsDrawn(), 1)).rfind(prefix, 0) == 0;
            },
            timeoutMs)) {
        Fail("%s the status line shows \"%s\" instead of \"%s...\"", when.c_str(), shown.c_str(),
             prefix.c_str());
    }
}

POINT Game::FindFramePoint(LRESULT area, const char* what) {
    RECT frame = {};
    GetWindowRect(MainWindow(), &frame);
    // Corners on the diagonal into the frame; caption buttons on the caption's middle row,
    // from the right.
    std::vector<POINT> candidates;
    for (LONG d = 0; d < 8; ++d) {
        candidates.push_back({frame.right - 1 - d, frame.bottom - 1 - d});
    }
    const LONG captionRow =
        frame.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2;
    for (LONG x = frame.right - 1; x >= frame.left; --x) {
        candidates.push_back({x, captionRow});
    }
    for (const POINT point : candidates) {
        if (SendPromptly(WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) == area) {
            return point;
        }
    }
    Fail("the main window has no %s", what);
}

LRESULT Game::SendPromptly(UINT message, WPARAM wParam, LPARAM lParam) {
    // Between inputs the game waits for posted messages and input only, so a sent message
    // alone would wait for its next idle second; a posted WM_NULL wakes it up.
    for (;;) {
        PostMessageA(m_mainWindow, WM_NULL, 0, 0);
        DWORD_PTR result = 0;
        if (SendMessageTimeoutA(m_mainWindow, message, wParam, lParam, SMTO_NORMAL, 100, &result)) {
            return static_cast<LRESULT>(result);
        }
        if (!IsRunning()) {
            Fail("the game ended while the driver asked its main window something");
        }
    }
}

void CheckQuitCode(Game& game, const std::string& how) {
    const DWORD code = game.WaitForExit("after " + how);
    if (code != kQuitExitCode) {
        Fail("after %s the game exited with %lu instead of %lu", how.c_str(), code, kQuitExitCode);
    }
}

void PrepareResume(const Installation& installation, const RecordedGame& recorded, size_t length) {
    DeleteFileA((installation.installDir + "\\Graphics\\Wallpaper.bmp").c_str());
    StoreDefaultPreferences();
    WriteGameRecord(DataFilePath("Saved Game.txt"), recorded.Prefix(length));
}

std::string PrepareWin9x(const Installation& installation) {
    DeleteFileA((installation.installDir + "\\Graphics\\Wallpaper.bmp").c_str());
    StoreDefaultPreferences();
    StoreReportedVersion("Clankmere9x.exe", "win98");
    return installation.installDir + "\\Clankmere9x.exe";
}

Picture SpriteSheetOf(const Installation& installation) {
    return LoadSpriteSheet(installation.installDir, installation.gamePath);
}

std::string TextOf(HWND window) {
    char text[512] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

void QuitWithQ(Game& game) {
    game.Press('Q');
    CheckQuitCode(game, "Q");
}

namespace {

size_t Resume(const Installation& installation, const RecordedGame& recorded,
              std::optional<size_t> length, const PreferencesRecord* preferences) {
    const size_t resumed = length.value_or(recorded.FirstPlayedMove());
    PrepareResume(installation, recorded, resumed);
    if (preferences) {
        StorePreferences(*preferences);
    }
    return resumed;
}

} // namespace

ResumedGame::ResumedGame(const Installation& installation, const std::string& name,
                         std::optional<size_t> length, const PreferencesRecord* preferences)
    : recorded(installation, name), moves(recorded.Record().moves),
      resumed(Resume(installation, recorded, length, preferences)),
      sheet(SpriteSheetOf(installation)), game(installation) {
    WaitForBoardAfter(resumed, "after resuming the game");
}

void ResumedGame::WaitForBoardAfter(size_t length, const std::string& when) {
    game.WaitForBoard(recorded.PositionAfter(length), sheet, when);
}

void Game::ToggleAdvancedOption(int control) {
    const MenuDialog dialog = OpenFromMenu(IDM_ADVANCED_OPTIONS, "Advanced Options");
    Click(dialog.window, control);
    Click(dialog.window, IDOK);
    WaitForCommandEnd(dialog, "after OK in Advanced Options");
}

POINT Game::CellOnScreen(POINT cell, int scale) {
    POINT at = {(2 * cell.x + 1) * kCellPixels * scale / 2,
                (2 * cell.y + 1) * kCellPixels * scale / 2};
    ClientToScreen(MainWindow(), &at);
    return at;
}

std::string WaitsOfKeys(const Installation& installation, const char* name,
                        const Settings& settings, const std::vector<WORD>& keys) {
    PreferencesRecord preferences = DefaultPreferences();
    PutFields(preferences, settings);
    ResumedGame resumed(installation, name, {}, &preferences);
    ProbeClient& probe = resumed.game.Probe();
    probe.StopClock();
    const LONG mark = probe.WaitsLogged();
    for (const WORD key : keys) {
        resumed.game.Command(key, kNoModifiers, Format("%s's key %c", name, key));
    }
    return probe.WaitsSince(mark);
}

void WaitForFinalPicture(Game& game, const Picture& expected, const std::string& when) {
    constexpr DWORD kBeforeTheDemoMs = 8000;
    std::string difference;
    if (!WaitUntil(
            [&] {
                difference = FirstBoardDifference(expected, game.Capture());
                return difference.empty();
            },
            kBeforeTheDemoMs)) {
        Fail("%s: %s", when.c_str(), difference.c_str());
    }
}

WORD NumericPadKey(char move) {
    if (move < '1' || move > '9') {
        Fail("'%c' is not a step or a wait", move);
    }
    return static_cast<WORD>(VK_NUMPAD0 + (move - '0'));
}

Program::Program(const std::string& path, const std::vector<std::string>& arguments) {
    HANDLE output = nullptr;
    HANDLE programOutput = nullptr;
    if (!CreatePipe(&output, &programOutput, nullptr, 0)) {
        Fail("cannot make a pipe (error %lu)", GetLastError());
    }
    SetHandleInformation(programOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = programOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string commandLine = "\"" + path + "\"";
    for (const std::string& argument : arguments) {
        commandLine += " \"" + argument + "\"";
    }
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < kStartAttempts && !started; ++attempt) {
        started = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                 DETACHED_PROCESS, nullptr, nullptr, &startup, &m_process) != 0;
        error = GetLastError();
    }
    CloseHandle(programOutput);
    const bool ready = started && ReadLine(output);
    CloseHandle(output);
    if (!started) {
        Fail("cannot start %s (error %lu)", path.c_str(), error);
    }
    if (!ready) {
        EndProcess(m_process);
        Fail("%s ended before its first line", path.c_str());
    }
}

Program::~Program() {
    EndProcess(m_process);
}

void Program::Kill() {
    if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_TIMEOUT) {
        Fail("the program ended by itself");
    }
    TerminateProcess(m_process.hProcess, 1);
    if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        Fail("the program did not end when it was terminated");
    }
}

Position ShowLostMoment(Game& game, const RecordedGame& recorded, size_t fatal,
                        const Picture& sheet, const std::string& when, CellsFrom cells) {
    Position before = recorded.PositionAfter(fatal);
    before.arrows = "369";
    game.Press('G', kAlt);
    game.Press('W');
    game.WaitForBoard(before, sheet, when, cells);
    game.WaitForStatusLine("left Teleport: safe / centre Screwdriver: none left / right Last "
                           "Stand: fatal",
                           when);
    return before;
}

void SaveAnimationThroughMenu(Game& game, const std::string& path, const std::string& when) {
    game.Press('F', kAlt);
    game.Press('A');
    game.ChooseFile(path, "File > Save Animation... " + when);
}
