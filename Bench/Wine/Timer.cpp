// clankmere-timer PROGRAM start | PROGRAM idle SECONDS | PROGRAM SCENARIO BEFORE AFTER MOVE [STEPS]
// clankmere-timer settings FILE [NAME=VALUE...]
// The Windows side of the benchmarks under Wine; it measures, it never judges. "start": the
// milliseconds from starting the program until its main window shows and until its first
// frame is on the screen. "idle": the program's CPU time over SECONDS without input. A
// SCENARIO (step, death, teleport, screwdriver, stand, crowd) posts the command of MOVE (a move
// character of a game record) in the saved game the program resumes, and times its animations
// from outside by the pixels where they start and end, against the program's timing rules;
// BEFORE and AFTER are the replay tool's positions around the move. With STEPS the move is
// watched instead: the program watches the first game of the High Scores list, paused at once,
// plays STEPS actions one by one, and the timer resumes it, so that the move plays as a
// watched game plays at its normal speed. "settings" stores the default settings with the
// named fields changed as the program's, and writes them to FILE.
#include "Automation.h"
#include "CommandIds.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr RECT kStatusStrip = {0, 292, 496, 322};
// Long enough to outlast the longest still moment inside a move: the pause after a teleport.
constexpr DWORD kQuietMs = 1500;
constexpr DWORD kLimitMs = 30000;
// A watched game plays its first action a second after it starts, at its normal speed.
constexpr double kFirstWatchedActionMs = 1000;
// Robot frames come every 32 ms, explosion frames every 128 ms.
constexpr double kExplosionGapMs = 64;

using Cell = POINT;
// Rectangles of the client area whose changes count as one kind of event.
using Group = std::vector<RECT>;

// A change of a watched group: when (milliseconds after the command was posted) and how much
// CPU time the program had used by then (milliseconds).
struct Change {
    double ms;
    double cpuMs;
};
using Changes = std::vector<Change>;
using Seen = std::optional<Change>;

// The first change later than `after`.
Seen First(const Changes& changes, double after = -1) {
    for (const Change& change : changes) {
        if (change.ms > after) {
            return change;
        }
    }
    return std::nullopt;
}

Seen Last(const Changes& changes) {
    return changes.empty() ? Seen() : changes.back();
}

// The change later than `after` that is followed by a still gap of `gapMs`.
Seen BeforeGap(const Changes& changes, double after, double gapMs) {
    for (size_t i = 1; i < changes.size(); ++i) {
        if (changes[i - 1].ms > after && changes[i].ms - changes[i - 1].ms >= gapMs) {
            return changes[i - 1];
        }
    }
    return std::nullopt;
}

int CommandOf(char move) {
    static const char kMoves[] = "123456789TSJ";
    static const int kCommands[] = {IDM_STEP_SOUTH_WEST, IDM_STEP_SOUTH,  IDM_STEP_SOUTH_EAST,
                                    IDM_STEP_WEST,       IDM_WAIT,        IDM_STEP_EAST,
                                    IDM_STEP_NORTH_WEST, IDM_STEP_NORTH,  IDM_STEP_NORTH_EAST,
                                    IDM_TELEPORT,        IDM_SCREWDRIVER, IDM_LAST_STAND_MINUS_2};
    const char* found = move != '\0' ? std::strchr(kMoves, move) : nullptr;
    return found ? kCommands[found - kMoves] : 0;
}

