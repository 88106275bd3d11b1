#pragma once

#include <cstddef>
#include <vector>

namespace artgen {

constexpr int kSampleRate = 22050;

using Samples = std::vector<double>;

std::size_t sampleCount(double seconds);
double secondsAt(std::size_t index);

// Waveforms of a phase counted in turns: 0 to 1 is one cycle. All swing between -1 and 1.
double sineWave(double phase);
double squareWave(double phase, double duty);
double sawWave(double phase);
double triangleWave(double phase);

// Keeps the phase running smoothly while the frequency changes from sample to sample.
class Oscillator {
public:
    // The phase for this sample, then moves on by one sample at `frequency` hertz.
    double step(double frequency);

private:
    double phase_ = 0.0;
};

// A gentle one-pole low-pass filter.
class LowPass {
public:
    double process(double input, double cutoff);

private:
    double state_ = 0.0;
};

// `from` at share 0 to `to` at share 1, evenly in pitch (an exponential slide).
double glide(double from, double to, double share);
// 1 at time 0, halving every `halfLife` seconds.
double decay(double seconds, double halfLife);
// Rises over `attack` seconds, holds, and falls over the last `release` seconds of `length`.
double attackRelease(double seconds, double attack, double length, double release);

// Short linear fades at both ends so that the sound starts and stops without a click.
void fadeEdges(Samples& samples, double fadeIn, double fadeOut);
// Scales the sound so that its loudest sample reaches `peak`.
void normalize(Samples& samples, double peak);
// Adds `source`, scaled by `gain`, into `target` from `start` seconds on, growing `target`.
void mixInto(Samples& target, const Samples& source, double start, double gain);

} // namespace artgen
