#include "MainWindow.h"

#include <cstring>

namespace {

constexpr char kMainWindowClass[] = "Clankmere";

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND hWnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char className[64] = {};
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    GetClassNameA(hWnd, className, sizeof className);
    if (processId == search->processId && std::strcmp(className, kMainWindowClass) == 0 &&
        IsWindowVisible(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

} // namespace

HWND VisibleMainWindow(DWORD processId) {
    WindowSearch search = {processId, nullptr};
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
