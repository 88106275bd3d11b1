// clankmere-e2e --list
// clankmere-e2e --run NAME --game PATH\Clankmere.exe --games DIR
// Runs one end-to-end test against a copy of the game that the test may change, and prints
// "PASS NAME" or "FAIL NAME: where and why".
#include "Scenario.h"

#include <cstdio>
#include <cstring>

std::vector<TestCase>& TestCases() {
    static std::vector<TestCase> cases;
    return cases;
}

TestRegistration::TestRegistration(const char* name, TestFunction run) {
    TestCases().push_back({name, run});
}

namespace {

constexpr int kExitUsage = 2;

int Usage() {
    std::fprintf(stderr,
                 "usage: clankmere-e2e --list\n"
                 "       clankmere-e2e --run NAME --game PATH\\Clankmere.exe --games DIR\n");
    return kExitUsage;
}

// The result is one line of plain text, whatever a window's title held.
std::string Printable(const char* text) {
    std::string out;
    for (const char* c = text; *c; ++c) {
        out += (*c >= ' ' && *c <= '~') ? *c : '?';
    }
    return out;
}

int Run(const TestCase& test, const Installation& context) {
    try {
        test.run(context);
    } catch (const Failure& failure) {
        std::printf("FAIL %s: %s\n", test.name, Printable(failure.what()).c_str());
        return 1;
    }
    std::printf("PASS %s\n", test.name);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        for (const TestCase& test : TestCases()) {
            std::printf("%s\n", test.name);
        }
        return 0;
    }
    const char* name = nullptr;
    Installation context;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--run") == 0) {
            name = argv[i + 1];
        } else if (std::strcmp(argv[i], "--game") == 0) {
            context.gamePath = argv[i + 1];
        } else if (std::strcmp(argv[i], "--games") == 0) {
            context.gamesDir = argv[i + 1];
        } else {
            return Usage();
        }
    }
    if (argc % 2 == 0 || !name || context.gamePath.empty() || context.gamesDir.empty()) {
        return Usage();
    }
    context.installDir = context.gamePath.substr(0, context.gamePath.find_last_of("\\/"));
    setvbuf(stdout, nullptr, _IONBF, 0);
    for (const TestCase& test : TestCases()) {
        if (std::strcmp(test.name, name) == 0) {
            return Run(test, context);
        }
    }
    std::printf("FAIL %s: no such test\n", name);
    return 1;
}
