#include "Effects.h"

#include "Random.h"
#include "Sprites.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

PixelGrid squareInFrame(const PixelGrid& square) {
    PixelGrid frame(kFrameWidth, kFrameHeight);
    frame.draw(square, 0, kSquareTopInFrame);
    return frame;
}

// A roughly round cloud whose letters run along `ramp` from the middle to the edge.
struct Cloud {
    double centreX;
    double centreY;
    double radius;
    std::string ramp;
    double roughness; // how far the edge wanders, as a share of the radius
    std::uint32_t seed;
};

constexpr int kEdgeSteps = 12;

std::array<double, kEdgeSteps> edgeWobble(Random& random, double roughness) {
    std::array<double, kEdgeSteps> wobble{};
    for (double& step : wobble) {
        step = 1.0 + roughness * random.signedUnit();
    }
    return wobble;
}

double wobbleAt(const std::array<double, kEdgeSteps>& wobble, double angle) {
    const double position = (angle + kPi) / (2.0 * kPi) * kEdgeSteps;
    const int before = static_cast<int>(std::floor(position)) % kEdgeSteps;
    const int after = (before + 1) % kEdgeSteps;
    const double blend = position - std::floor(position);
    return wobble[static_cast<std::size_t>(before)] * (1.0 - blend) +
           wobble[static_cast<std::size_t>(after)] * blend;
}

void drawCloud(PixelGrid& frame, const Cloud& cloud) {
    Random random(cloud.seed);
    const auto wobble = edgeWobble(random, cloud.roughness);
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const double dx = x + 0.5 - cloud.centreX;
            const double dy = y + 0.5 - cloud.centreY;
            const double reach = cloud.radius * wobbleAt(wobble, std::atan2(dy, dx));
            const double depth = std::sqrt(dx * dx + dy * dy) / reach;
            if (depth < 1.0) {
                const auto band = static_cast<std::size_t>(depth * cloud.ramp.size());
                frame.set(x, y, cloud.ramp[band]);
            }
        }
    }
}

// Short streaks flying out from the blast: metal chips or sparks.
void drawFlyingBits(PixelGrid& frame, double distance, char letter, std::uint32_t seed) {
    Random random(seed);
    constexpr int kBits = 7;
    for (int i = 0; i < kBits; ++i) {
        const double angle = 2.0 * kPi * (i + 0.5 * random.unit()) / kBits;
        const double reach = distance * (0.8 + 0.4 * random.unit());
        const int x = static_cast<int>(std::lround(7.5 + reach * std::cos(angle)));
        const int y = static_cast<int>(std::lround(9.0 + reach * std::sin(angle)));
        frame.plot(x, y, letter);
    }
}

PixelGrid robotFrame() {
    return squareInFrame(robotSprite());
}

PixelGrid heapFrame() {
    return squareInFrame(scrapHeapSprite());
}

PixelGrid robotFlashFrame() {
    PixelGrid frame = robotFrame();
    drawCloud(frame, {7.5, 7.5, 3.5, "wwy", 0.2, 11});
    drawFlyingBits(frame, 6.5, 'y', 12);
    return frame;
}

PixelGrid fireballFrame() {
    PixelGrid frame = robotFrame();
    drawCloud(frame, {7.5, 8.5, 6.5, "wwyyoor", 0.25, 21});
    drawFlyingBits(frame, 8.0, 'm', 22);
    return frame;
}

PixelGrid fullBlastFrame() {
    PixelGrid frame(kFrameWidth, kFrameHeight);
    drawCloud(frame, {7.5, 10.0, 7.8, "wyyoorrx", 0.2, 31});
    drawFlyingBits(frame, 9.5, 'd', 32);
    return frame;
}

// A tongue of flame standing on (baseX, baseY): round at the bottom, swaying to a point on top.
void drawFlame(PixelGrid& frame, double baseX, int baseY, int height, double halfWidth) {
    for (int rise = 0; rise < height; ++rise) {
        const double share = static_cast<double>(rise) / height;
        const double reach = halfWidth * std::sqrt(std::sin(kPi * (0.2 + 0.8 * share)));
        const double middle = baseX + 0.8 * std::sin(rise * 0.8 + baseX);
        for (int x = 0; x < frame.width(); ++x) {
            const double offset = std::fabs(x + 0.5 - middle) / reach;
            if (offset < 1.0) {
                frame.plot(x, baseY - rise, offset < 0.35 ? 'y' : offset < 0.7 ? 'o' : 'r');
            }
        }
    }
}

struct Circle {
    double centreX;
    double centreY;
    double radius;
};

// Round puffs of light smoke with a dark rim.
void drawSmoke(PixelGrid& frame, const std::vector<Circle>& puffs) {
    PixelGrid smoke(frame.width(), frame.height());
    for (const Circle& puff : puffs) {
        for (int y = 0; y < smoke.height(); ++y) {
            for (int x = 0; x < smoke.width(); ++x) {
                const double dx = x + 0.5 - puff.centreX;
                const double dy = y + 0.5 - puff.centreY;
                if (dx * dx + dy * dy < puff.radius * puff.radius) {
                    smoke.set(x, y, 'v');
                }
            }
        }
    }
    frame.draw(smoke.outlined('x'), 0, 0);
}