// Rectangles of the client area copied on every Read, fast enough to time animations.
class RegionWatcher {
public:
    RegionWatcher(HWND window, const std::vector<RECT>& regions)
        : m_window(window), m_windowDC(GetDC(window)), m_memoryDC(CreateCompatibleDC(m_windowDC)) {
        for (const RECT& rect : regions) {
            // 32 bits a pixel, the top row first.
            const BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), rect.right - rect.left,
                                      rect.top - rect.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0},
                                     {}};
            void* bits = nullptr;
            HBITMAP bitmap = CreateDIBSection(m_windowDC, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            if (!bitmap) {
                Fail("cannot make a bitmap for a watched region");
            }
            const size_t pixels = size_t(rect.right - rect.left) * size_t(rect.bottom - rect.top);
            m_copies.push_back({rect, bitmap, static_cast<const DWORD*>(bits), {}});
            m_copies.back().last.resize(pixels);
        }
    }
    ~RegionWatcher() {
        for (const Copy& copy : m_copies) {
            DeleteObject(copy.bitmap);
        }
        DeleteDC(m_memoryDC);
        ReleaseDC(m_window, m_windowDC);
    }
    RegionWatcher(const RegionWatcher&) = delete;
    RegionWatcher& operator=(const RegionWatcher&) = delete;

    // For every region, whether it differs from the last Read (from black at first).
    std::vector<bool> Read() {
        std::vector<bool> changed(m_copies.size(), false);
        for (size_t i = 0; i < m_copies.size(); ++i) {
            Copy& copy = m_copies[i];
            HGDIOBJ old = SelectObject(m_memoryDC, copy.bitmap);
            BitBlt(m_memoryDC, 0, 0, copy.rect.right - copy.rect.left,
                   copy.rect.bottom - copy.rect.top, m_windowDC, copy.rect.left, copy.rect.top,
                   SRCCOPY);
            SelectObject(m_memoryDC, old);
            GdiFlush();
            if (!std::equal(copy.last.begin(), copy.last.end(), copy.bits)) {
                std::copy(copy.bits, copy.bits + copy.last.size(), copy.last.begin());
                changed[i] = true;
            }
        }
        return changed;
    }

private:
    struct Copy {
        RECT rect;
        HBITMAP bitmap;
        const DWORD* bits;
        std::vector<DWORD> last;
    };

    HWND m_window;
    HDC m_windowDC;
    HDC m_memoryDC;
    std::vector<Copy> m_copies;
};

// The /proc entry of the process started as `program`, or empty.
std::string FindStatPath(const std::string& program) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string statPath;
    do {
        const std::string entry = std::string("Z:\\proc\\") + found.cFileName;
        std::ifstream cmdline(entry + "\\cmdline", std::ios::binary);
        std::string first;
        if (std::isdigit(static_cast<unsigned char>(found.cFileName[0])) &&
            std::getline(cmdline, first, '\0') && _stricmp(first.c_str(), program.c_str()) == 0) {
            statPath = entry + "\\stat";
        }
    } while (statPath.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return statPath;
}

// The program started in its own folder, once its status line stands still: a full redraw
// draws it last, and the heaps on the board may go on smoldering.
class WatchedProgram {
public:
    explicit WatchedProgram(const std::string& path)
        : m_game(path, path.substr(0, path.find_last_of('\\'))),
          m_window(m_game.WaitForMainWindow()), m_statPath(FindStatPath(path)) {
        WaitForSteadyPicture(m_window, 300, kStatusStrip);
        if (m_statPath.empty()) {
            Fail("%s is not among the processes in /proc", path.c_str());
        }
    }

