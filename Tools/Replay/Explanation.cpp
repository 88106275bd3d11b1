#include "Explanation.h"

#include "Hindsight.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The moves' names, by move character.
constexpr const char* kMoveNames[kNumMoves] = {"step down-left", "step down", "step down-right",
                                               "step left",      "wait",      "step right",
                                               "step up-left",   "step up",   "step up-right"};

// "you stepped left", "you teleported", ... for the record's character.
std::string WhatYouDid(char action) {
    switch (action) {
    case '5':
        return "you waited";
    case 'T':
        return "you teleported";
    case 'S':
        return "you used the screwdriver";
    case 'L':
        return "you made a Last Stand";
    case 'K':
        return "you made a Last Stand Minus 1";
    case 'J':
        return "you made a Last Stand Minus 2";
    default:
        // "step up-left" becomes "stepped up-left".
        return std::string("you stepped") + (kMoveNames[action - '1'] + 4);
    }
}

std::string Outcome(const Judgement& j) {
    if (!j.survived) {
        return "died";
    }
    return j.action == 'T' ? "landed safely" : "survived";
}

std::vector<std::string> SafeAlternatives(const Judgement& j) {
    std::vector<std::string> names;
    // The steps clockwise from up-left as on the keypad, then the wait.
    for (const char move : std::string("789632145")) {
        if (j.IsSafeMove(move)) {
            names.push_back(kMoveNames[move - '1']);
        }
    }
    if (j.teleportSafe) {
        names.push_back("teleport");
    }
    if (j.screwdriverSafe) {
        names.push_back("screwdriver");
    }
    if (j.lastStandSafe) {
        names.push_back("Last Stand");
    }
    return names;
}

// "1 level", "2 levels".
std::string Counted(size_t count, const char* noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

void PrintTable(const std::vector<Judgement>& judgements) {
    for (const Judgement& j : judgements) {
        std::printf("%c\t%d\t%d\t%s\n", j.action, j.SafeMoveCount(), j.teleportSafe ? 1 : 0,
                    !j.screwdriverLeft  ? "-"
                    : j.screwdriverSafe ? "1"
                                        : "0");
    }
}

// The turns where no step or wait was safe, with what the player did; returns how many.
size_t PrintCorneredTurns(const std::vector<Judgement>& judgements) {
    size_t cornered = 0;
    for (size_t i = 0; i < judgements.size(); ++i) {
        const Judgement& j = judgements[i];
        if (j.SafeMoveCount() == 0) {
            ++cornered;
            std::printf("Action %u (level %u): no step or wait was safe; %s and %s.\n",
                        static_cast<unsigned>(i + 1), static_cast<unsigned>(j.level),
                        WhatYouDid(j.action).c_str(), Outcome(j).c_str());
        }
    }
    return cornered;
}

// How the game ended and what would have survived the fatal turn; returns the summary's words
// on that moment.
std::string PrintEnding(const std::vector<Judgement>& judgements, const CGame& game) {
    const auto actions = static_cast<unsigned>(judgements.size());
    if (judgements.empty()) {
        std::printf("The record holds no action.\n");
        return "the game is still under way";
    }
    if (!game.m_gameOver) {
        std::printf("The game is still under way after action %u (level %u).\n", actions,
                    static_cast<unsigned>(game.m_level));
        return "the game is still under way";
    }
    const Judgement& fatal = judgements.back();
    const std::vector<std::string> safe = SafeAlternatives(fatal);
    const std::string verdict = safe.empty()
                                    ? "Nothing would have survived that turn."
                                    : "These would have survived that turn: " + Joined(safe) + ".";
    std::printf("The game ended at action %u (level %u), when %s. %s\n", actions,
                static_cast<unsigned>(fatal.level), WhatYouDid(fatal.action).c_str(),
                verdict.c_str());
    return Counted(safe.size(), "safe alternative") + " missed at the fatal moment";
}

void PrintSentences(const std::vector<Judgement>& judgements, const CGame& game) {
    const size_t cornered = PrintCorneredTurns(judgements);
    const std::string fatalMoment = PrintEnding(judgements, game);
    std::printf("Summary: %s over %s, %s with no safe step or wait, %s.\n",
                Counted(judgements.size(), "action").c_str(),
                Counted(game.m_level, "level").c_str(), Counted(cornered, "turn").c_str(),
                fatalMoment.c_str());
}

} // namespace

std::string ExplainRecord(CGame& game, int64_t startTime, const char* moves, bool tsv) {
    if (const char* foreign = FindForeignMove(moves)) {
        return "damaged record: character " + std::to_string(foreign - moves + 1) +
               " of the moves is no action";
    }
    const std::vector<Judgement> judgements = ExplainGame(game, startTime, moves);
    if (tsv) {
        PrintTable(judgements);
    } else {
        PrintSentences(judgements, game);
    }
    return "";
}
