#include "Automation.h"

namespace {

// Wine now and then fails to start a process (error 1359, an internal error).
constexpr int kStartAttempts = 3;

// True once the process has written a whole line to `output`.
bool ReadLine(HANDLE output) {
    char c = '\0';
    DWORD read = 0;
    while (c != '\n' && ReadFile(output, &c, 1, &read, nullptr) && read == 1) {
    }
    return c == '\n';
}

} // namespace

Program::Program(const std::string& path, const std::vector<std::string>& arguments) {
    HANDLE output = nullptr;
    HANDLE programOutput = nullptr;
    if (!CreatePipe(&output, &programOutput, nullptr, 0)) {
        Fail("cannot make a pipe (error %lu)", GetLastError());
    }
    SetHandleInformation(programOutput, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = programOutput;
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    std::string commandLine = "\"" + path + "\"";
    for (const std::string& argument : arguments) {
        commandLine += " \"" + argument + "\"";
    }
    bool started = false;
    DWORD error = 0;
    for (int attempt = 0; attempt < kStartAttempts && !started; ++attempt) {
        started = CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                 DETACHED_PROCESS, nullptr, nullptr, &startup, &m_process) != 0;
        error = GetLastError();
    }
    CloseHandle(programOutput);
    const bool ready = started && ReadLine(output);
    CloseHandle(output);
    if (!started) {
        Fail("cannot start %s (error %lu)", path.c_str(), error);
    }
    if (!ready) {
        Close();
        Fail("%s ended before its first line", path.c_str());
    }
}

Program::~Program() {
    Close();
}

void Program::Kill() {
    if (WaitForSingleObject(m_process.hProcess, 0) != WAIT_TIMEOUT) {
        Fail("the program ended by itself");
    }
    TerminateProcess(m_process.hProcess, 1);
    if (WaitForSingleObject(m_process.hProcess, kPatienceMs) != WAIT_OBJECT_0) {
        Fail("the program did not end when it was terminated");
    }
}

void Program::Close() {
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, kPatienceMs);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = {};
}
