#include "RecordingHost.h"

#include "Game.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const kSoundNames[kNumGameSounds] = {"RobotDies", "Intro", "PlayerDies", "Screwdriver",
                                                 "Teleport"};

const char* KillerName(KillerKind kind) {
    return kind == kKillerRobot ? "robot" : "heap";
}

std::string Record(const char* name, uint64_t startTime, uint32_t score, const char* moves) {
    return std::string(name) + "(" + std::to_string(startTime) + "," + std::to_string(score) + "," +
           moves + ")";
}

} // namespace

std::vector<std::string> CRecordingHost::Only(std::initializer_list<const char*> prefixes) const {
    std::vector<std::string> kept;
    for (const std::string& call : calls) {
        for (const char* prefix : prefixes) {
            if (call.rfind(prefix, 0) == 0) {
                kept.push_back(call);
                break;
            }
        }
    }
    return kept;
}

int CRecordingHost::Count(const std::string& call) const {
    return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

void CRecordingHost::SetDrawingSuppressed(bool suppressed) {
    Add(suppressed ? "SuppressDrawing" : "ResumeDrawing");
}

void CRecordingHost::SetRobotStepRects(Robot& robot) {
    ComputeRobotStepRects(robot);
    Add("SetRobotStepRects", robot.x, robot.y);
}

void CRecordingHost::HighlightKiller(int x, int y, KillerKind kind) {
    Add(std::string("HighlightKiller:") + KillerName(kind), x, y);
}

void CRecordingHost::RestoreKiller(int x, int y, KillerKind kind) {
    Add(std::string("RestoreKiller:") + KillerName(kind), x, y);
}

void CRecordingHost::AnimatePlayerDeath(int x, int y, bool leaveHeap) {
    Add(std::string("AnimatePlayerDeath:") + (leaveHeap ? "heap" : "clear"), x, y);
}

void CRecordingHost::AnimateTeleport(int fromX, int fromY, int toX, int toY) {
    Add("AnimateTeleport(" + std::to_string(fromX) + "," + std::to_string(fromY) + "->" +
        std::to_string(toX) + "," + std::to_string(toY) + ")");
}

void CRecordingHost::AnimateScrewdriver(int effect, int x, int y, int radius) {
    Add("AnimateScrewdriver(" + std::to_string(effect) + "," + std::to_string(x) + "," +
        std::to_string(y) + "," + std::to_string(radius) + ")");
}

void CRecordingHost::ApplyIconSet(int32_t index) {
    if (index < iconSets) {
        currentIconSet = index;
    }
    Add("ApplyIconSet", index);
}

int32_t CRecordingHost::NextIconSet() {
    currentIconSet = currentIconSet + 1 >= iconSets ? 0 : currentIconSet + 1;
    Add("NextIconSet");
    return currentIconSet;
}

void CRecordingHost::PlaySound(GameSound sound) {
    Add(std::string("Sound:") + kSoundNames[sound]);
}

bool CRecordingHost::ConfirmMessage(const char* text) {
    Add(std::string("Confirm: ") + text);
    return confirm;
}

void CRecordingHost::FatalError(const char* text) {
    std::fprintf(stderr, "fatal: %s\n", text);
    std::_Exit(1);
}

void CRecordingHost::RunAdvancedOptionsDialog() {
    Add("AdvancedOptionsDialog");
    if (dialogTarget && dialogEdit) {
        dialogEdit(*dialogTarget);
    }
}

bool CRecordingHost::ScoreQualifies(int32_t score) {
    Add("ScoreQualifies", score);
    return qualifies;
}

void CRecordingHost::AskPlayerName(char* name) {
    Add(std::string("AskPlayerName:") + name);
    std::strncpy(name, nameToEnter.c_str(), 31);
    name[31] = '\0';
}

void CRecordingHost::WriteHighScoreGameRecord(uint64_t startTime, uint32_t score,
                                              const char* moves) {
    Add(Record("HighScoreRecord", startTime, score, moves));
}

void CRecordingHost::InsertHighScore(int32_t score, const char* name, int16_t level, int64_t date) {
    Add("InsertHighScore(" + std::to_string(score) + "," + name + "," + std::to_string(level) +
        "," + std::to_string(date) + ")");
}

void CRecordingHost::WriteLastGameRecord(uint64_t startTime, uint32_t score, const char* moves) {
    Add(Record("LastGameRecord", startTime, score, moves));
}

void CRecordingHost::SaveGameInProgress(uint64_t startTime, uint32_t score, const char* moves) {
    Add(Record("SaveGameInProgress", startTime, score, moves));
}
