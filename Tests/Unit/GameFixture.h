// A host that records what the rules do, a game on it, and a way to lay out a position from a
// small picture.
#pragma once

#include "Game.h"
#include "NullGameHost.h"
#include "Random.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

using Calls = std::vector<std::string>;

// A host that records the calls the rules make, as short texts such as "SetPlayerCell(3,4)", so
// that tests can check which drawing, sound and shell steps happened and in what order. Icon
// sets, fatal errors and the windows that only show something are left to the null host.
class CRecordingHost : public CNullGameHost {
public:
    Calls calls;
    int64_t now = 1600000000;
    bool altDown = false;
    // The game whose values the status line shows, and the three texts it showed last.
    const CGame* game = nullptr;
    std::string statusLine;
    bool qualifies = false;
    std::string nameToEnter;
    // What happens while the Advanced Options dialog or the name dialog is open.
    std::function<void()> duringDialog = [] {};

    void Clear() { calls.clear(); }
    // The calls whose text starts with one of the given prefixes, in order.
    Calls Only(std::initializer_list<const char*> prefixes) const {
        Calls kept;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(kept), [&](const auto& call) {
            return std::any_of(prefixes.begin(), prefixes.end(),
                               [&](const char* prefix) { return call.rfind(prefix, 0) == 0; });
        });
        return kept;
    }

    void RedrawBoard() override { Add("RedrawBoard"); }
    void DrawStatusLine() override {
        Add("StatusLine");
        char text[96];
        std::snprintf(text, sizeof text, "Score: %d | Screwdrivers: %d | Level: %d", game->m_score,
                      game->m_screwdrivers, game->m_level);
        statusLine = text;
    }
    void SetDrawingSuppressed(bool s) override { Add(s ? "SuppressDrawing" : "ResumeDrawing"); }
    void HideArrows() override { Add("HideArrows"); }
    void DrawArrows() override { Add("DrawArrows"); }
    void AnimatePlayerStep(int dx, int dy) override { Add("AnimatePlayerStep", dx, dy); }
    void SetPlayerCell(int x, int y) override { Add("SetPlayerCell", x, y); }
    void RedrawPlayer() override { Add("RedrawPlayer"); }
    void SetRobotStepRects(Robot& robot) override {
        ComputeRobotStepRects(robot);
        Add("SetRobotStepRects", robot.x, robot.y);
    }
    void AnimateRobotSteps() override { Add("AnimateRobotSteps"); }
    void AnimateExplosions() override { Add("AnimateExplosions"); }
    void HighlightKiller(int x, int y, KillerKind kind) override {
        Add(kind == kKillerRobot ? "HighlightKiller:robot" : "HighlightKiller:heap", x, y);
    }
    void RestoreKiller(int x, int y, KillerKind kind) override {
        Add(kind == kKillerRobot ? "RestoreKiller:robot" : "RestoreKiller:heap", x, y);
    }
    void AnimatePlayerDeath(int x, int y, bool heap) override {
        Add(heap ? "AnimatePlayerDeath:heap" : "AnimatePlayerDeath:clear", x, y);
    }
    void EraseCell(int x, int y) override { Add("EraseCell", x, y); }
    void AnimateTeleport(int x0, int y0, int x, int y) override {
        Add("AnimateTeleport", x0, y0, x, y);
    }
    void AnimateScrewdriver(int effect, int x, int y, int radius) override {
        Add("AnimateScrewdriver", effect, x, y, radius);
    }
    void DestroyGraphics() override { Add("DestroyGraphics"); }
    void PlaySound(GameSound sound) override {
        static const char* const kNames[kNumGameSounds] = {"RobotDies", "Intro", "PlayerDies",
                                                           "Screwdriver", "Teleport"};
        Add(std::string("Sound:") + kNames[sound]);
    }
    void RefuseAction() override { Add("Refuse"); }
    void ShowMessage(const char* text) override { Add(std::string("Message: ") + text); }
    void HideCursor() override { Add("HideCursor"); }
    void ShowCursor() override { Add("ShowCursor"); }
    void BringWindowToTop() override { Add("BringWindowToTop"); }
    void FlushKeyboardInput() override { Add("Flush"); }
    void Pause(uint32_t milliseconds) override { Add("Pause", milliseconds); }
    int64_t CurrentTime() override { return now; }
    bool IsAltKeyDown() override { return altDown; }
    void RunAdvancedOptionsDialog() override {
        Add("AdvancedOptionsDialog");
        duringDialog();
    }
    void CloseWindows() override { Add("CloseWindows"); }
    bool ScoreQualifies(int32_t score) override {
        Add("ScoreQualifies", score);
        return qualifies;
    }
    void AskPlayerName(char* name) override {
        Add(std::string("AskPlayerName:") + name);
        duringDialog();
        std::snprintf(name, kPlayerNameSize, "%s", nameToEnter.c_str());
    }
    void WriteHighScoreGameRecord(uint64_t time, uint32_t score, const char* moves) override {
        Add("HighScoreRecord", time, score, moves);
    }
    void InsertHighScore(int32_t score, const char* name, int16_t level, int64_t date) override {
        Add("InsertHighScore", score, name, level, date);
    }
    void ShowHighScores() override { Add("ShowHighScores"); }
    void SaveHighScores() override { Add("SaveHighScores"); }
    void WriteLastGameRecord(uint64_t time, uint32_t score, const char* moves) override {
        Add("LastGameRecord", time, score, moves);
    }
    void SaveGameInProgress(uint64_t time, uint32_t score, const char* moves) override {
        Add("SaveGameInProgress", time, score, moves);
    }