    // User and kernel time so far: fields 14 and 15 of /proc/PID/stat in clock ticks of 10 ms,
    // counted after the command name, which is in parentheses and may hold blanks (Wine's
    // GetProcessTimes gives no user time of another process).
    double CpuMs() {
        std::ifstream in(m_statPath);
        std::string stat;
        std::getline(in, stat);
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));
        std::string skipped;
        for (int field = 3; field < 14; ++field) {
            fields >> skipped;
        }
        double user = 0;
        double kernel = 0;
        fields >> user >> kernel;
        return (user + kernel) * 10;
    }

    // Watches the game of the first row of the High Scores list, chosen with a double-click
    // and paused before its first action is due; the list closes, and `steps` actions play one
    // after the other as the right arrow plays them while paused. From then on Play resumes the
    // watched game instead of posting a move.
    void WatchFirstListedGame(int steps) {
        m_game.SendPromptly(WM_COMMAND, IDM_SHOW_HIGH_SCORES, 0);
        const HWND list = WaitForHighScoresList(1, "after Show High Scores");
        POINT row = HighScoresRowPoint(list, 1);
        ScreenToClient(list, &row);
        // The program handles posted messages in order: the pause, posted right behind the
        // double-click, comes long before the first action is due, also on a busy machine,
        // and the list closes only after both have been handled.
        const double chosen = NowMs();
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.x, row.y));
        PostMessageA(m_window, WM_COMMAND, IDM_WAIT, 0);
        if (NowMs() - chosen >= kFirstWatchedActionMs) {
            Fail("the pause was posted only %.0f ms after the row was chosen", NowMs() - chosen);
        }
        PostMessageA(list, WM_CLOSE, 0, 0);
        WaitUntilClosed(list, "WM_CLOSE to the High Scores list");
        for (int step = 0; step < steps; ++step) {
            SendToTheEnd(m_window, WM_COMMAND, IDM_STEP_EAST, 0);
        }
        WaitForSteadyPicture(m_window);
        m_watching = true;
    }

    // Posts the move's command to the main window (or resumes the watched game, which then
    // plays it), then reads the groups about every millisecond until they have been still for
    // `quietMs` after a first change, or `kLimitMs` have passed; returns the changes of each
    // group.
    std::vector<Changes> Play(char move, const std::vector<Group>& groups,
                              DWORD quietMs = kQuietMs) {
        std::vector<RECT> regions;
        std::vector<size_t> groupOf;
        for (size_t group = 0; group < groups.size(); ++group) {
            regions.insert(regions.end(), groups[group].begin(), groups[group].end());
            groupOf.resize(regions.size(), group);
        }
        RegionWatcher watcher(m_window, regions);
        watcher.Read();
        std::vector<Changes> changes(groups.size());
        double lastChange = -1;
        const double start = NowMs();
        PostMessageA(m_window, WM_COMMAND,
                     static_cast<WPARAM>(m_watching ? IDM_WAIT : CommandOf(move)), 0);
        for (;;) {
            const std::vector<bool> changed = watcher.Read();
            const double now = NowMs() - start;
            for (size_t i = 0; i < changed.size(); ++i) {
                Changes& group = changes[groupOf[i]];
                if (changed[i] && (group.empty() || group.back().ms != now)) {
                    group.push_back({now, CpuMs()});
                    lastChange = now;
                }
            }
            if ((lastChange >= 0 && now - lastChange > quietMs) || now > kLimitMs) {
                return changes;
            }
            Sleep(1);
        }
    }

private:
    // Returns once the window has handled the message, however long that takes, and fails
    // when it has not within kLimitMs. A posted WM_NULL first wakes the program, whose wait
    // between inputs lets no sent message through.
    static void SendToTheEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        PostMessageA(window, WM_NULL, 0, 0);
        DWORD_PTR result = 0;
        if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kLimitMs, &result)) {
            Fail("message %u was not handled within %lu ms", message, kLimitMs);
        }
    }

    Game m_game;
    HWND m_window;
    const std::string m_statPath;
    bool m_watching = false;
};

int Distance(Cell a, Cell b) {
    return static_cast<int>(std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)));
}

std::vector<Cell> CellsHolding(const Position& board, char content) {
    return CellsWhere([&](Cell c) { return board.At(c.x, c.y) == content; });
}

// Heaps made by the move: where robots collided and exploded.
std::vector<Cell> NewHeaps(const Position& before, const Position& after) {
    return CellsWhere(
        [&](Cell c) { return after.At(c.x, c.y) == 'S' && before.At(c.x, c.y) != 'S'; });
}

Group Areas(const std::vector<Cell>& cells) {
    Group areas;
    for (const Cell c : cells) {
        areas.push_back({c.x * kCellPixels, c.y * kCellPixels, (c.x + 1) * kCellPixels,
                         (c.y + 1) * kCellPixels});
    }
    return areas;
}

// Explosion frames hang into the cell below; nothing else may be judged by that cell.
bool NearExplosion(Cell c, const std::vector<Cell>& explosions) {
    return std::any_of(explosions.begin(), explosions.end(),
                       [c](Cell e) { return e.x == c.x && (e.y == c.y || e.y + 1 == c.y); });
}

