#include "Sounds.h"

#include "Random.h"

#include <functional>

namespace artgen {

namespace {

constexpr double kFadeIn = 0.005;
constexpr double kFadeOut = 0.02;
constexpr double kPeak = 0.85;

// Calls `sampleAt(seconds, share)` for every sample, where share runs from 0 to 1.
Samples synthesize(double length, const std::function<double(double, double)>& sampleAt) {
    Samples samples(sampleCount(length));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double seconds = secondsAt(i);
        samples[i] = sampleAt(seconds, seconds / length);
    }
    return samples;
}

Samples finished(Samples samples) {
    fadeEdges(samples, kFadeIn, kFadeOut);
    normalize(samples, kPeak);
    return samples;
}

// Random values held for a while: the slower they change, the grittier the noise sounds.
class SteppedNoise {
public:
    explicit SteppedNoise(std::uint32_t seed) : random_(seed), held_(random_.signedUnit()) {}

    double step(double changesPerSecond) {
        const double phase = clock_.step(changesPerSecond);
        if (phase < lastPhase_) {
            held_ = random_.signedUnit();
        }
        lastPhase_ = phase;
        return held_;
    }

private:
    Random random_;
    Oscillator clock_;
    double held_;
    double lastPhase_ = 0.0;
};

} // namespace

Samples robotDiesSound() {
    constexpr double kLength = 0.7;
    SteppedNoise grit(101);
    Oscillator body;
    LowPass muffle;
    return finished(synthesize(kLength, [&](double seconds, double share) {
        const double crunch = grit.step(glide(6000, 400, share)) * decay(seconds, 0.12);
        const double thud =
            squareWave(body.step(glide(240, 40, share)), 0.5) * decay(seconds, 0.16);
        return muffle.process(crunch + 0.6 * thud, glide(9000, 600, share));
    }));
}

namespace {

struct Note {
    double start;
    double length;
    double frequency;
};

// A few harmonics over the note, fading with height: bright but free of aliasing.
double organVoice(Oscillator& phase, double frequency) {
    const double turn = phase.step(frequency);
    double voice = 0.0;
    for (int harmonic = 1; harmonic <= 6; ++harmonic) {
        voice += sineWave(turn * harmonic) / harmonic;
    }
    return voice;
}

// A note that is plucked and then held.
Samples noteSound(const Note& note) {
    Oscillator phase;
    return synthesize(note.length, [&](double seconds, double) {
        const double pluck = 0.65 + 0.35 * decay(seconds, 0.05);
        return organVoice(phase, note.frequency) * pluck *
               attackRelease(seconds, 0.005, note.length, 0.06);
    });
}

} // namespace

Samples introSound() {
    const Note notes[] = {{0.00, 0.14, 523.25}, {0.13, 0.14, 659.26}, {0.26, 0.46, 783.99}};
    Samples jingle;
    for (const Note& note : notes) {
        mixInto(jingle, noteSound(note), note.start, 1.0);
    }
    return finished(jingle);
}

Samples playerDiesSound() {
    constexpr double kLength = 1.1;
    Oscillator voice;
    Oscillator echo;
    Oscillator vibrato;
    return finished(synthesize(kLength, [&](double seconds, double share) {
        const double wobble = 1.0 + 0.03 * sineWave(vibrato.step(6.5));
        const double pitch = glide(880, 110, share) * wobble;
        const double sound =
            0.6 * triangleWave(voice.step(pitch)) + 0.4 * sineWave(echo.step(pitch * 1.007));
        return sound * attackRelease(seconds, 0.03, kLength, 0.35);
    }));
}

namespace {

// Random sharp clicks, like sparks jumping.
class Crackle {
public:
    explicit Crackle(std::uint32_t seed) : random_(seed) {}

    double step(double sparksPerSecond) {
        if (random_.unit() < sparksPerSecond / kSampleRate) {
            level_ = 1.0;
        }
        level_ *= 0.93;
        return level_ * random_.signedUnit();
    }

private:
    Random random_;
    double level_ = 0.0;
};

Samples zapSound(double length) {
    Oscillator tone;
    return synthesize(length, [&](double seconds, double share) {
        return sineWave(tone.step(glide(2600, 300, share))) * decay(seconds, 0.04) *
               attackRelease(seconds, 0.002, length, 0.03);
    });
}

} // namespace

Samples screwdriverSound() {
    constexpr double kLength = 0.5;
    Oscillator motor;
    Oscillator throb;
    Crackle sparks(303);
    Samples buzz = synthesize(kLength, [&](double seconds, double) {
        const double hum = sawWave(motor.step(118)) * (0.6 + 0.4 * squareWave(throb.step(38), 0.5));
        return (0.55 * hum + 0.7 * sparks.step(90)) * attackRelease(seconds, 0.01, kLength, 0.08);
    });
    mixInto(buzz, zapSound(0.14), kLength - 0.16, 0.8);
    return finished(buzz);
}

Samples teleportSound() {
    constexpr double kLength = 0.7;
    Oscillator root;
    Oscillator fifth;
    Oscillator octave;
    Oscillator shimmer;
    return finished(synthesize(kLength, [&](double seconds, double share) {
        const double pitch = glide(250, 2200, share);
        const double chord = sineWave(root.step(pitch)) + 0.5 * sineWave(fifth.step(pitch * 1.5)) +
                             0.35 * sineWave(octave.step(pitch * 2.01));
        const double flutter = 0.65 + 0.35 * sineWave(shimmer.step(22 + 20 * share));
        return chord * flutter * attackRelease(seconds, 0.06, kLength, 0.2);
    }));
}

} // namespace artgen
