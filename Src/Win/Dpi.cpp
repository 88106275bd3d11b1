#include "Dpi.h"

#include "DisplayScale.h"
#include "Flavour.h"
#include "ddutil.h"

#include <shellscalingapi.h>

#include <vector>

namespace {

// Newer functions are looked up by name, so that the program still starts where they are
// missing.
template <typename Function> Function* User32Function(const char* name) {
    return reinterpret_cast<Function*>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// Loaded once and kept for the life of the process; null before Windows 8.1.
HMODULE Shcore() {
    static HMODULE hShcore = LoadLibraryA("shcore.dll");
    return hShcore;
}

template <typename Function> Function* ShcoreFunction(const char* name) {
    return Shcore() ? reinterpret_cast<Function*>(
                          reinterpret_cast<void*>(GetProcAddress(Shcore(), name)))
                    : nullptr;
}

UINT SystemDpi() {
    HDC hdc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(hdc, LOGPIXELSX);
    ReleaseDC(nullptr, hdc);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}

// Caption and menu follow the monitor's DPI only in windows aware of it in the second way
// (Windows 10 1703 on). Windows 10 1607 knows only the first way: there they stay at the
// system's DPI, while the functions "for DPI" would measure them at the monitor's.
bool FrameFollowsMonitorDpi(HWND hWnd) {
    auto* context =
        User32Function<decltype(GetWindowDpiAwarenessContext)>("GetWindowDpiAwarenessContext");
    auto* equal =
        User32Function<decltype(AreDpiAwarenessContextsEqual)>("AreDpiAwarenessContextsEqual");
    return context && equal && equal(context(hWnd), DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

// The frame's scale at `dpi` in the work area `work`.
int ScaleInWorkArea(HWND hWnd, UINT dpi, const RECT& work) {
    const SIZE window = FrameWindowSize(hWnd, 1, dpi);
    return ChooseDisplayScale(static_cast<int>(dpi), WINDOW_WIDTH, WINDOW_HEIGHT,
                              window.cx - WINDOW_WIDTH, window.cy - WINDOW_HEIGHT,
                              work.right - work.left, work.bottom - work.top);
}

struct Monitors {
    std::vector<HMONITOR> handles;
    std::vector<ScreenSpan> spans;
};

BOOL CALLBACK CollectMonitor(HMONITOR hMonitor, HDC, LPRECT rect, LPARAM param) {
    auto* forMonitor = ShcoreFunction<decltype(GetDpiForMonitor)>("GetDpiForMonitor");
    UINT dpiX = 0;
    UINT dpiY = 0;
    if (forMonitor && SUCCEEDED(forMonitor(hMonitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY))) {
        auto* monitors = reinterpret_cast<Monitors*>(param);
        monitors->handles.push_back(hMonitor);
        monitors->spans.push_back(
            {rect->left, rect->top, rect->right, rect->bottom, static_cast<int>(dpiX)});
    }
    return TRUE;
}

// The work area of the monitor of `dpi` that a window at `area` moves onto; the one nearest to
// `area` when the monitors or their dots per inch cannot be read.
RECT WorkAreaMovedTo(UINT dpi, const RECT& area) {
    auto* enumerate = User32Function<decltype(EnumDisplayMonitors)>("EnumDisplayMonitors");
    auto* info = User32Function<decltype(GetMonitorInfoA)>("GetMonitorInfoA");
    Monitors monitors;
    if (enumerate && info &&
        enumerate(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors))) {
        const int chosen = MonitorMovedTo(
            monitors.spans.data(), static_cast<int>(monitors.spans.size()), static_cast<int>(dpi),
            {area.left, area.top, area.right, area.bottom, 0});
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        if (chosen >= 0 && info(monitors.handles[static_cast<size_t>(chosen)], &monitor)) {
            return monitor.rcWork;
        }
    }
    return WorkAreaNear(area);
}

} // namespace

void EnableDpiAwareness() {
    if constexpr (kDpiAware) {
        if (auto* setContext = User32Function<decltype(SetProcessDpiAwarenessContext)>(
                "SetProcessDpiAwarenessContext")) {
            setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        } else if (auto* setAwareness =
                       ShcoreFunction<decltype(SetProcessDpiAwareness)>("SetProcessDpiAwareness")) {
            setAwareness(PROCESS_PER_MONITOR_DPI_AWARE);
        } else if (auto* setAware =
                       User32Function<decltype(SetProcessDPIAware)>("SetProcessDPIAware")) {
            setAware();
        }
    }
}

UINT WindowDpi(HWND hWnd) {
    if constexpr (!kDpiAware) {
        static_cast<void>(hWnd);
        return kBaseDpi;
    } else {
        if (auto* forWindow = User32Function<decltype(GetDpiForWindow)>("GetDpiForWindow")) {
            return forWindow(hWnd);
        }
        UINT dpiX = 0;
        UINT dpiY = 0;
        auto* forMonitor = ShcoreFunction<decltype(GetDpiForMonitor)>("GetDpiForMonitor");
        if (forMonitor && SUCCEEDED(forMonitor(MonitorFromWindow(hWnd, MONITOR_DEFAULTTONEAREST),
                                               MDT_EFFECTIVE_DPI, &dpiX, &dpiY))) {
            return dpiX;
        }
        return SystemDpi();
    }
}

UINT MonitorDpiNear(const RECT& area) {
    if constexpr (!kDpiAware) {
        static_cast<void>(area);
        return kBaseDpi;
    } else {
        auto* fromRect = User32Function<decltype(MonitorFromRect)>("MonitorFromRect");
        auto* forMonitor = ShcoreFunction<decltype(GetDpiForMonitor)>("GetDpiForMonitor");
        UINT dpiX = 0;
        UINT dpiY = 0;
        if (fromRect && forMonitor &&
            SUCCEEDED(forMonitor(fromRect(&area, MONITOR_DEFAULTTONEAREST), MDT_EFFECTIVE_DPI,
                                 &dpiX, &dpiY))) {
            return dpiX;
        }
        return SystemDpi();
    }
}

UINT DialogDpi(HWND hDlg) {
    if constexpr (!kDpiAware) {
        return WindowDpi(hDlg);
    } else {
        return FrameFollowsMonitorDpi(hDlg) ? WindowDpi(hDlg) : SystemDpi();
    }
}

SIZE WindowSizeForClient(HWND hWnd, SIZE client, UINT dpi) {
    const auto style = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongA(hWnd, GWL_EXSTYLE));
    const BOOL menu = GetMenu(hWnd) != nullptr;
    RECT rect = {0, 0, client.cx, client.cy};
    auto* forDpi = User32Function<decltype(AdjustWindowRectExForDpi)>("AdjustWindowRectExForDpi");
    if (!forDpi || !FrameFollowsMonitorDpi(hWnd) || !forDpi(&rect, style, menu, exStyle, dpi)) {
        AdjustWindowRectEx(&rect, style, menu, exStyle);
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

SIZE FrameWindowSize(HWND hWnd, int scale, UINT dpi) {
    return WindowSizeForClient(hWnd, {WINDOW_WIDTH * scale, WINDOW_HEIGHT * scale}, dpi);
}

int ChooseFrameScale(HWND hWnd, UINT dpi, const RECT& area) {
    if constexpr (!kDpiAware) {
        static_cast<void>(hWnd);
        static_cast<void>(dpi);
        static_cast<void>(area);
        return 1;
    } else {
        return ScaleInWorkArea(hWnd, dpi, WorkAreaNear(area));
    }
}

int ChooseFrameScaleForMove(HWND hWnd, UINT dpi) {
    if constexpr (!kDpiAware) {
        static_cast<void>(hWnd);
        static_cast<void>(dpi);
        return 1;
    } else {
        RECT rect = {};
        GetWindowRect(hWnd, &rect);
        return ScaleInWorkArea(hWnd, dpi, WorkAreaMovedTo(dpi, rect));
    }
}

RECT WorkAreaNear(const RECT& area) {
    auto* fromRect = User32Function<decltype(MonitorFromRect)>("MonitorFromRect");
    auto* info = User32Function<decltype(GetMonitorInfoA)>("GetMonitorInfoA");
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!fromRect || !info || !info(fromRect(&area, MONITOR_DEFAULTTONEAREST), &monitor)) {
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    }
    return monitor.rcWork;
}

RECT KeptInside(const RECT& window, const RECT& work) {
    const LONG width = window.right - window.left;
    const LONG height = window.bottom - window.top;
    const LONG left = KeepInside(window.left, width, work.left, work.right);
    const LONG top = KeepInside(window.top, height, work.top, work.bottom);
    return {left, top, left + width, top + height};
}
