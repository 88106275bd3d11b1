// A small test framework: test cases registered by name, failures that say where and why, and
// waits that poll for an effect instead of sleeping for a fixed time.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

// Where this test's copy of the game lives and where run.sh left the game records with the
// positions the replay tool computed for them.
struct TestContext {
    std::string gamePath;
    std::string installDir;
    std::string gamesDir;
};

using TestFunction = void (*)(const TestContext&);

struct TestCase {
    const char* name;
    TestFunction run;
};

std::vector<TestCase>& TestCases();

struct TestRegistration {
    TestRegistration(const char* name, TestFunction run);
};

#define E2E_TEST(name)                                                                             \
    static void name(const TestContext&);                                                          \
    static const TestRegistration name##Registration(#name, name);                                 \
    static void name([[maybe_unused]] const TestContext& context)

class TestFailure : public std::exception {
public:
    explicit TestFailure(std::string what) : m_what(std::move(what)) {}
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    std::string m_what;
};

std::string Format(const char* format, ...) __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

[[noreturn]] void Fail(const char* format, ...)
    __attribute__((format(__MINGW_PRINTF_FORMAT, 1, 2)));

// Everything a test waits for normally happens within a few hundred milliseconds; the limit
// only decides when a test gives up on an effect that does not come.
constexpr DWORD kPatienceMs = 20000;

// Polls `condition` until it holds; false when the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPatienceMs);
