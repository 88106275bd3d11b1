// The replay tool's GIF of a game, decoded by a decoder that is not ours (Pillow): its frames,
// their times, the parts and scales, and the messages for requests it cannot draw.
#include "BoardArt.h"
#include "GameGif.h"
#include "Preferences.h"
#include "Random.h"
#include "ReplayToolFixture.h"

#include <sstream>
#include <vector>

namespace {

// Level 1 is cleared by action 9; level 2 goes on for five actions more.
constexpr const char* kTwoLevels =
    "Time:\t1666263244\r\nScore:\t0\r\nPlatform:\tx\r\nMoves:\t717771593. 19453\r\n";

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<int> durations;
};

class ReplayGifTest : public ReplayToolTest {
protected:
    void SetUp() override { WriteFile(record, kTwoLevels); }

    // Pillow's reading of `gif`; the `frames` asked for go to the scratch folder `folder`.
    Decoded Decode(const std::string& gif, const std::string& folder, const std::string& frames) {
        const std::string listing = dir.Path("frames.txt");
        std::filesystem::create_directories(dir.Path(folder));
        EXPECT_EQ(std::system(("/usr/bin/python3 " CLANKMERE_REPO_ROOT "/Tests/decode-gif.py " +
                               gif + " " + dir.Path(folder) + " " + frames + " >" + listing)
                                  .c_str()),
                  0);
        std::istringstream in(ReadFile(listing));
        Decoded decoded;
        int count = 0;
        in >> decoded.width >> decoded.height >> count;
        for (int ms = 0; in >> ms;) {
            decoded.durations.push_back(ms);
        }
        return decoded;
    }

    // Frame `index` of those decoded into `folder`.
    artgen::Image Frame(const std::string& folder, int index) {
        const std::optional<artgen::Image> image =
            ReadBitmapFile(dir.Path(folder + "/frame-" + std::to_string(index) + ".bmp"));
        return image ? *image : artgen::Image(1, 1);
    }
};

// "" when `found`, scaled down by `scale`, shows `expected`; else the first pixel that differs.
std::string FirstDifference(const artgen::Image& expected, const artgen::Image& found,
                            int scale = 1) {
    if (found.width() != expected.width() * scale || found.height() != expected.height() * scale) {
        return "the frame is " + std::to_string(found.width()) + " x " +
               std::to_string(found.height());
    }
    for (int y = 0; y < found.height(); ++y) {
        for (int x = 0; x < found.width(); ++x) {
            if (found.at(x, y) != expected.at(x / scale, y / scale)) {
                return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") differs";
            }
        }
    }
    return "";
}

// Every frame after the first stores only what changed, over the frames before it; the first
// frame of a part is drawn whole. Both must show the same position.
TEST_F(ReplayGifTest, EveryStoredChangeAddsUpToTheWholePositionOfAPart) {
    ASSERT_EQ(Run("--gif " + dir.Path("game.gif") + " " + record), 0) << err;
    const Decoded whole = Decode(dir.Path("game.gif"), "whole", "0 1 8 10 11 15");
    // A frame for each level's first position and one after each of the 14 actions.
    ASSERT_EQ(whole.durations.size(), 16u);
    EXPECT_EQ(whole.width, 496);
    EXPECT_EQ(whole.height, 322);
    EXPECT_EQ(whole.durations.front(), 1000) << "a new level";
    EXPECT_EQ(whole.durations[1], 770) << "a step: the player's slide and the robots'";
    EXPECT_EQ(whole.durations[9], 3100) << "a step with explosions, and the pause before level 2";
    EXPECT_EQ(whole.durations.back(), 3000) << "the final position";
    const struct {
        int first, last;
        int frames;
        int wholeFrame; // the whole game's frame of the position before `first`
    } parts[] = {
        {1, 1, 2, 0}, {2, 4, 4, 1}, {9, 9, 3, 8}, {10, 11, 3, 10}, {11, 14, 5, 11},
    };
    for (const auto& part : parts) {
        const std::string actions = std::to_string(part.first) + "-" + std::to_string(part.last);
        SCOPED_TRACE("--actions " + actions);
        ASSERT_EQ(Run("--gif " + dir.Path("part.gif") + " --actions " + actions + " " + record), 0);
        EXPECT_EQ(Decode(dir.Path("part.gif"), "part", "0").durations.size(), size_t(part.frames));
        EXPECT_EQ(FirstDifference(Frame("whole", part.wholeFrame), Frame("part", 0)), "");
    }
    ASSERT_EQ(Run("--gif " + dir.Path("big.gif") + " --scale 3 --actions 11-14 " + record), 0);
    const Decoded big = Decode(dir.Path("big.gif"), "big", "0 -1");
    EXPECT_EQ(big.width, 3 * 496);
    EXPECT_EQ(FirstDifference(Frame("whole", 11), Frame("big", 0), 3), "") << "scale 3, first";
    EXPECT_EQ(FirstDifference(Frame("whole", 15), Frame("big", -1), 3), "") << "scale 3, last";
}

