#include "Automation.h"

POINT HighScoresRowBackground(int index) {
    return {500, 70 + 20 * index + 10};
}

HWND WaitForHighScoresList(int scale, const std::string& when, std::optional<LONG> clientLeft) {
    const HWND list = WaitForHighScoresWindow(when);
    CheckClientSize(list, kHighScoresWidth * scale, kHighScoresHeight * scale,
                    Format("%s the High Scores window at %dx:", when.c_str(), scale));
    if (clientLeft) {
        MoveClientLeftTo(list, *clientLeft);
    }
    const POINT rowEnd = HighScoresRowBackground(0);
    if (!WaitUntil([&] {
            return CaptureClient(list).At(rowEnd.x * scale, rowEnd.y * scale) ==
                   kHighScoresBackground;
        })) {
        Fail("%s the High Scores window shows no list", when.c_str());
    }
    return list;
}
