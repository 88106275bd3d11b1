#include "AboutDlg.h"

#include "DisplayScale.h"
#include "Dpi.h"
#include "Flavour.h"
#include "TextUtil.h"
#include "Version.h"
#include "resource.h"

#include <cstddef>
#include <cstdint>

namespace {

// The title box in the dialog's client coordinates at the last paint; set while PaintAbout
// runs; set once the title has grown to full size during this opening of the dialog.
RECT g_aboutTitleRect;
bool g_aboutPainting;
bool g_aboutTitleDone;

// The help picture's box, the OK button under it and the client area in dialog units, as the
// resource script lays them out.
constexpr RECT kHelpPictureBox = {7, 7, 7 + 336, 7 + 174};
constexpr RECT kHelpOkButton = {294, 187, 294 + 50, 187 + 14};
constexpr RECT kHelpClientArea = {0, 0, 351, 208};
// The bitmap the help picture control loaded itself, while it shows a copy fitted to the dots
// per inch of the dialog's monitor.
HBITMAP g_hLoadedHelpPicture;
constexpr UINT kRefitHelpPictureMessage = WM_APP;

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

// A DC of its own with `bitmap` selected for as long as the object lives.
class CBitmapDC {
public:
    explicit CBitmapDC(HBITMAP bitmap)
        : m_hdc(CreateCompatibleDC(nullptr)), m_previous(SelectObject(m_hdc, bitmap)) {}
    ~CBitmapDC() {
        SelectObject(m_hdc, m_previous);
        DeleteDC(m_hdc);
    }
    CBitmapDC(const CBitmapDC&) = delete;
    CBitmapDC& operator=(const CBitmapDC&) = delete;
    HDC Get() const { return m_hdc; }

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

HBITMAP CreateColourBitmap(SIZE size) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.cx;
    info.bmiHeader.biHeight = size.cy;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
}

// The one-bit `picture` of `from` pixels at `to` pixels, in the colours the dialog gives it:
// black as its text, white as its face. Smoothly scaled unless `blocks`, where each pixel
// becomes an exact block. Null when the bitmaps cannot be made.
HBITMAP ScaleHelpPicture(HBITMAP picture, SIZE from, SIZE to, bool blocks) {
    HBITMAP coloured = CreateColourBitmap(from);
    HBITMAP scaled = CreateColourBitmap(to);
    if (coloured && scaled) {
        CBitmapDC source(picture);
        CBitmapDC middle(coloured);
        CBitmapDC target(scaled);
        SetTextColor(middle.Get(), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(middle.Get(), GetSysColor(COLOR_3DFACE));
        BitBlt(middle.Get(), 0, 0, from.cx, from.cy, source.Get(), 0, 0, SRCCOPY);
        SetStretchBltMode(target.Get(), blocks ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(target.Get(), 0, 0, nullptr);
        StretchBlt(target.Get(), 0, 0, to.cx, to.cy, middle.Get(), 0, 0, from.cx, from.cy, SRCCOPY);
    } else if (scaled) {
        DeleteObject(scaled);
        scaled = nullptr;
    }
    if (coloured) {
        DeleteObject(coloured);
    }
    return scaled;
}

// The dialog font need not grow exactly with the dots per inch: where the picture in whole
// blocks is larger than its box, the OK button lies lower (or further right) than the layout
// puts it, and the dialog is larger, by as much. Both are measured from the layout, so that
// fitting the picture again makes no more room than once.
void MakeRoomForHelpPicture(HWND hDlg, SIZE excess) {
    excess = {excess.cx > 0 ? excess.cx : 0, excess.cy > 0 ? excess.cy : 0};
    RECT button = kHelpOkButton;
    RECT client = kHelpClientArea;
    if (!MapDialogRect(hDlg, &button) || !MapDialogRect(hDlg, &client)) {
        return;
    }
    SetWindowPos(GetDlgItem(hDlg, IDOK), nullptr, button.left + excess.cx, button.top + excess.cy,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE size = WindowSizeForClient(
        hDlg, {client.right + excess.cx, client.bottom + excess.cy}, WindowDpi(hDlg));
    SetWindowPos(hDlg, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// At 96 dots per inch the help picture fills its box at its own size. Elsewhere the picture
// control would shrink to that size inside the grown dialog: it shows a copy fitted to the box
// instead, whole-number enlargements as exact pixel blocks like the board's.
void FitHelpPictureToDpi(HWND hDlg) {
    const int dpi = static_cast<int>(DialogDpi(hDlg));
    HWND hPicture = GetDlgItem(hDlg, IDC_HELP_PICTURE);
    auto* loaded = reinterpret_cast<HBITMAP>(SendMessageA(hPicture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP picture;
    if (!loaded || !GetObjectA(loaded, sizeof picture, &picture)) {
        return;
    }
    if (dpi == kBaseDpi) {
        // Room made at other dots per inch, which the move here has scaled, goes.
        MakeRoomForHelpPicture(hDlg, {0, 0});
        return;
    }
    RECT box = kHelpPictureBox;
    MapDialogRect(hDlg, &box);
    const bool blocks = dpi % kBaseDpi == 0;
    const SIZE size =
        blocks ? SIZE{picture.bmWidth * (dpi / kBaseDpi), picture.bmHeight * (dpi / kBaseDpi)}
               : SIZE{box.right - box.left, box.bottom - box.top};
    HBITMAP scaled = ScaleHelpPicture(loaded, {picture.bmWidth, picture.bmHeight}, size, blocks);
    if (!scaled) {
        return;
    }
    g_hLoadedHelpPicture = reinterpret_cast<HBITMAP>(
        SendMessageA(hPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(scaled)));
    SetWindowPos(hPicture, nullptr, box.left, box.top, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    MakeRoomForHelpPicture(hDlg,
                           {size.cx - (box.right - box.left), size.cy - (box.bottom - box.top)});
}

// The control ends its life with the bitmap it loaded itself; the fitted copy is ours.
void RestoreLoadedHelpPicture(HWND hDlg) {
    if (g_hLoadedHelpPicture) {
        HGDIOBJ scaled = reinterpret_cast<HGDIOBJ>(
            SendDlgItemMessageA(hDlg, IDC_HELP_PICTURE, STM_SETIMAGE, IMAGE_BITMAP,
                                reinterpret_cast<LPARAM>(g_hLoadedHelpPicture)));
        DeleteObject(scaled);
        g_hLoadedHelpPicture = nullptr;
    }
}

INT_PTR CALLBACK HelpDlgProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        FitHelpPictureToDpi(hDlg);
        return TRUE;
    case WM_DPICHANGED:
        // The dialog manager lays the dialog out anew for the other monitor once this returns;
        // the picture is fitted to that layout afterwards.
        PostMessageA(hDlg, kRefitHelpPictureMessage, 0, 0);
        return FALSE;
    case kRefitHelpPictureMessage:
        RestoreLoadedHelpPicture(hDlg);
        FitHelpPictureToDpi(hDlg);
        return TRUE;
    case WM_DESTROY:
        RestoreLoadedHelpPicture(hDlg);
        return FALSE;
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

// An about font selected into a DC for as long as the object lives; `height` is at 96 dots per
// inch and grows with the dots per inch the dialog is laid out at, so that each line keeps to
// its box.
class CSelectedAboutFont {
public:
    CSelectedAboutFont(HWND hDlg, HDC hdc, int height)
        : m_hdc(hdc),
          m_font(CreateAboutFont(MulDiv(height, static_cast<int>(DialogDpi(hDlg)), kBaseDpi))),
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
        CSelectedAboutFont font(hDlg, hdc, height);
        DrawTextA(hdc, kTitle, -1, &g_aboutTitleRect, kCentredLine);
        if (height < kTitleFullHeight) {
            answering = WaitInDialog(hDlg, deadline);
        }
    }
}

template <size_t N> void DrawLines(HWND hDlg, HDC hdc, const AboutLine (&lines)[N], int height) {
    CSelectedAboutFont font(hDlg, hdc, height);
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
    // Measured anew each time: the dialog grows and shrinks with the dots per inch of the
    // monitor it is moved to.
    GetDlgItemRect(hDlg, IDC_ABOUT_TITLE, &g_aboutTitleRect);
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