int NearestRobot(const Position& board) {
    int nearest = kColumns;
    for (const Cell robot : CellsHolding(board, '1')) {
        nearest = std::min(nearest, Distance(robot, PlayerCell(board)));
    }
    return nearest;
}

void PrintNotSeen(const char* what) {
    std::printf("%-26s not seen (the picture did not change where expected)\n", what);
}

// One line: what, the measured time, the rule's time, the difference and the CPU share. The
// kernel counts CPU time in ticks of 10 ms, too coarse for a share of a shorter time.
void PrintFigure(const char* what, const Seen& from, const Seen& to, const char* rule,
                 double ruleMs) {
    constexpr double kShortestForCpuMs = 200;
    if (!from || !to) {
        PrintNotSeen(what);
        return;
    }
    const double ms = to->ms - from->ms;
    std::printf("%-26s %7.1f ms   rule %-26s %+6.1f %%", what, ms, rule,
                100.0 * (ms - ruleMs) / ruleMs);
    if (ms >= kShortestForCpuMs) {
        std::printf("   CPU %4.1f %%", 100.0 * (to->cpuMs - from->cpuMs) / ms);
    }
    std::printf("\n");
}

struct Move {
    Position before;
    Position after;
    char move;
};

// The player's step, the robots' turn and, when robots collide, the explosions.
void TimeStep(WatchedProgram& program, const Move& m) {
    enum { kPlayer, kRobots, kArrows, kExploding };
    const std::vector<Cell> explosions = NewHeaps(m.before, m.after);
    std::vector<Cell> arrows = ArrowCells(m.after);
    arrows.erase(std::remove_if(arrows.begin(), arrows.end(),
                                [&](Cell c) { return NearExplosion(c, explosions); }),
                 arrows.end());
    const std::vector<Changes> seen =
        program.Play(m.move, {Areas({PlayerCell(m.before)}), Areas(CellsHolding(m.before, '1')),
                              Areas(arrows), Areas(explosions)});
    const Seen step = First(seen[kPlayer]);
    const Seen robotsStart = First(seen[kRobots], step ? step->ms : 0);
    Seen robotsEnd;
    if (!explosions.empty() && robotsStart) {
        robotsEnd = BeforeGap(seen[kExploding], robotsStart->ms, kExplosionGapMs);
    }
    const double last = robotsEnd ? robotsEnd->ms : robotsStart ? robotsStart->ms : 0;
    const Seen arrowsShown = First(seen[kArrows], last);
    PrintFigure("player step", step, robotsStart, "16 x 16 ms = 256 ms", 256);
    if (explosions.empty()) {
        PrintFigure("robots' turn", robotsStart, arrowsShown, "16 x 32 ms = 512 ms", 512);
        return;
    }
    PrintFigure("robots' turn", robotsStart, robotsEnd, "16 x 32 ms = 512 ms", 512);
    PrintFigure("explosions", robotsEnd, arrowsShown, "7 x 128 ms = 896 ms", 896);
}

// A step into a robot: the killer lights up, the player dies, the killer is drawn again.
void TimeDeath(WatchedProgram& program, const Move& m) {
    const Cell player = PlayerCell(m.before);
    const std::vector<Changes> seen =
        program.Play(m.move, {Areas({player}), Areas({StepTarget(player, m.move)})});
    PrintFigure("player's death", First(seen[0]), Last(seen[1]), "8 x 128 ms = 1024 ms", 1024);
}

// Rings out of the old cell, a pause, rings into the new one; then the player shows again and
// the robots move after a pause.
void TimeTeleport(WatchedProgram& program, const Move& m) {
    enum { kFrom, kTo, kRobots };
    const std::vector<Changes> seen =
        program.Play(m.move, {Areas({PlayerCell(m.before)}), Areas({PlayerCell(m.after)}),
                              Areas(CellsHolding(m.before, '1'))});
    const Seen landed = Last(seen[kTo]);
    const Seen started = First(seen[kFrom]);
    PrintFigure("teleport", started, landed, "about 18x32 + 287 + 18x32", 1439);
    // Each half waits for the next tick, then 17 times 32 ms; the pause ends past 287 ms.
    PrintFigure("teleport", started, landed, "by its steps 2x(17x32+1)+288", 1378);
    PrintFigure("pause after the teleport", landed, First(seen[kRobots], landed ? landed->ms : 0),
                "288 ms", 288);
}

