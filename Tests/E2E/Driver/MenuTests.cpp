// The menu bar: its texts, the Sound check mark, and the action items that are gray while no
// game is in progress, after a death that leaves its last frame on the board.
#include "Game.h"
#include "Records.h"
#include "Scene.h"

#include <set>

namespace {

struct ExpectedItem {
    int id; // 0: a separator
    const char* text;
};

struct ExpectedMenu {
    const char* title;
    std::vector<ExpectedItem> items;
};

const std::vector<ExpectedMenu>& ExpectedMenuBar() {
    static const std::vector<ExpectedMenu> bar = {
        {"&File", {{40037, "&New Game\tCtrl+N"}, {0, nullptr}, {1001, "E&xit\tCtrl+Q"}}},
        {"&Game",
         {{40013, "Use &Screwdriver\tS"},
          {40012, "&Teleport\tT"},
          {0, nullptr},
          {40014, "&Last Stand\tL"},
          {40015, "Last Stand Minus &1\t1"},
          {40016, "Last Stand Minus &2\t2"},
          {0, nullptr},
          {40017, "Toggle &Grid\tG"},
          {40022, "Toggle &Color\tC"},
          {40033, "Soun&d"},
          {0, nullptr},
          {40018, "Advanced &Options...\tO"},
          {40039, "Show &High Scores"},
          {40035, "Clear High Scores"}}},
        {"&Help", {{40036, "&How to Play...\tF1"}, {40055, "&About Clankmere..."}}},
    };
    return bar;
}

constexpr int kSoundItem = 40033;
// Teleport, Use Screwdriver and the three Last Stand items.
const std::set<int> kActionItems = {40012, 40013, 40014, 40015, 40016};

std::string Visible(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\t' ? std::string("\\t") : std::string(1, c);
    }
    return "\"" + out + "\"";
}

std::string DescribeExpected(const ExpectedItem& item) {
    return item.id == 0 ? std::string("a separator")
                        : Format("%s (%d)", Visible(item.text).c_str(), item.id);
}

std::string DescribeFound(const MenuItem& item) {
    return item.separator ? std::string("a separator")
                          : Format("%s (%d)", Visible(item.text).c_str(), item.id);
}

// Empty when the texts and identifiers are as they should be.
std::string FirstTextDifference(const std::vector<Menu>& menus) {
    const std::vector<ExpectedMenu>& expected = ExpectedMenuBar();
    if (menus.size() != expected.size()) {
        return Format("the menu bar has %zu menus instead of %zu", menus.size(), expected.size());
    }
    for (size_t m = 0; m < expected.size(); ++m) {
        if (menus[m].title != expected[m].title) {
            return Format("menu %zu is %s instead of %s", m, Visible(menus[m].title).c_str(),
                          Visible(expected[m].title).c_str());
        }
        const std::vector<MenuItem>& items = menus[m].items;
        for (size_t i = 0; i < std::max(items.size(), expected[m].items.size()); ++i) {
            const std::string want =
                i < expected[m].items.size() ? DescribeExpected(expected[m].items[i]) : "nothing";
            const std::string have = i < items.size() ? DescribeFound(items[i]) : "nothing";
            if (want != have) {
                return Format("%s menu, item %zu: expected %s, found %s", expected[m].title, i,
                              want.c_str(), have.c_str());
            }
        }
    }
    return {};
}

// Empty when exactly the items in `grayed` are gray, and only Sound is checked (when
// `soundChecked`).
std::string FirstStateDifference(const std::vector<Menu>& menus, const std::set<int>& grayed,
                                 bool soundChecked) {
    for (const Menu& menu : menus) {
        for (const MenuItem& item : menu.items) {
            if (item.separator) {
                continue;
            }
            const bool wantGray = grayed.count(item.id) != 0;
            // Gray items may or may not carry the disabled bit as well; others carry neither.
            if (wantGray ? !item.grayed : (item.grayed || item.disabled)) {
                return Format("%s is %s", Visible(item.text).c_str(),
                              wantGray ? "not grayed" : "grayed or disabled");
            }
            const bool wantCheck = item.id == kSoundItem && soundChecked;
            if (item.checked != wantCheck) {
                return Format("%s is %s", Visible(item.text).c_str(),
                              wantCheck ? "not checked" : "checked");
            }
        }
    }
    return {};
}

void WaitForMenuStates(Game& game, const std::set<int>& grayed, const std::string& when) {
    std::string difference;
    std::vector<Menu> menus;
    if (!WaitUntil([&] {
            menus = game.Probe().ReadMenus();
            difference = FirstStateDifference(menus, grayed, true);
            return difference.empty();
        })) {
        Fail("%s: %s; menus: %s", when.c_str(), difference.c_str(), DescribeMenus(menus).c_str());
    }
}

} // namespace

E2E_TEST(menus_and_death_frame_follow_the_end_of_the_game) {
    // The played move of this record steps into a robot.
    ResumedGame resumed(context, "game-over");
    Game& game = resumed.game;
    std::string difference;
    if (!WaitUntil([&] {
            difference = FirstTextDifference(game.Probe().ReadMenus());
            return difference.empty();
        })) {
        Fail("%s", difference.c_str());
    }
    WaitForMenuStates(game, {}, "during the resumed game with default preferences");

    const size_t step = resumed.resumed;
    const Position position = resumed.recorded.PositionAfter(step);
    const POINT player = PlayerCell(position);
    const int key = resumed.moves[step] - '1';
    const POINT killer = {player.x + key % 3 - 1, player.y + 1 - key / 3};
    if (position.At(killer.x, killer.y) != '1' || !resumed.recorded.PositionAfter(step + 1).over) {
        Fail("game-over.txt: its played move must step into a robot and end the game");
    }
    EnsureNumLockOn();
    game.Command(NumericPadKey(resumed.moves[step]), kNoModifiers, "the fatal step");

    // The death scene: arrows hidden, the killer shown exploding, the player dying (the last
    // frame also onto the canvas), the killer drawn again over its own cell only.
    Scene scene(position, resumed.sheet);
    scene.EraseArrows(position);
    scene.Erase(Scene::CellArea(killer.x, killer.y, kFrameHeight));
    scene.Draw(ExplosionFrame(0), killer.x, killer.y);
    scene.Erase(Scene::CellArea(player.x, player.y, kFrameHeight));
    scene.Draw(DeathFrame(kLastDeathFrame), player.x, player.y);
    scene.EraseCell(killer.x, killer.y);
    scene.Draw(kRobotSprite, killer.x, killer.y);
    WaitForFinalPicture(game, scene.BackBuffer(),
                        Format("after the death at cell (%ld, %ld), which must keep the last death "
                               "frame",
                               player.x, player.y));
    WaitForMenuStates(game, kActionItems, "once the game is over");

    game.Command('N', kCtrl, "Ctrl+N");
    WaitForMenuStates(game, {}, "after Ctrl+N");
}