PixelGrid burningHeapFrame() {
    PixelGrid frame = heapFrame();
    drawSmoke(frame, {{6.0, 3.5, 2.6}, {9.5, 2.5, 2.2}});
    drawFlame(frame, 5.0, 15, 9, 2.8);
    drawFlame(frame, 10.5, 14, 11, 3.0);
    drawFlame(frame, 8.0, 16, 6, 2.0);
    return frame;
}

PixelGrid smokingHeapFrame() {
    PixelGrid frame = heapFrame();
    drawSmoke(frame, {{6.5, 5.0, 2.4}, {9.0, 3.0, 2.0}, {11.0, 5.5, 1.6}});
    drawFlame(frame, 7.0, 15, 5, 1.8);
    return frame;
}

} // namespace

std::vector<PixelGrid> explosionFrames() {
    return {robotFrame(),       robotFlashFrame(),  fireballFrame(), fullBlastFrame(),
            burningHeapFrame(), smokingHeapFrame(), heapFrame()};
}

namespace {

// A wisp of smoke curling up from the wrecked head; `phase` moves the curl along.
PixelGrid smolderFrame(int phase) {
    PixelGrid frame = scrapHeapSprite();
    constexpr int kWispBottom = 5;
    for (int y = 1; y <= kWispBottom; ++y) {
        const double sway = std::sin(y * 1.1 + phase * 2.1);
        const int x = 8 + static_cast<int>(std::lround(sway));
        const char letter = y > 3 ? 'x' : 'v';
        frame.set(x, y, letter);
        if (y > 2) {
            frame.set(x - 1, y, letter);
        }
    }
    return frame;
}

} // namespace

std::vector<PixelGrid> smolderFrames() {
    std::vector<PixelGrid> frames;
    for (int phase = 0; phase < kSmolderFrameCount; ++phase) {
        frames.push_back(smolderFrame(phase));
    }
    return frames;
}

namespace {

constexpr int kGroundRow = 15; // the row of the player's feet in a frame

PixelGrid playerRemains() {
    PixelGrid frame(kFrameWidth, kFrameHeight);
    frame.draw(PixelGrid::fromRows({
                   "........v.......",
                   ".......v........",
                   "......kkkk......",
                   "....kkttttkk....",
                   "...kttthtttxk...",
                   "..bbkttttttkbb..",
               }),
               0, kGroundRow - 5);
    return frame;
}

PixelGrid playerFrame() {
    return squareInFrame(playerSprite());
}

// The player lit up by the fatal blow: outline kept, everything inside flashes white.
PixelGrid playerFlashFrame() {
    PixelGrid frame = playerFrame();
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (!frame.isClear(x, y) && frame.at(x, y) != 'k') {
                frame.set(x, y, 'w');
            }
        }
    }
    drawFlyingBits(frame, 7.0, 'y', 61);
    return frame;
}

// The bottom rows of the remains, growing as the player crumbles; `time` runs from 0 to 1.
void drawGrowingPile(PixelGrid& frame, double time) {
    const PixelGrid remains = playerRemains();
    const int firstRow = kGroundRow + 1 - static_cast<int>(std::lround(time * 4.0));
    for (int y = firstRow; y <= kGroundRow; ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (!remains.isClear(x, y)) {
                frame.set(x, y, remains.at(x, y));
            }
        }
    }
}

// Each pixel of the player comes loose at its own moment, the head first, and falls as dust.
PixelGrid crumblingFrame(double time) {
    PixelGrid frame(kFrameWidth, kFrameHeight);
    drawGrowingPile(frame, time);
    const PixelGrid player = playerSprite();
    Random random(71);
    for (int y = 0; y < player.height(); ++y) {
        for (int x = 0; x < player.width(); ++x) {
            const double release = 0.05 + 0.5 * random.unit() + 0.35 * y / player.height();
            if (player.isClear(x, y)) {
                continue;
            }
            const int top = y + kSquareTopInFrame;
            const double falling = std::max(0.0, time - release);
            const int fallY = top + static_cast<int>(40.0 * falling * falling);
            const char letter = falling == 0.0 ? player.at(x, y) : 't';
            if (fallY < kGroundRow && frame.isClear(x, fallY)) {
                frame.set(x, fallY, letter);
            }
        }
    }
    return frame;
}

} // namespace

std::vector<PixelGrid> playerDeathFrames() {
    std::vector<PixelGrid> frames{playerFrame(), playerFlashFrame()};
    constexpr int kCrumblingFrames = kPlayerDeathFrameCount - 3;
    for (int step = 1; step <= kCrumblingFrames; ++step) {
        frames.push_back(crumblingFrame(static_cast<double>(step) / kCrumblingFrames));
    }
    frames.push_back(playerRemains());
    return frames;
}

} // namespace artgen