private:
    static std::string Text(const char* text) { return text; }
    template <typename T> static std::string Text(T value) { return std::to_string(value); }
    // "Name" alone, or "Name(a,b,...)" with the arguments.
    template <typename... Args> void Add(const std::string& name, Args... args) {
        std::string call = name;
        [[maybe_unused]] const char* separator = "(";
        ((call += separator + Text(args), separator = ","), ...);
        calls.push_back(sizeof...(args) > 0 ? call + ")" : call);
    }
};

using Rows = std::vector<std::string>;

class GameTest : public ::testing::Test {
public:
    GameTest() : game(host, nullptr) {
        host.game = &game;
        EnsureGameResources(game);
        host.Clear();
    }

    // Starts a running game at level 1 with no moves logged; the board is left empty.
    void StartGame(int64_t startTime = 1000) {
        NewGame(game, startTime, nullptr, false);
        host.Clear();
    }

    // Rows from the top; missing rows and columns are empty. 'A' is the player, 'S' a heap,
    // 'a'..'z' robots in list order (a in the first slot; a letter left out is a dead robot).
    void Place(const Rows& rows) {
        std::memset(game.m_grid, 0, sizeof game.m_grid);
        std::fill(game.m_records, game.m_records + 26, Robot{});
        Robot* heap = game.m_lastRecord;
        int robots = 0;
        for (int16_t y = 0; y < static_cast<int16_t>(rows.size()); ++y) {
            for (int16_t x = 0; x < static_cast<int16_t>(rows[y].size()); ++x) {
                const char c = rows[y][x];
                const bool robot = c >= 'a' && c <= 'z';
                if (robot || c == 'S') {
                    const Rect cell{x * 16, y * 16, x * 16 + 16, y * 16 + 16};
                    (robot ? game.m_records[c - 'a'] : *heap--) =
                        Robot{cell, {}, x, y, 0, 0, 0, kRobotIsAlive};
                    robots = robot ? std::max(robots, c - 'a' + 1) : robots;
                    game.Cell(x, y) = robot ? kCellRobot : kCellHeap;
                } else if (c == 'A') {
                    game.m_playerX = x;
                    game.m_playerY = y;
                    game.Cell(x, y) = kCellPlayer;
                }
            }
        }
        game.m_records[robots].isAlive = kEndOfList;
        game.m_robotListEnd = game.m_records + robots;
        heap->isAlive = kEndOfList;
        game.m_heapListEnd = heap;
    }

    // Starts a game on the position `rows`.
    void Start(const Rows& rows) {
        StartGame();
        Place(rows);
    }

    std::string Log() const { return game.m_moveLog ? game.m_moveLog : ""; }
    int CellsHolding(uint8_t code) const {
        return static_cast<int>(std::count(std::begin(game.m_grid), std::end(game.m_grid), code));
    }
    int HeapRecords() const {
        int heaps = 0;
        for (const Robot* r = game.m_lastRecord; r->isAlive != kEndOfList; --r) {
            ++heaps;
        }
        return heaps;
    }

    CRecordingHost host;
    CGame game;
};

// `rows` with `robot` added in the far corner (30, 17), where it keeps the level going.
inline Rows WithFarRobot(Rows rows, char robot = 'a') {
    rows.resize(kGridHeight);
    rows[kGridHeight - 1] = std::string(kGridWidth - 1, '.') + robot;
    return rows;
}

// The generator's output after `draws` draws from `seed`: how tests count the draws an action made.
inline uint16_t OutputAfterDraws(uint32_t seed, int draws) {
    SeedRandom(seed);
    for (int i = 0; i < draws; ++i) {
        RandomUpTo(0);
    }
    return RandomUpTo(65535);
}
