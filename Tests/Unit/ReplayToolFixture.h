// The replay tool run as players and scripts run it, in a scratch folder.
#pragma once

#include "TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <sys/wait.h>

class ReplayToolTest : public ::testing::Test {
protected:
    CTempDir dir;
    const std::string record = dir.Path("game.txt");
    const std::string prefs = dir.Path("prefs.bin");
    std::string out;
    std::string err;

    // The exit code of the tool run with `arguments`; its output and messages in out and err.
    int Run(const std::string& arguments) {
        const std::string outPath = dir.Path("out.txt");
        const std::string errPath = dir.Path("err.txt");
        const int status = std::system(
            (CLANKMERE_REPLAY_TOOL " " + arguments + " >" + outPath + " 2>" + errPath).c_str());
        out = ReadFile(outPath);
        err = ReadFile(errPath);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};
