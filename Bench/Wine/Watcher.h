// A run of the program under measurement, watched from outside: its process and main window,
// the CPU time it has used, and the moments at which chosen parts of its window change.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

// A change of one watched region: which one, when (milliseconds after the command was posted)
// and how much CPU time the program had used by then (milliseconds).
struct Change {
    size_t region;
    double ms;
    double cpuMs;
};

// The CPU time of a process. Under Wine, GetProcessTimes of another process does not tell
// that process's times; the kernel's figures under /proc, reached through the Z: drive, do.
class ProcessClock {
public:
    ProcessClock(HANDLE process, const char* commandLine);
    double CpuMs() const;

private:
    HANDLE m_process;
    std::string m_statPath;
};

class WatchedProgram {
public:
    // Starts the program in its own folder and waits until its window shows a still picture.
    explicit WatchedProgram(const char* path);
    ~WatchedProgram();
    WatchedProgram(const WatchedProgram&) = delete;
    WatchedProgram& operator=(const WatchedProgram&) = delete;

    // User and kernel time of the process so far.
    double CpuMs() const;
    // Posts the command to the main window, then polls the regions (client coordinates) about
    // every millisecond until they have been still for `quietMs` after a first change, or
    // `limitMs` have passed.
    std::vector<Change> PostAndRecord(int command, const std::vector<RECT>& regions, DWORD quietMs,
                                      DWORD limitMs);

private:
    void WaitForStillPicture();

    PROCESS_INFORMATION m_process = {};
    HWND m_window = nullptr;
    std::unique_ptr<ProcessClock> m_clock;
};

// Milliseconds from the performance counter.
double NowMs();
