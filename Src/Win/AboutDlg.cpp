#include "AboutDlg.h"

#include "Flavour.h"
#include "TextUtil.h"
#include "Version.h"
#include "resource.h"

#include <cstddef>
#include <cstdint>

namespace {

// The title box in the dialog's client coordinates; set while PaintAbout runs; set once the
// title has grown to full size during this opening of the dialog.
RECT g_aboutTitleRect;
bool g_aboutPainting;
bool g_aboutTitleDone;

constexpr char kTitle[] = "Clankmere";
constexpr int kTitleFullHeight = 72;
constexpr int kTitleGrowth = 2;
constexpr DWORD kTitleStepMs = 48;
constexpr UINT kCentredLine = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

struct AboutLine {
    int id;
    const char* text;
};
constexpr int kCreditHeight = 26;
constexpr AboutLine kCreditLines[] = {
    {IDC_ABOUT_CREDIT, "Original game by Edwin Marrable"},
};
constexpr int kVersionHeight = 18;
constexpr AboutLine kVersionLines[] = {
    {IDC_ABOUT_CREDIT_VERSION, "Version 2.1 * May 17, 1994"},
    {IDC_ABOUT_AUTHOR, "Clankmere by Nadia Korvath"},
    {IDC_ABOUT_AUTHOR_VERSION, "Version " CLANKMERE_VERSION_SHORT_TEXT " * December 1, 2026"},
};

// The placeholders the program draws over, and a text that is never shown.
constexpr int kHiddenControls[] = {IDC_ABOUT_TITLE,  IDC_ABOUT_NOTE,
                                   IDC_ABOUT_CREDIT, IDC_ABOUT_CREDIT_VERSION,
                                   IDC_ABOUT_AUTHOR, IDC_ABOUT_AUTHOR_VERSION};

HINSTANCE InstanceOf(HWND hWnd) {
    return reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hWnd, GWLP_HINSTANCE));
}

// OK and Cancel (also Esc and the close box) end both dialogs with their own identifier.
bool EndOnOkOrCancel(HWND hDlg, int id) {
    if (id != IDOK && id != IDCANCEL) {
        return false;
    }
    EndDialog(hDlg, id);
    return true;
}

