// The driver's side of the helper DLL that runs inside the game (Probe/Probe.cpp).
#pragma once

#include "../Probe/ProbeProtocol.h"

#include <string>
#include <vector>

struct MenuItem {
    bool separator = false;
    int id = 0;
    bool grayed = false;
    bool disabled = false;
    bool checked = false;
    std::string text;
};

struct Menu {
    std::string title;
    std::vector<MenuItem> items;
};

class ProbeClient {
public:
    // Loads the DLL into the game, whose main window must exist already.
    ProbeClient(HANDLE process, DWORD pid);
    ~ProbeClient();
    ProbeClient(const ProbeClient&) = delete;
    ProbeClient& operator=(const ProbeClient&) = delete;

    // How many WM_COMMAND messages the main window has finished handling.
    LONG CommandsDone() const { return m_shared->commandsDone; }
    // The identifiers of those handled after the first `mark`, in order.
    std::vector<int> CommandsSince(LONG mark) const;

    std::vector<Menu> ReadMenus();

    // The game's beeps and the wake masks of its waits, counted since the DLL was loaded.
    const ProbeShared& Seen() const { return *m_shared; }

private:
    HANDLE m_mapping = nullptr;
    HANDLE m_request = nullptr;
    HANDLE m_reply = nullptr;
    ProbeShared* m_shared = nullptr;
};

// The menu bar as text, for failure messages.
std::string DescribeMenus(const std::vector<Menu>& menus);
