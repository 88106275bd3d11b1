#include "HighScore.h"

#include "DataFolderWin.h"
#include "DisplayScale.h"
#include "Dpi.h"
#include "GameUI.h"
#include "HighScoreText.h"
#include "SavedAnimations.h"
#include "SavedGames.h"
#include "TextUtil.h"
#include "Watching.h"
#include "resource.h"

#include <windows.h>

#include <cstring>
#include <ctime>

namespace {

constexpr char kHighScoresFileName[] = "High Scores.txt";
constexpr char kHighScoresClassName[] = "High Scores";
constexpr char kHighScoresTitle[] = "High Scores";
constexpr DWORD kHighScoresStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// At 96 dots per inch; every size of the list grows with the dots per inch of its monitor.
constexpr int kListClientWidth = 512;
constexpr int kListClientHeight = 270;
// The longest name the dialog takes.
constexpr int kMaxNameChars = 30;

constexpr COLORREF kListBackground = RGB(240, 240, 240);
constexpr COLORREF kHighlightBackground = RGB(255, 255, 204);
constexpr COLORREF kWatchedBackground = RGB(204, 232, 255);
constexpr COLORREF kSelectedFrame = RGB(96, 96, 96);
constexpr COLORREF kListText = RGB(0, 0, 0);

constexpr char kListTitle[] = "Local High Scores";
constexpr RECT kTitleRect = {10, 10, 502, 40};
// The column headers; the rows follow them, one row height further down each.
constexpr RECT kScoreColumn = {10, 50, 70, 70};
constexpr RECT kNameColumn = {80, 50, 280, 70};
constexpr RECT kDateColumn = {290, 50, 502, 70};
constexpr RECT kFullRow = {10, 50, 502, 70};
constexpr int kRowHeight = 20;
constexpr UINT kCellFormat = DT_TOP | DT_SINGLELINE | DT_NOPREFIX;

// The name offered in and read from the dialog; it keeps the last name between dialogs.
char g_dialogName[kHighScoreNameSize];
// The name dialog while it is open.
HWND g_hNameDlg = nullptr;
// The list window while it is open; there is never more than one.
HWND g_hHighScoresWnd = nullptr;
// The dots per inch it is drawn at: its monitor's when made, then each that the system tells it.
UINT g_highScoresDpi = kBaseDpi;
// The row chosen with the arrow keys or a click, or -1.
int g_selectedRow = -1;

bool ToLocalTime(int64_t time, std::tm* local) {
    const std::time_t converted = static_cast<std::time_t>(time);
    if (static_cast<int64_t>(converted) != time) {
        return false;
    }
    const std::tm* calendar = std::localtime(&converted);
    if (!calendar) {
        return false;
    }
    *local = *calendar;
    return true;
}

RECT RowRect(RECT column, int index) {
    OffsetRect(&column, 0, (index + 1) * kRowHeight);
    return column;
}

void DrawTextIn(HDC hdc, const char* text, RECT rect, UINT format) {
    DrawTextA(hdc, text, -1, &rect, format);
}

void FillRectWith(HDC hdc, const RECT& rect, COLORREF color) {
    HBRUSH hBrush = CreateSolidBrush(color);
    FillRect(hdc, &rect, hBrush);
    DeleteObject(hBrush);
}

void PaintTitleAndHeaders(HDC hdc, const CGameGraphics& graphics) {
    SelectObject(hdc, graphics.LargeFont());
    DrawTextIn(hdc, kListTitle, kTitleRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(hdc, graphics.BoldUnderlineFont());
    DrawTextIn(hdc, "Score", kScoreColumn, DT_RIGHT | DT_TOP);
    DrawTextIn(hdc, "Player Name", kNameColumn, DT_LEFT | DT_TOP);
    DrawTextIn(hdc, "Date", kDateColumn, DT_LEFT | DT_TOP);
}

// The row of the game that has just ended stands out on a pale yellow band, in bold; the row
// being watched on a pale blue one; the chosen row has a gray frame.
void PaintRow(HDC hdc, const CGameGraphics& graphics, const HighScoreEntry& row, int index,
              int64_t now) {
    const bool justAchieved = row.date != 0 && row.date == g_game.m_endTime;
    if (IsWatchedRow(row)) {
        FillRectWith(hdc, RowRect(kFullRow, index), kWatchedBackground);
    } else if (justAchieved) {
        FillRectWith(hdc, RowRect(kFullRow, index), kHighlightBackground);
    }
    if (justAchieved) {
        SelectObject(hdc, graphics.BoldFont());
    }
    if (index == g_selectedRow) {
        const RECT frame = RowRect(kFullRow, index);
        HBRUSH hBrush = CreateSolidBrush(kSelectedFrame);
        FrameRect(hdc, &frame, hBrush);
        DeleteObject(hBrush);
    }
    HighScoreRowText text;
    FormatHighScoreRow(row, now, ToLocalTime, &text);
    DrawTextIn(hdc, text.score, RowRect(kScoreColumn, index), DT_RIGHT | kCellFormat);
    DrawTextIn(hdc, text.name, RowRect(kNameColumn, index), DT_LEFT | kCellFormat);
    DrawTextIn(hdc, text.date, RowRect(kDateColumn, index), DT_LEFT | kCellFormat);
    SelectObject(hdc, graphics.NormalFont());
}

// The list is laid out at 96 dots per inch; the mapping mode draws it at the window's own, with
// the fonts and every rectangle growing alike.
void MapListToDpi(HDC hdc, UINT dpi) {
    SetMapMode(hdc, MM_ANISOTROPIC);
    SetWindowExtEx(hdc, kBaseDpi, kBaseDpi, nullptr);
    SetViewportExtEx(hdc, static_cast<int>(dpi), static_cast<int>(dpi), nullptr);
}

void PaintHighScores(HDC hdc, HWND hWnd) {
    const CGameGraphics& graphics = g_host.Graphics();
    RECT client;
    GetClientRect(hWnd, &client);
    FillRectWith(hdc, client, kListBackground);
    MapListToDpi(hdc, g_highScoresDpi);
    HGDIOBJ hOldFont = SelectObject(hdc, graphics.NormalFont());
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kListText);
    const int64_t now = g_host.CurrentTime();
    PaintTitleAndHeaders(hdc, graphics);
    SelectObject(hdc, graphics.NormalFont());
    for (int i = 0; i < kNumHighScores; ++i) {
        PaintRow(hdc, graphics, g_host.HighScores().Entry(i), i, now);
    }
    SelectObject(hdc, hOldFont);
    SetMapMode(hdc, MM_TEXT);
}

// The outer size that gives the list its client area at `dpi`, with that dpi's frame.
SIZE HighScoresWindowSize(HWND hWnd, UINT dpi) {
    const int width = MulDiv(kListClientWidth, static_cast<int>(dpi), kBaseDpi);
    const int height = MulDiv(kListClientHeight, static_cast<int>(dpi), kBaseDpi);
    return WindowSizeForClient(hWnd, {width, height}, dpi);
}

// The row under a point of the client area, or -1.
int RowAt(POINT client) {
    const POINT at = {MulDiv(client.x, kBaseDpi, static_cast<int>(g_highScoresDpi)),
                      MulDiv(client.y, kBaseDpi, static_cast<int>(g_highScoresDpi))};
    for (int i = 0; i < kNumHighScores; ++i) {
        const RECT row = RowRect(kFullRow, i);
        if (PtInRect(&row, at)) {
            return i;
        }
    }
    return -1;
}

// The menu of the row under `screen`, where the right button went up: Save Animation..., gray
// for a row without a record; false, showing nothing, away from the rows (the caption keeps its
// system menu). The keyboard's context menu (at -1, -1) has no row to name.
bool OfferRowMenu(HWND hWnd, POINT screen) {
    POINT client = screen;
    ScreenToClient(hWnd, &client);
    const int index = RowAt(client);
    if (index < 0) {
        return false;
    }
    HMENU hMenu = LoadMenuA(g_host.UI().m_hInstance, MAKEINTRESOURCEA(IDR_HIGH_SCORES_ROW_MENU));
    if (!hMenu) {
        return true;
    }
    const HighScoreEntry row = g_host.HighScores().Entry(index);
    HMENU hRowMenu = GetSubMenu(hMenu, 0);
    EnableMenuItem(hRowMenu, IDM_SAVE_ANIMATION,
                   MF_BYCOMMAND | (ListedGameRecordPath(row).empty() ? MF_GRAYED : MF_ENABLED));
    const int command = static_cast<int>(TrackPopupMenu(hRowMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                        screen.x, screen.y, 0, hWnd, nullptr));
    DestroyMenu(hMenu);
    if (command == IDM_SAVE_ANIMATION) {
        SaveListedGameAnimation(hWnd, row);
    }
    return true;
}

// A row chosen with a double-click or Enter plays its game in the main window.
void WatchRow(int index) {
    if (index >= 0) {
        WatchListedGame(g_host.HighScores().Entry(index));
    }
}

// The arrow keys choose a row, Enter watches it; false for another key.
bool HandleListKey(HWND hWnd, WPARAM key) {
    switch (key) {
    case VK_UP:
        g_selectedRow = g_selectedRow <= 0 ? 0 : g_selectedRow - 1;
        break;
    case VK_DOWN:
        g_selectedRow =
            g_selectedRow >= kNumHighScores - 1 ? kNumHighScores - 1 : g_selectedRow + 1;
        break;
    case VK_RETURN:
        WatchRow(g_selectedRow);
        return true;
    default:
        return false;
    }
    InvalidateRect(hWnd, nullptr, FALSE);
    return true;
}

POINT ClientPoint(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

void StoreHighScoresPlacement(HWND hWnd) {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof placement;
    if (GetWindowPlacement(hWnd, &placement)) {
        g_game.m_prefs.m_highScoresWindowPlacement = FromWin32(placement);
    }
}

LRESULT CALLBACK HighScoresWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hWnd, &paint);
        PaintHighScores(hdc, hWnd);
        EndPaint(hWnd, &paint);
        return 0;
    }
    case WM_CONTEXTMENU:
        if (OfferRowMenu(
                hWnd, {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))})) {
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        g_selectedRow = RowAt(ClientPoint(lParam));
        InvalidateRect(hWnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDBLCLK:
        WatchRow(RowAt(ClientPoint(lParam)));
        return 0;
    case WM_KEYDOWN:
        if (HandleListKey(hWnd, wParam)) {
            return 0;
        }
        break;
    case WM_CLOSE:
        StoreHighScoresPlacement(hWnd);
        break;
    case WM_GETDPISCALEDSIZE: {
        // The size the window takes on the monitor it is moving to, so that the system keeps
        // the spot of the caption under the mouse.
        *reinterpret_cast<SIZE*>(lParam) = HighScoresWindowSize(hWnd, LOWORD(wParam));
        return TRUE;
    }
    case WM_DPICHANGED: {
        // Another size repaints the whole window: its class redraws on every change of size.
        const RECT& suggested = *reinterpret_cast<const RECT*>(lParam);
        g_highScoresDpi = LOWORD(wParam);
        const SIZE size = HighScoresWindowSize(hWnd, g_highScoresDpi);
        SetWindowPos(hWnd, nullptr, suggested.left, suggested.top, size.cx, size.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        g_hHighScoresWnd = nullptr;
        break;
    default:
        break;
    }
    return DefWindowProcA(hWnd, message, wParam, lParam);
}

bool RegisterHighScoresClass(HINSTANCE hInstance) {
    static bool registered = false;
    if (registered) {
        return true;
    }
    WNDCLASSEXA windowClass = RobotWindowClass(hInstance, HighScoresWndProc, kHighScoresClassName);
    windowClass.style |= CS_DBLCLKS;
    registered = RegisterClassExA(&windowClass) != 0;
    return registered;
}

// The window reopens where the player left it, in its normal state, at today's outer size.
void PlaceHighScoresWindow(HWND hWnd, const WindowPlacement& stored, SIZE size) {
    if (stored.length != 0) {
        WINDOWPLACEMENT placement = ToWin32(stored);
        placement.length = sizeof placement;
        placement.rcNormalPosition.right = placement.rcNormalPosition.left + size.cx;
        placement.rcNormalPosition.bottom = placement.rcNormalPosition.top + size.cy;
        placement.showCmd = SW_SHOW;
        if (SetWindowPlacement(hWnd, &placement)) {
            return;
        }
    }
    ShowWindow(hWnd, SW_SHOW);
}

void ReadPlayerName(HWND hDlg) {
    std::memset(g_dialogName, 0, sizeof g_dialogName);
    GetDlgItemTextA(hDlg, IDC_PLAYER_NAME, g_dialogName, kMaxNameChars + 1);
}

INT_PTR CALLBACK NameDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        g_hNameDlg = hDlg;
        // All of the offered name is selected, so that typing replaces it.
        HWND hEdit = GetDlgItem(hDlg, IDC_PLAYER_NAME);
        SetWindowTextA(hEdit, g_dialogName);
        SendMessageA(hEdit, EM_SETSEL, 0, -1);
        SetFocus(hEdit);
        return FALSE;
    }
    if (message != WM_COMMAND) {
        return FALSE;
    }
    switch (LOWORD(wParam)) {
    case IDOK:
        ReadPlayerName(hDlg);
        EndDialog(hDlg, IDOK);
        return TRUE;
    case IDCANCEL:
        // Esc and the close box keep the offered name.
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

std::string HighScoresFilePath() {
    char path[kMaxPathSize];
    return BuildDataPath(path, nullptr, kHighScoresFileName);
}

void TakeTypedPlayerName(CGame& game) {
    if (g_hNameDlg) {
        ReadPlayerName(g_hNameDlg);
        game.m_prefs.SetPlayerName(g_dialogName);
    }
}

void RepaintHighScores() {
    if (g_hHighScoresWnd) {
        InvalidateRect(g_hHighScoresWnd, nullptr, FALSE);
        UpdateWindow(g_hHighScoresWnd);
    }
}

bool IsHighScoresListKey(const MSG& msg) {
    return msg.hwnd == g_hHighScoresWnd && g_hHighScoresWnd && msg.message == WM_KEYDOWN &&
           (msg.wParam == VK_UP || msg.wParam == VK_DOWN || msg.wParam == VK_RETURN);
}

void CloseHighScores() {
    if (g_hHighScoresWnd) {
        SendMessageA(g_hHighScoresWnd, WM_CLOSE, 0, 0);
    }
}

void CWinGameHost::LoadHighScores() {
    m_highScores.LoadFromFile();
}

bool CWinGameHost::ScoreQualifies(int32_t score) {
    return m_highScores.QualifiesForTable(score);
}

// The score is entered whatever the dialog's outcome: after Cancel under the offered name.
void CWinGameHost::AskPlayerName(char* name) {
    CopyBounded(g_dialogName, sizeof g_dialogName, name);
    DialogBoxParamA(m_ui.m_hInstance, MAKEINTRESOURCEA(IDD_HIGH_SCORE_NAME), m_ui.m_hWnd,
                    NameDlgProc, 0);
    g_hNameDlg = nullptr;
    CopyBounded(name, kHighScoreNameSize, g_dialogName);
}

void CWinGameHost::WriteHighScoreGameRecord(uint64_t startTime, uint32_t score, const char* moves) {
    char fileName[kHighScoreGameFileNameSize];
    FormatHighScoreGameFileName(fileName, startTime);
    char path[kMaxPathSize];
    BuildDataPath(path, kHighScoreGamesFolder, fileName);
    WriteGameRecord(path, startTime, score, moves);
}

// A listed score is on disk at once: a crash, a power cut or a killed process later keeps it.
void CWinGameHost::InsertHighScore(int32_t score, const char* name, int16_t level, int64_t date) {
    m_highScores.Insert(score, name, level, date);
    m_highScores.SaveToFile();
}

void CWinGameHost::ShowHighScores() {
    if (g_hHighScoresWnd) {
        RepaintHighScores();
        ShowWindow(g_hHighScoresWnd, SW_SHOWNORMAL);
        ::BringWindowToTop(g_hHighScoresWnd);
        return;
    }
    if (!RegisterHighScoresClass(m_ui.m_hInstance)) {
        return;
    }
    // Made at the 96-dpi size, then sized for the monitor it lands on: the one of its stored
    // place, before it is placed there, so that it is shown at its size there whether or not the
    // system tells it of the move to other dots per inch.
    g_hHighScoresWnd = CreateWindowExA(
        0, kHighScoresClassName, kHighScoresTitle, kHighScoresStyle, CW_USEDEFAULT, CW_USEDEFAULT,
        kListClientWidth, kListClientHeight, nullptr, nullptr, m_ui.m_hInstance, nullptr);
    if (!g_hHighScoresWnd) {
        return;
    }
    const WindowPlacement& stored = m_game.m_prefs.m_highScoresWindowPlacement;
    g_highScoresDpi = stored.length != 0 ? MonitorDpiNear(ToWin32(stored).rcNormalPosition)
                                         : WindowDpi(g_hHighScoresWnd);
    const SIZE size = HighScoresWindowSize(g_hHighScoresWnd, g_highScoresDpi);
    SetWindowPos(g_hHighScoresWnd, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    PlaceHighScoresWindow(g_hHighScoresWnd, stored, size);
    UpdateWindow(g_hHighScoresWnd);
}

void CWinGameHost::ResetHighScores() {
    m_highScores.ClearToDefaults();
    m_highScores.SaveToFile();
    RepaintHighScores();
}

void CWinGameHost::SaveHighScores() {
    m_highScores.SaveToFile();
}
