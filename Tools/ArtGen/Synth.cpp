#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

constexpr double kPi = 3.14159265358979323846;

} // namespace

std::size_t sampleCount(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
}

double secondsAt(std::size_t index) {
    return static_cast<double>(index) / kSampleRate;
}

double sineWave(double phase) {
    return std::sin(2.0 * kPi * phase);
}

double squareWave(double phase, double duty) {
    return phase < duty ? 1.0 : -1.0;
}

double sawWave(double phase) {
    return 2.0 * phase - 1.0;
}

double triangleWave(double phase) {
    return 1.0 - 4.0 * std::fabs(phase - 0.5);
}

double Oscillator::step(double frequency) {
    const double current = phase_;
    phase_ += frequency / kSampleRate;
    phase_ -= std::floor(phase_);
    return current;
}

double LowPass::process(double input, double cutoff) {
    const double share = 1.0 - std::exp(-2.0 * kPi * cutoff / kSampleRate);
    state_ += share * (input - state_);
    return state_;
}

double glide(double from, double to, double share) {
    return from * std::pow(to / from, share);
}

double decay(double seconds, double halfLife) {
    return std::exp2(-seconds / halfLife);
}

double attackRelease(double seconds, double attack, double length, double release) {
    if (seconds < 0.0 || seconds >= length) {
        return 0.0;
    }
    const double rising = std::min(1.0, seconds / attack);
    const double falling = std::min(1.0, (length - seconds) / release);
    return std::min(rising, falling);
}

void fadeEdges(Samples& samples, double fadeIn, double fadeOut) {
    const std::size_t inCount = std::min(sampleCount(fadeIn), samples.size());
    const std::size_t outCount = std::min(sampleCount(fadeOut), samples.size());
    for (std::size_t i = 0; i < inCount; ++i) {
        samples[i] *= static_cast<double>(i) / inCount;
    }
    for (std::size_t i = 0; i < outCount; ++i) {
        samples[samples.size() - 1 - i] *= static_cast<double>(i) / outCount;
    }
}

void normalize(Samples& samples, double peak) {
    double loudest = 0.0;
    for (double sample : samples) {
        loudest = std::max(loudest, std::fabs(sample));
    }
    if (loudest > 0.0) {
        for (double& sample : samples) {
            sample *= peak / loudest;
        }
    }
}

void mixInto(Samples& target, const Samples& source, double start, double gain) {
    const std::size_t offset = sampleCount(start);
    target.resize(std::max(target.size(), offset + source.size()), 0.0);
    for (std::size_t i = 0; i < source.size(); ++i) {
        target[offset + i] += gain * source[i];
    }
}

} // namespace artgen