// The outlines stay 320 ms, then the square is erased and the program waits 480 ms before the
// status line and the robots' turn.
void TimeScrewdriver(WatchedProgram& program, const Move& m) {
    enum { kSquare, kRobots, kStatus };
    const Cell player = PlayerCell(m.before);
    // The square around the player, and the robots out of the screwdriver's standard range.
    const std::vector<Cell> around = CellsWhere([&](Cell c) { return Distance(c, player) == 1; });
    const std::vector<Cell> survivors =
        CellsWhere([&](Cell c) { return m.before.At(c.x, c.y) == '1' && Distance(c, player) > 1; });
    const std::vector<Changes> seen =
        program.Play(m.move, {Areas(around), Areas(survivors), {kStatusStrip}});
    const Seen shown = First(seen[kSquare]);
    const Seen erased = First(seen[kSquare], shown ? shown->ms + 160 : 0);
    // Whichever comes first: the status line with a new score, or the robots' turn.
    const double late = erased ? erased->ms + 240 : 0;
    Seen after = First(seen[kRobots], late);
    const Seen score = First(seen[kStatus], late);
    if (score && (!after || score->ms < after->ms)) {
        after = score;
    }
    PrintFigure("screwdriver", shown, after, "320 + 480 ms = 800 ms", 800);
    PrintFigure("  outlines shown", shown, erased, "320 ms", 320);
    PrintFigure("  wait after them", erased, after, "480 ms", 480);
}

// Turn after turn until a robot is two cells away; no robot collides on the way.
void TimeLastStand(WatchedProgram& program, const Move& m) {
    const int turns = NearestRobot(m.before) - NearestRobot(m.after);
    // The robots soon leave the watched cells; the stand goes on unseen until the arrows show.
    const std::vector<Changes> seen =
        program.Play(m.move, {Areas(CellsHolding(m.before, '1')), Areas(ArrowCells(m.after))},
                     kQuietMs + 200 * turns);
    const Seen start = First(seen[0]);
    Seen end = First(seen[1], start ? start->ms : 0);
    if (start && end && turns > 0) {
        const double ms = end->ms - start->ms;
        std::printf("Last Stand of %d turns: %.1f ms in all, CPU %.1f %%\n", turns, ms,
                    100.0 * (end->cpuMs - start->cpuMs) / ms);
        end->ms = start->ms + (end->ms - start->ms) / turns;
        end->cpuMs = start->cpuMs + (end->cpuMs - start->cpuMs) / turns;
    }
    PrintFigure("Last Stand turn (4x)", start, end, "16 x 8 ms = 128 ms", 128);
}

// Frames drawn back to back: the time from the first to the last frame over 15 is the time to
// draw and present one. Watched are robot cells away from explosions and arrows.
void TimeCrowd(WatchedProgram& program, const Move& m) {
    constexpr size_t kWatchedRobots = 12;
    const std::vector<Cell> explosions = NewHeaps(m.before, m.after);
    const std::vector<Cell> robots = CellsHolding(m.before, '1');
    std::vector<Cell> watched;
    for (size_t i = 0; i < robots.size() && watched.size() < kWatchedRobots; i += 7) {
        if (!NearExplosion(robots[i], explosions) &&
            Distance(robots[i], PlayerCell(m.before)) > 2) {
            watched.push_back(robots[i]);
        }
    }
    const Changes frames = program.Play(m.move, {Areas(watched)})[0];
    if (frames.empty()) {
        PrintNotSeen("crowd");
        return;
    }
    const double frameMs = (frames.back().ms - frames.front().ms) / 15;
    std::printf("%-26s %7.2f ms   target under 8 ms (%zu robots, the most a level places)\n",
                "robots' frame, no delays", frameMs, robots.size());
    std::printf("%-26s %7.2f ms   (scaled up by the count of robots)\n", "  the same for 555",
                frameMs * 555 / static_cast<double>(robots.size()));
}