INT_PTR CALLBACK HelpDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        return EndOnOkOrCancel(hDlg, LOWORD(wParam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

HFONT CreateFaceFont(int height, const char* face) {
    LOGFONTA description = {};
    description.lfHeight = height;
    CopyBounded(description.lfFaceName, sizeof description.lfFaceName, face);
    return CreateFontIndirectA(&description);
}

// Null when neither face can be had; the text then keeps the DC's font.
HFONT CreateAboutFont(int height) {
    HFONT font = CreateFaceFont(height, "Calibri");
    return font ? font : CreateFaceFont(height, "Arial");
}

// An about font selected into a DC for as long as the object lives.
class CSelectedAboutFont {
public:
    CSelectedAboutFont(HDC hdc, int height)
        : m_hdc(hdc), m_font(CreateAboutFont(height)),
          m_previous(m_font ? SelectObject(hdc, m_font) : nullptr) {}
    ~CSelectedAboutFont() {
        if (m_font) {
            SelectObject(m_hdc, m_previous);
            DeleteObject(m_font);
        }
    }
    CSelectedAboutFont(const CSelectedAboutFont&) = delete;
    CSelectedAboutFont& operator=(const CSelectedAboutFont&) = delete;

private:
    HDC m_hdc;
    HFONT m_font;
    HGDIOBJ m_previous;
};

// The control's rectangle in the dialog's client coordinates; false (and an empty rectangle)
// when the control is missing or cannot be converted.
bool GetDlgItemRect(HWND hDlg, int id, RECT* rect) {
    *rect = {};
    HWND hItem = GetDlgItem(hDlg, id);
    RECT onScreen;
    if (!hItem || !GetWindowRect(hItem, &onScreen)) {
        return false;
    }
    POINT corners[2] = {{onScreen.left, onScreen.top}, {onScreen.right, onScreen.bottom}};
    if (!ScreenToClient(hDlg, &corners[0]) || !ScreenToClient(hDlg, &corners[1])) {
        return false;
    }
    *rect = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    return true;
}

// Answers messages until the tick count passes `deadline`; false once the quit request has
// come (it is posted again for the main loop). Keys are the dialog's, as in its own modal loop:
// the main window's shortcuts (Esc quits, T teleports) must not act while About is open.
bool WaitInDialog(HWND hDlg, DWORD deadline) {
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return false;
            }
            if (!IsDialogMessageA(hDlg, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        const int32_t left = static_cast<int32_t>(deadline - GetTickCount());
        if (left <= 0) {
            return true;
        }
        WaitForInput(static_cast<DWORD>(left), kAnyInputMask, MWMO_INPUTAVAILABLE);
    }
}

// Each size is drawn opaque over the one before. The first time it grows from the smallest
// size, one step every 48 ms, answering messages between the steps so that the dialog can be
// moved or closed meanwhile; closing it ends the growth. Later paints show the full size.
void DrawTitle(HWND hDlg, HDC hdc) {
    DWORD deadline = GetTickCount();
    bool answering = true;
    for (int height = g_aboutTitleDone ? kTitleFullHeight : 1;
         height <= kTitleFullHeight && answering && IsWindowVisible(hDlg); height += kTitleGrowth) {
        deadline += kTitleStepMs;
        CSelectedAboutFont font(hdc, height);
        DrawTextA(hdc, kTitle, -1, &g_aboutTitleRect, kCentredLine);
        if (height < kTitleFullHeight) {
            answering = WaitInDialog(hDlg, deadline);
        }
    }
}

template <size_t N> void DrawLines(HWND hDlg, HDC hdc, const AboutLine (&lines)[N], int height) {
    CSelectedAboutFont font(hdc, height);
    for (const AboutLine& line : lines) {
        RECT rect;
        if (GetDlgItemRect(hDlg, line.id, &rect)) {
            DrawTextA(hdc, line.text, -1, &rect, kCentredLine);
        }
    }
}

// Draws straight onto the client area; a paint that arrives while the title grows draws
// nothing.
void PaintAbout(HWND hDlg) {
    if (g_aboutPainting) {
        return;
    }
    g_aboutPainting = true;
    HDC hdc = GetDC(hDlg);
    FillRect(hdc, &g_aboutTitleRect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FrameRect(hdc, &g_aboutTitleRect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawTitle(hDlg, hdc);
    SetBkMode(hdc, TRANSPARENT);
    DrawLines(hDlg, hdc, kCreditLines, kCreditHeight);
    DrawLines(hDlg, hdc, kVersionLines, kVersionHeight);
    ReleaseDC(hDlg, hdc);
    g_aboutPainting = false;
    g_aboutTitleDone = true;
}

INT_PTR CALLBACK AboutDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        g_aboutPainting = false;
        g_aboutTitleDone = false;
        GetDlgItemRect(hDlg, IDC_ABOUT_TITLE, &g_aboutTitleRect);
        for (int id : kHiddenControls) {
            ShowWindow(GetDlgItem(hDlg, id), SW_HIDE);
        }
        return TRUE;
    case WM_PAINT:
        // The dialog's own painting follows.
        PaintAbout(hDlg);
        return FALSE;
    case WM_COMMAND:
        return EndOnOkOrCancel(hDlg, LOWORD(wParam)) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowHowToPlay(HWND hOwner) {
    DialogBoxParamA(InstanceOf(hOwner), MAKEINTRESOURCEA(IDD_HOW_TO_PLAY), hOwner, HelpDlgProc, 0);
}

void ShowAbout(HWND hOwner) {
    DialogBoxParamA(InstanceOf(hOwner), MAKEINTRESOURCEA(IDD_ABOUT), hOwner, AboutDlgProc, 0);
}
