// clankmere-e2e --run NAME --game PATH\Clankmere.exe --games DIR
// Runs one end-to-end test against a copy of the game that the test may change, and prints
// "PASS NAME" or "FAIL NAME: where and why".
#include "Scenario.h"

#include <cstdio>
#include <cstring>

namespace {

// The result is one line of plain text, whatever a window's title held.
std::string Printable(const char* text) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        out += (*c >= ' ' && *c <= '~') ? *c : '?';
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 7 || std::strcmp(argv[1], "--run") != 0 || std::strcmp(argv[3], "--game") != 0 ||
        std::strcmp(argv[5], "--games") != 0) {
        std::fputs("usage: clankmere-e2e --run NAME --game PATH\\Clankmere.exe --games DIR\n",
                   stderr);
        return 2;
    }
    const std::string game = argv[4];
    const Installation context{game, game.substr(0, game.find_last_of("\\/")), argv[6]};
    setvbuf(stdout, nullptr, _IONBF, 0);
    for (const TestCase& test : TestCases()) {
        if (std::strcmp(test.name, argv[2]) != 0) {
            continue;
        }
        try {
            test.run(context);
        } catch (const Failure& failure) {
            std::printf("FAIL %s: %s\n", test.name, Printable(failure.what()).c_str());
            return 1;
        }
        std::printf("PASS %s\n", test.name);
        return 0;
    }
    std::printf("FAIL %s: no such test\n", argv[2]);
    return 1;
}