void TimeIdle(WatchedProgram& program, double seconds) {
    const double startCpu = program.CpuMs();
    const double start = NowMs();
    Sleep(static_cast<DWORD>(seconds * 1000));
    const double ms = NowMs() - start;
    const double cpuMs = program.CpuMs() - startCpu;
    std::printf("%-26s %7.1f ms CPU in %.0f s   = %.2f %%   (target under 1 %%)\n", "idle", cpuMs,
                ms / 1000, 100.0 * cpuMs / ms);
}

// A frame counts as presented once the client area is no longer one plain colour (the window
// class's background).
void TimeStart(const std::string& path) {
    constexpr DWORD kPollMs = 1;
    const double start = NowMs();
    Game game(path, path.substr(0, path.find_last_of('\\')));
    WaitUntil([&] { return IsWindowVisible(game.FindMainWindow()); }, kPatienceMs, kPollMs);
    const HWND window = game.WaitForMainWindow();
    const double windowMs = NowMs() - start;
    double frameMs = 0;
    const auto showsAFrame = [&] {
        frameMs = NowMs() - start;
        const Picture client = CaptureClient(window);
        return std::any_of(client.pixels.begin(), client.pixels.end(),
                           [&](uint32_t pixel) { return pixel != client.pixels.front(); });
    };
    if (!WaitUntil(showsAFrame, kPatienceMs, kPollMs)) {
        Fail("no frame within %lu ms", kPatienceMs);
    }
    std::printf("window %.0f ms, first frame %.0f ms\n", windowMs, frameMs);
    PostMessageA(window, WM_CLOSE, 0, 0);
    game.WaitForExit("after WM_CLOSE");
}

void StoreSettings(const char* file, char** fields, char** end) {
    PreferencesRecord record = DefaultPreferences();
    for (; fields != end; ++fields) {
        char name[64];
        long long value = 0;
        if (std::sscanf(*fields, "%63[^=]=%lld", name, &value) != 2) {
            Fail("not NAME=VALUE: %s", *fields);
        }
        PutField(record, name, value);
    }
    StorePreferences(record);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(record.data()),
               static_cast<std::streamsize>(record.size()));
}

bool IsCount(const char* text) {
    return text[0] != '\0' && std::strspn(text, "0123456789") == std::strlen(text);
}

int Measure(int argc, char** argv) {
    using Scenario = void (*)(WatchedProgram&, const Move&);
    static const std::map<std::string, Scenario> kScenarios = {
        {"step", TimeStep},         {"death", TimeDeath},
        {"teleport", TimeTeleport}, {"screwdriver", TimeScrewdriver},
        {"stand", TimeLastStand},   {"crowd", TimeCrowd}};
    const std::string mode = argc > 2 ? argv[2] : "";
    if (argc >= 3 && std::strcmp(argv[1], "settings") == 0) {
        StoreSettings(argv[2], argv + 3, argv + argc);
    } else if (argc == 3 && mode == "start") {
        TimeStart(argv[1]);
    } else if (argc == 4 && mode == "idle") {
        WatchedProgram program(argv[1]);
        TimeIdle(program, std::atof(argv[3]));
    } else if ((argc == 6 || (argc == 7 && IsCount(argv[6]))) && kScenarios.count(mode) != 0 &&
               std::strlen(argv[5]) == 1 && CommandOf(argv[5][0]) != 0) {
        const Move move = {LoadPosition(argv[3]), LoadPosition(argv[4]), argv[5][0]};
        WatchedProgram program(argv[1]);
        if (argc == 7) {
            program.WatchFirstListedGame(std::atoi(argv[6]));
        }
        kScenarios.at(mode)(program, move);
    } else {
        std::fprintf(stderr, "usage: clankmere-timer PROGRAM start\n"
                             "       clankmere-timer PROGRAM idle SECONDS\n"
                             "       clankmere-timer PROGRAM SCENARIO BEFORE AFTER MOVE [STEPS]\n"
                             "       clankmere-timer settings FILE [NAME=VALUE...]\n");
        return 2;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Measure(argc, argv);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "clankmere-timer: %s\n", failure.what());
        return 1;
    }
}