TEST_F(ReplayGifTest, RequestsItCannotDrawAreNamedOnOneLineWithExitCodeTwo) {
    const std::string gif = dir.Path("out.gif");
    const struct {
        std::string arguments;
        std::string named;
    } requests[] = {
        {"--gif " + gif + " " + dir.Path("none.txt"), dir.Path("none.txt")},
        {"--gif " + dir.Path("no/such/folder/out.gif") + " " + record, "no/such/folder/out.gif"},
        {"--gif " + gif + " --scale 0 " + record, "--scale"},
        {"--gif " + gif + " --scale 5 " + record, "--scale"},
        {"--gif " + gif + " --scale two " + record, "--scale"},
        {"--gif " + gif + " --actions 5-2 " + record, "--actions"},
        {"--gif " + gif + " --actions 0-3 " + record, "--actions"},
        {"--gif " + gif + " --actions 7 " + record, "--actions"},
        {"--gif " + gif + " --actions 3-15 " + record, "14 actions"},
        {"--gif " + record + " " + record, "other than a GIF"},
    };
    const std::string recordText = ReadFile(record);
    for (const auto& request : requests) {
        SCOPED_TRACE(request.arguments);
        EXPECT_EQ(Run(request.arguments), 2);
        EXPECT_NE(err.find(request.named), std::string::npos) << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_FALSE(std::filesystem::exists(gif));
        EXPECT_EQ(ReadFile(record), recordText);
    }
    EXPECT_EQ(Run("--scale 2 " + record), 2) << "a scale without --gif";
}

// The game programs film the game under way, which goes on drawing from the same generator.
TEST(GameGif, FilmingAGameLeavesTheRandomGeneratorWhereItWas) {
    SeedRandom(7);
    const RandomState before = SaveRandomState();
    MakeGameGif(1666263244, "717771593. 19453", nullptr, GeneratedBoardArt(), GifPart{});
    std::vector<uint16_t> drawn;
    std::vector<uint16_t> expected;
    for (auto* draws : {&drawn, &expected}) {
        for (int i = 0; i < 5; ++i) {
            draws->push_back(RandomUpTo(999));
        }
        RestoreRandomState(before);
    }
    EXPECT_EQ(drawn, expected);
}

// The frames' delays in milliseconds, read from the graphic control blocks of `gif`.
std::vector<int> FrameDelays(const std::vector<uint8_t>& gif) {
    std::vector<int> delays;
    for (size_t i = 0; i + 5 < gif.size(); ++i) {
        if (gif[i] == 0x21 && gif[i + 1] == 0xF9 && gif[i + 2] == 4) {
            delays.push_back(10 * (gif[i + 4] | gif[i + 5] << 8));
        }
    }
    return delays;
}

// Each action's frame lasts as long as the game animates it, at each speed setting: normal, the
// untimed animation (which takes away the steps', the explosions' and the death's waits and keeps
// the teleport's and the screwdriver's), and the Last Stand's fast and untimed speeds (its
// robots' turns alone). A frame is never shorter than 20 ms.
TEST(GameGif, EachActionIsShownAsLongAsTheGameAnimatesItAtEverySpeed) {
    const struct {
        const char* moves;
        int frame; // the frame after the action of that number
        int ms[4]; // normal, untimed animation, fast Last Stand, untimed Last Stand
    } rows[] = {
        // 16 slide frames of 16 ms, then the robots' 16 of 32 ms.
        {"75", 1, {770, 20, 770, 770}},
        // ... then seven explosion frames of 128 ms.
        {"717775", 5, {1660, 20, 1660, 1660}},
        // ... then the 1440 ms before the next level, untimed or not.
        {"717771593", 9, {3100, 1440, 3100, 3100}},
        // 18 rings of 32 ms out, 287 ms, 18 rings in, 288 ms, then the robots' turn.
        {"7177T5", 5, {2240, 1730, 2240, 2240}},
        // 320 ms shown, 480 ms after, then the robots' turn.
        {"7177S5", 5, {1310, 800, 1310, 1310}},
        // One robots' turn before a robot comes within a cell: 32, 0, 8 and 0 ms a frame.
        {"K5", 1, {510, 20, 130, 20}},
    };
    for (const auto& row : rows) {
        for (int speed = 0; speed < 4; ++speed) {
            SCOPED_TRACE(std::string(row.moves) + " at speed " + std::to_string(speed));
            CPreferences2 prefs;
            prefs.SetDefaults();
            prefs.m_untimedAnimation = speed == 1;
            prefs.m_lastStandFast = speed == 2;
            prefs.m_lastStandUntimed = speed == 3;
            uint8_t record[kPrefsRecordSize];
            prefs.WriteRecord(record);
            CPreferencesSnapshot settings;
            settings.Write(record);
            const std::vector<int> delays = FrameDelays(
                MakeGameGif(1666263244, row.moves, &settings, GeneratedBoardArt(), GifPart{}));
            ASSERT_GT(delays.size(), size_t(row.frame + 1));
            EXPECT_EQ(delays[row.frame], row.ms[speed]);
        }
    }
}
} // namespace
