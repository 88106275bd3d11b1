// clankmere-animation-timer PROGRAM SCENARIO BEFORE AFTER MOVE
// clankmere-animation-timer PROGRAM idle SECONDS
// Starts the program (which resumes the saved game the caller prepared), makes one move by
// posting its command, and times the animations from outside: it watches the board cells where
// each animation starts and ends and notes when their pixels change, and reads the program's
// CPU time. BEFORE and AFTER are the replay tool's positions before and after the move; MOVE is
// the move's character in a game record. Prints figures against the program's timing rules;
// it measures, it never judges. Runs under Wine beside the program.
//
// Scenarios: step (a step, the robots' turn and any explosions), death (a step into a robot),
// teleport, screwdriver, stand (a Last Stand), crowd (the robots' frames of a crowded board,
// drawn without delays), idle (the CPU time of SECONDS without input).
#include "Automation.h"
#include "CommandIds.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr RECT kStatusStrip = {0, 292, 496, 322};
// Long enough to outlast the longest still moment inside a move: the pause after a teleport.
constexpr DWORD kQuietMs = 1500;
constexpr DWORD kLimitMs = 30000;
// Robot frames come every 32 ms, explosion frames every 128 ms.
constexpr double kExplosionGapMs = 64;

using Cell = POINT;

// A change of one watched region: which one, when (milliseconds after the command was posted)
// and how much CPU time the program had used by then (milliseconds).
struct Change {
    size_t region;
    double ms;
    double cpuMs;
};

// The program started in its own folder, once its window shows a still picture.
class WatchedProgram {
public:
    explicit WatchedProgram(const std::string& path)
        : m_game(path, path.substr(0, path.find_last_of('\\'))),
          m_window(m_game.WaitForMainWindow()) {
        WaitForSteadyPicture(m_window);
        m_game.CpuMs(); // finds the process's figures before anything is timed
    }

    double CpuMs() { return m_game.CpuMs(); }

    // Posts the command to the main window, then reads the regions (client coordinates) about
    // every millisecond until they have been still for `quietMs` after a first change, or
    // `limitMs` have passed.
    std::vector<Change> PostAndRecord(int command, const std::vector<RECT>& regions, DWORD quietMs,
                                      DWORD limitMs) {
        RegionWatcher watcher(m_window, regions);
        watcher.Read();
        std::vector<Change> changes;
        const double start = NowMs();
        PostMessageA(m_window, WM_COMMAND, static_cast<WPARAM>(command), 0);
        for (;;) {
            const std::vector<bool> changed = watcher.Read();
            const double now = NowMs() - start;
            if (std::find(changed.begin(), changed.end(), true) != changed.end()) {
                const double cpu = CpuMs();
                for (size_t i = 0; i < changed.size(); ++i) {
                    if (changed[i]) {
                        changes.push_back({i, now, cpu});
                    }
                }
            }
            if ((!changes.empty() && now - changes.back().ms > quietMs) || now > limitMs) {
                return changes;
            }
            Sleep(1);
        }
    }

private:
    Game m_game;
    HWND m_window;
};

// What a cell holds, '#' off the board.
char At(const Position& board, Cell c) {
    return OnBoard(c.x, c.y) ? board.At(c.x, c.y) : '#';
}

[[noreturn]] void Usage() {
    std::fprintf(stderr, "usage: clankmere-animation-timer PROGRAM SCENARIO BEFORE AFTER MOVE\n"
                         "       clankmere-animation-timer PROGRAM idle SECONDS\n");
    std::exit(2);
}

std::vector<Cell> CellsHolding(const Position& board, char content) {
    std::vector<Cell> found;
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            if (board.At(x, y) == content) {
                found.push_back({x, y});
            }
        }
    }
    return found;
}

int Distance(Cell a, Cell b) {
    return static_cast<int>(std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)));
}

