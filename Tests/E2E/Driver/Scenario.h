// End-to-end tests: each a scenario registered by name, played against its own copy of the
// game through the automation library.
#pragma once

#include "Automation.h"

using TestFunction = void (*)(const Installation&);

struct TestCase {
    const char* name;
    TestFunction run;
};

std::vector<TestCase>& TestCases();

struct TestRegistration {
    TestRegistration(const char* name, TestFunction run);
};

#define E2E_TEST(name)                                                                             \
    static void name(const Installation&);                                                         \
    static const TestRegistration name##Registration(#name, name);                                 \
    static void name([[maybe_unused]] const Installation& context)
