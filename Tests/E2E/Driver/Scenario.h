// End-to-end tests: each a scenario registered by name, played against its own copy of the
// game through the automation library.
#pragma once

#include "Automation.h"

using TestFunction = void (*)(const Installation&);

struct TestCase {
    const char* name;
    TestFunction run;
};

inline std::vector<TestCase>& TestCases() {
    static std::vector<TestCase> cases;
    return cases;
}

#define E2E_TEST(name)                                                                             \
    static void name(const Installation&);                                                         \
    static const bool name##Registered = (TestCases().push_back({#name, name}), true);             \
    static void name([[maybe_unused]] const Installation& context)