// Heaps made by the move: where robots collided and exploded.
std::vector<Cell> NewHeaps(const Position& before, const Position& after) {
    std::vector<Cell> heaps;
    for (const Cell c : CellsHolding(after, 'S')) {
        if (At(before, c) != 'S') {
            heaps.push_back(c);
        }
    }
    return heaps;
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

int CommandOf(char move) {
    static const int kSteps[9] = {IDM_STEP_SOUTH_WEST, IDM_STEP_SOUTH, IDM_STEP_SOUTH_EAST,
                                  IDM_STEP_WEST,       IDM_WAIT,       IDM_STEP_EAST,
                                  IDM_STEP_NORTH_WEST, IDM_STEP_NORTH, IDM_STEP_NORTH_EAST};
    switch (move) {
    case 'T':
        return IDM_TELEPORT;
    case 'S':
        return IDM_SCREWDRIVER;
    case 'J':
        return IDM_LAST_STAND_MINUS_2;
    default:
        return move >= '1' && move <= '9' ? kSteps[move - '1'] : 0;
    }
}

// The watched regions, in groups: each group is a set of cells (or other rectangles) whose
// changes count as one kind of event.
class Watch {
public:
    int AddGroup(const std::vector<Cell>& cells) {
        for (const Cell c : cells) {
            m_rects.push_back({c.x * kCellPixels, c.y * kCellPixels, (c.x + 1) * kCellPixels,
                               (c.y + 1) * kCellPixels});
            m_groups.push_back(m_groupCount);
        }
        return m_groupCount++;
    }
    int AddRect(const RECT& rect) {
        m_rects.push_back(rect);
        m_groups.push_back(m_groupCount);
        return m_groupCount++;
    }
    const std::vector<RECT>& Rects() const { return m_rects; }
    int GroupOf(const Change& change) const { return m_groups[change.region]; }

private:
    std::vector<RECT> m_rects;
    std::vector<int> m_groups;
    int m_groupCount = 0;
};

// What was recorded, searched by group and time.
class Timeline {
public:
    Timeline(const Watch& watch, std::vector<Change> changes)
        : m_watch(watch), m_changes(std::move(changes)) {}

    // The first change of the group later than `after`.
    std::optional<Change> First(int group, double after = -1) const {
        for (const Change& change : m_changes) {
            if (m_watch.GroupOf(change) == group && change.ms > after) {
                return change;
            }
        }
        return std::nullopt;
    }
    std::optional<Change> Last(int group) const {
        std::optional<Change> last;
        for (const Change& change : m_changes) {
            if (m_watch.GroupOf(change) == group) {
                last = change;
            }
        }
        return last;
    }
    // The change of the group after `after` that is followed by a still gap of `gapMs`.
    std::optional<Change> BeforeGap(int group, double after, double gapMs) const {
        std::optional<Change> previous;
        for (const Change& change : m_changes) {
            if (m_watch.GroupOf(change) != group || change.ms <= after) {
                continue;
            }
            if (previous && change.ms - previous->ms >= gapMs) {
                return previous;
            }
            previous = change;
        }
        return std::nullopt;
    }

private:
    const Watch& m_watch;
    std::vector<Change> m_changes;
};

// One line: what, the measured time, the rule's time, the difference and the CPU share. The
// kernel counts CPU time in ticks of 10 ms, too coarse for a share of a shorter time.
void PrintFigure(const char* what, const std::optional<Change>& from,
                 const std::optional<Change>& to, const char* rule, double ruleMs) {
    constexpr double kShortestForCpuMs = 200;
    if (!from || !to) {
        std::printf("%-26s not seen (the picture did not change where expected)\n", what);
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

Timeline Run(WatchedProgram& program, const Watch& watch, const Move& m, DWORD quietMs = kQuietMs) {
    return Timeline(watch,
                    program.PostAndRecord(CommandOf(m.move), watch.Rects(), quietMs, kLimitMs));
}

// The player's step, the robots' turn and, when robots collide, the explosions.
void TimeStep(WatchedProgram& program, const Move& m) {
    const std::vector<Cell> explosions = NewHeaps(m.before, m.after);
    std::vector<Cell> arrows;
    for (const Cell c : ArrowCells(m.after)) {
        if (!NearExplosion(c, explosions)) {
            arrows.push_back(c);
        }
    }
    Watch watch;
    const int player = watch.AddGroup({PlayerCell(m.before)});
    const int robots = watch.AddGroup(CellsHolding(m.before, '1'));
    const int arrowGroup = watch.AddGroup(arrows);
    const int exploding = watch.AddGroup(explosions);
    const Timeline timeline = Run(program, watch, m);
    const std::optional<Change> step = timeline.First(player);
    const std::optional<Change> robotsStart = timeline.First(robots, step ? step->ms : 0);
    std::optional<Change> robotsEnd;
    if (!explosions.empty() && robotsStart) {
        robotsEnd = timeline.BeforeGap(exploding, robotsStart->ms, kExplosionGapMs);
    }
    const double last = robotsEnd ? robotsEnd->ms : robotsStart ? robotsStart->ms : 0;
    const std::optional<Change> arrowsShown = timeline.First(arrowGroup, last);
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
    Watch watch;
    const int dying = watch.AddGroup({player});
    const int killer = watch.AddGroup({StepTarget(player, m.move)});
    const Timeline timeline = Run(program, watch, m);
    PrintFigure("player's death", timeline.First(dying), timeline.Last(killer),
                "8 x 128 ms = 1024 ms", 1024);
}

// Rings out of the old cell, a pause, rings into the new one; then the player shows again and
// the robots move after a pause.
void TimeTeleport(WatchedProgram& program, const Move& m) {
    Watch watch;
    const int from = watch.AddGroup({PlayerCell(m.before)});
    const int to = watch.AddGroup({PlayerCell(m.after)});
    const int robots = watch.AddGroup(CellsHolding(m.before, '1'));
    const Timeline timeline = Run(program, watch, m);
    const std::optional<Change> landed = timeline.Last(to);
    const std::optional<Change> started = timeline.First(from);
    PrintFigure("teleport", started, landed, "about 18x32 + 287 + 18x32", 1439);
    // Each half waits for the next tick, then 17 times 32 ms; the pause ends past 287 ms.
    PrintFigure("teleport", started, landed, "by its steps 2x(17x32+1)+288", 1378);
    PrintFigure("pause after the teleport", landed, timeline.First(robots, landed ? landed->ms : 0),
                "288 ms", 288);
}

// The outlines stay 320 ms, then the square is erased and the program waits 480 ms before the
// status line and the robots' turn.
void TimeScrewdriver(WatchedProgram& program, const Move& m) {
    const Cell player = PlayerCell(m.before);
    std::vector<Cell> around;
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const Cell c = {player.x + dx, player.y + dy};
            if ((dx != 0 || dy != 0) && At(m.before, c) != '#') {
                around.push_back(c);
            }
        }
    }
    // The robots out of the screwdriver's standard range of one cell.
    std::vector<Cell> survivors;
    for (const Cell robot : CellsHolding(m.before, '1')) {
        if (Distance(robot, player) > 1) {
            survivors.push_back(robot);
        }
    }
    Watch watch;
    const int square = watch.AddGroup(around);
    const int robots = watch.AddGroup(survivors);
    const int status = watch.AddRect(kStatusStrip);
    const Timeline timeline = Run(program, watch, m);
    const std::optional<Change> shown = timeline.First(square);
    const std::optional<Change> erased = timeline.First(square, shown ? shown->ms + 160 : 0);
    // Whichever comes first: the status line with a new score, or the robots' turn.
    const double late = erased ? erased->ms + 240 : 0;
    std::optional<Change> after = timeline.First(robots, late);
    const std::optional<Change> score = timeline.First(status, late);
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
    Watch watch;
    const int robots = watch.AddGroup(CellsHolding(m.before, '1'));
    const int arrows = watch.AddGroup(ArrowCells(m.after));
    // The robots soon leave the watched cells; the stand goes on unseen until the arrows show.
    const Timeline timeline = Run(program, watch, m, kQuietMs + 200 * turns);
    const std::optional<Change> start = timeline.First(robots);
    std::optional<Change> end = timeline.First(arrows, start ? start->ms : 0);
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
    Watch watch;
    const int group = watch.AddGroup(watched);
    const Timeline timeline = Run(program, watch, m);
    const std::optional<Change> first = timeline.First(group);
    const std::optional<Change> last = timeline.Last(group);
    if (!first || !last) {
        std::printf("%-26s not seen (the picture did not change where expected)\n", "crowd");
        return;
    }
    const double frameMs = (last->ms - first->ms) / 15;
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
    std::printf("%-26s %7.1f ms CPU in %.0f s   = %.2f %%   (target under 1 %%)\n", "idle",
                program.CpuMs() - startCpu, ms / 1000, 100.0 * (program.CpuMs() - startCpu) / ms);
}

using Scenario = void (*)(WatchedProgram&, const Move&);

Scenario FindScenario(const char* name) {
    static const struct {
        const char* name;
        Scenario run;
    } kScenarios[] = {{"step", TimeStep},         {"death", TimeDeath},
                      {"teleport", TimeTeleport}, {"screwdriver", TimeScrewdriver},
                      {"stand", TimeLastStand},   {"crowd", TimeCrowd}};
    for (const auto& scenario : kScenarios) {
        if (std::strcmp(scenario.name, name) == 0) {
            return scenario.run;
        }
    }
    Usage();
}

int Measure(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[2], "idle") == 0) {
        WatchedProgram program(argv[1]);
        TimeIdle(program, std::atof(argv[3]));
        return 0;
    }
    if (argc != 6 || std::strlen(argv[5]) != 1 || CommandOf(argv[5][0]) == 0) {
        Usage();
    }
    const Scenario scenario = FindScenario(argv[2]);
    const Move move = {LoadPosition(argv[3]), LoadPosition(argv[4]), argv[5][0]};
    WatchedProgram program(argv[1]);
    scenario(program, move);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        Usage();
    }
    try {
        return Measure(argc, argv);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "clankmere-animation-timer: %s\n", failure.what());
        return 1;
    }
}
