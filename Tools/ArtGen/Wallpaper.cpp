#include "Wallpaper.h"

#include "Random.h"

#include <array>
#include <cmath>

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kLatticeSteps = 8;
constexpr int kLatticeSpacing = kWallpaperSize / kLatticeSteps;

using Lattice = std::array<std::array<double, kLatticeSteps>, kLatticeSteps>;

Lattice randomLattice() {
    Random random(2024);
    Lattice lattice{};
    for (auto& row : lattice) {
        for (double& value : row) {
            value = random.unit();
        }
    }
    return lattice;
}

double smoothStep(double t) {
    return t * t * (3.0 - 2.0 * t);
}

// Smooth noise in [0, 1] whose lattice wraps around, so opposite edges of the tile match.
double cloudiness(const Lattice& lattice, int x, int y) {
    const int cellX = x / kLatticeSpacing;
    const int cellY = y / kLatticeSpacing;
    const double u = smoothStep(static_cast<double>(x % kLatticeSpacing) / kLatticeSpacing);
    const double v = smoothStep(static_cast<double>(y % kLatticeSpacing) / kLatticeSpacing);
    const auto at = [&lattice](int lx, int ly) {
        return lattice[static_cast<std::size_t>(ly % kLatticeSteps)]
                      [static_cast<std::size_t>(lx % kLatticeSteps)];
    };
    const double top = at(cellX, cellY) * (1 - u) + at(cellX + 1, cellY) * u;
    const double bottom = at(cellX, cellY + 1) * (1 - u) + at(cellX + 1, cellY + 1) * u;
    return top * (1 - v) + bottom * v;
}

// A faint diagonal weave; its period divides the tile size.
double weave(int x, int y) {
    constexpr double kPeriod = 16.0;
    return 0.5 +
           0.25 * (std::sin(2 * kPi * (x + y) / kPeriod) + std::sin(2 * kPi * (x - y) / kPeriod));
}

std::uint8_t channel(double base, double darkening) {
    return static_cast<std::uint8_t>(std::lround(base - darkening));
}

} // namespace

Image wallpaper() {
    const Lattice lattice = randomLattice();
    Random grain(77);
    Image tile(kWallpaperSize, kWallpaperSize);
    for (int y = 0; y < kWallpaperSize; ++y) {
        for (int x = 0; x < kWallpaperSize; ++x) {
            const double shade =
                7.0 * cloudiness(lattice, x, y) + 3.0 * weave(x, y) + 2.0 * grain.unit();
            tile.set(x, y,
                     {channel(222, shade * 0.8), channel(255, shade), channel(222, shade * 0.8)});
        }
    }
    return tile;
}

} // namespace artgen
