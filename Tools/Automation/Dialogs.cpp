#include "Automation.h"

#include <algorithm>

namespace {

constexpr char kNoteText[] = "Note: your current settings are not compatible with the original "
                             "scoring rules, so you will not be eligible for the High Score list.";

} // namespace

void CloseDialog(Game& game, const MenuDialog& dialog, int button, const char* when, bool note) {
    Click(dialog.window, button);
    WaitUntilClosed(dialog.window, when);
    if (note) {
        game.Answer("Message", kNoteText, when);
    }
    game.WaitForCommandEnd(dialog, when);
}

void CloseDialogWithKey(Game& game, const MenuDialog& dialog, WORD key, const char* when) {
    BringToFront(dialog.window, "the dialog");
    PressKey(key);
    WaitUntilClosed(dialog.window, when);
    game.WaitForCommandEnd(dialog, when);
}

void CheckControlText(HWND dialog, int id, const char* expected, const char* when) {
    const std::string text = TextOf(Control(dialog, id));
    if (text != expected) {
        Fail("%s control %d shows \"%s\" instead of \"%s\"", when, id, text.c_str(), expected);
    }
}

void ClickAndCheck(HWND dialog, const std::vector<int>& clicks,
                   const std::vector<ControlState>& states, const char* when) {
    for (const int id : clicks) {
        Click(dialog, id);
    }
    CheckControls(dialog, states, when);
}

std::string TwoColourDifference(const Picture& expected, const Picture& shown) {
    if (shown.width != expected.width || shown.height != expected.height) {
        return Format("%d x %d pixels instead of %d x %d", shown.width, shown.height,
                      expected.width, expected.height);
    }
    const size_t white = std::find_if(expected.pixels.begin(), expected.pixels.end(),
                                      [](uint32_t pixel) { return pixel != 0; }) -
                         expected.pixels.begin();
    const uint32_t background = shown.pixels[white];
    for (size_t i = 0; i < expected.pixels.size(); ++i) {
        if (background == 0 || shown.pixels[i] != (expected.pixels[i] == 0 ? 0 : background)) {
            return Format("(%zu, %zu) is %s", i % expected.width, i / expected.width,
                          DescribeColor(shown.pixels[i]).c_str());
        }
    }
    return {};
}

bool HasDarkPixel(const Picture& picture, const RECT& rect) {
    for (LONG y = rect.top + 1; y < rect.bottom - 1; ++y) {
        for (LONG x = rect.left + 1; x < rect.right - 1; ++x) {
            if ((picture.At(x, y) & 0xFF) < 0x40) {
                return true;
            }
        }
    }
    return false;
}

bool HasPixelOf(const Picture& picture, const RECT& rect, uint32_t color) {
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        for (LONG x = rect.left; x < rect.right; ++x) {
            if (picture.At(x, y) == color) {
                return true;
            }
        }
    }
    return false;
}
