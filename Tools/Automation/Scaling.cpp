#include "Automation.h"

#include <cstdlib>

int ScaledLength(LONG length, UINT dpi) {
    return MulDiv(length, static_cast<int>(dpi), 96);
}

RECT ScaledRect(RECT rect, UINT dpi) {
    return {ScaledLength(rect.left, dpi), ScaledLength(rect.top, dpi),
            ScaledLength(rect.right, dpi), ScaledLength(rect.bottom, dpi)};
}

void CheckInkScaled(const RECT& at96, const RECT& at, UINT dpi, const char* what) {
    const LONG edges96[] = {at96.left, at96.top, at96.right, at96.bottom};
    const LONG edges[] = {at.left, at.top, at.right, at.bottom};
    for (int i = 0; i < 4; ++i) {
        const LONG expected = ScaledLength(edges96[i], dpi);
        if (IsRectEmpty(&at96) || std::labs(edges[i] - expected) > 3 + expected / 20) {
            Fail("%s: its ink at %u dpi is (%ld, %ld, %ld, %ld), not (%ld, %ld, %ld, %ld) scaled",
                 what, dpi, at.left, at.top, at.right, at.bottom, at96.left, at96.top, at96.right,
                 at96.bottom);
        }
    }
}

std::vector<int> IconGroupSizes(HMODULE module, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));
    const auto* group =
        found ? static_cast<const BYTE*>(LockResource(LoadResource(module, found))) : nullptr;
    if (!group) {
        Fail("the program has no icon group %d", id);
    }
    // A header of three words, then an entry of 14 bytes per image, its width first (0: 256).
    const WORD count = *reinterpret_cast<const WORD*>(group + 4);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const BYTE width = group[6 + 14 * i];
        sizes.push_back(width == 0 ? 256 : width);
    }
    return sizes;
}

Picture DrawnIcon(HMODULE module, int id, int side) {
    auto* icon =
        static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, side, side, 0));
    if (!icon) {
        Fail("no %d-pixel icon %d can be loaded", side, id);
    }
    const Picture drawn = IconPicture(icon, side, side, Rgb(255, 255, 255));
    DestroyIcon(icon);
    return drawn;
}
