#include "tools/Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <stdexcept>

namespace tools {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

void PutU32(QByteArray& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.append(static_cast<char>((v >> (8 * i)) & 0xFFu));
}
void PutU16(QByteArray& out, uint16_t v) {
    out.append(static_cast<char>(v & 0xFFu));
    out.append(static_cast<char>(v >> 8));
}

int SampleCount(const WaveFormat& f) { return f.DataBytes / (f.BitsPerSample / 8); }

// Short linear fades at both ends, so that no cue starts or stops with a pop.
void Fade(std::vector<double>& s, int rate, double inSeconds, double outSeconds) {
    const int n = static_cast<int>(s.size());
    const int in = std::max(1, static_cast<int>(inSeconds * rate));
    const int out = std::max(1, static_cast<int>(outSeconds * rate));
    for (int i = 0; i < std::min(in, n); ++i) s[i] *= static_cast<double>(i) / in;
    for (int i = 0; i < std::min(out, n); ++i) s[n - 1 - i] *= static_cast<double>(i) / out;
}

// A repeatable noise source, so that the generator writes the same files every run.
class Noise {
public:
    double Next() {
        m_State = m_State * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(m_State >> 11) / 9007199254740992.0 * 2.0 - 1.0;
    }

private:
    uint64_t m_State = 0x2545F4914F6CDD1Dull;
};

// A struck bell-like partial: a sine with an exponential decay from `start`.
double Partial(double t, double start, double freq, double decay, double gain) {
    if (t < start) return 0.0;
    const double u = t - start;
    return gain * std::exp(-u / decay) * std::sin(kTwoPi * freq * u);
}

}  // namespace

QByteArray MakeWave(const WaveFormat& format, const std::vector<double>& samples) {
    if (format.BitsPerSample != 8 && format.BitsPerSample != 16) throw std::invalid_argument("bits per sample");
    if (static_cast<int>(samples.size()) != SampleCount(format)) throw std::invalid_argument("sample count");
    const int bytesPerSample = format.BitsPerSample / 8;
    QByteArray out;
    out.reserve(44 + format.DataBytes);
    out.append("RIFF", 4);
    PutU32(out, static_cast<uint32_t>(36 + format.DataBytes));
    out.append("WAVE", 4);
    out.append("fmt ", 4);
    PutU32(out, 16);
    PutU16(out, 1);  // PCM
    PutU16(out, 1);  // mono
    PutU32(out, static_cast<uint32_t>(format.SampleRate));
    PutU32(out, static_cast<uint32_t>(format.SampleRate * bytesPerSample));
    PutU16(out, static_cast<uint16_t>(bytesPerSample));
    PutU16(out, static_cast<uint16_t>(format.BitsPerSample));
    out.append("data", 4);
    PutU32(out, static_cast<uint32_t>(format.DataBytes));
    for (double v : samples) {
        v = std::clamp(v, -1.0, 1.0);
        if (bytesPerSample == 1) {
            out.append(static_cast<char>(static_cast<uint8_t>(std::lround(128.0 + v * 127.0))));
        } else {
            PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0))));
        }
    }
    return out;
}

QByteArray ClickWave() {
    // Wood: a very short noise knock into two quickly dying body resonances.
    const WaveFormat f = kClickFormat;
    std::vector<double> s(SampleCount(f));
    Noise noise;
    double lp = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / f.SampleRate;
        lp += 0.35 * (noise.Next() - lp);
        const double knock = lp * std::exp(-t / 0.003);
        s[i] = 0.9 * knock + Partial(t, 0.0, 820.0, 0.012, 0.55) + Partial(t, 0.0, 1930.0, 0.006, 0.3);
    }
    Fade(s, f.SampleRate, 0.0005, 0.006);
    return MakeWave(f, s);
}

QByteArray GiroWave() {
    // A soft turn: filtered noise whose colour rises and falls, over a gentle
    // upward glide.
    const WaveFormat f = kGiroFormat;
    std::vector<double> s(SampleCount(f));
    const double length = static_cast<double>(s.size()) / f.SampleRate;
    Noise noise;
    double lp1 = 0.0, lp2 = 0.0, phase = 0.0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / f.SampleRate;
        const double x = t / length;                        // 0..1 along the cue
        const double envelope = std::sin(std::numbers::pi * x);  // swells and fades
        const double cutoff = 0.02 + 0.10 * envelope;       // brighter in the middle
        lp1 += cutoff * (noise.Next() - lp1);
        lp2 += cutoff * (lp1 - lp2);
        phase += kTwoPi * (260.0 + 240.0 * x) / f.SampleRate;
        s[i] = envelope * envelope * (2.2 * lp2 + 0.18 * std::sin(phase));
    }
    Fade(s, f.SampleRate, 0.004, 0.01);
    return MakeWave(f, s);
}

QByteArray RotateWave() {
    // Two bright bell notes a fourth apart (G6, C7), the second one ringing on.
    const WaveFormat f = kRotateFormat;
    std::vector<double> s(SampleCount(f));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / f.SampleRate;
        const double first = t < 0.018 ? 1.0 : std::exp(-(t - 0.018) / 0.002);
        s[i] = first * (Partial(t, 0.0, 1568.0, 0.03, 0.45) + Partial(t, 0.0, 3136.0, 0.01, 0.12)) +
               Partial(t, 0.017, 2093.0, 0.04, 0.5) + Partial(t, 0.017, 4186.0, 0.012, 0.12);
    }
    Fade(s, f.SampleRate, 0.001, 0.008);
    return MakeWave(f, s);
}

QByteArray CompleteWave() {
    // A rising C major arpeggio (C5 E5 G5 C6) that ends on a ringing chord.
    const WaveFormat f = kCompleteFormat;
    std::vector<double> s(SampleCount(f));
    const double notes[] = {523.25, 659.25, 783.99, 1046.5};
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = static_cast<double>(i) / f.SampleRate;
        double v = 0.0;
        for (int n = 0; n < 4; ++n) {
            const double start = 0.12 * n;
            const double decay = n == 3 ? 0.35 : 0.45;
            v += Partial(t, start, notes[n], decay, 0.26) + Partial(t, start, 2.0 * notes[n], decay / 3.0, 0.07);
        }
        s[i] = v;
    }
    Fade(s, f.SampleRate, 0.003, 0.08);
    return MakeWave(f, s);
}

std::vector<NamedWave> AllSounds() {
    return {{QStringLiteral("click.wav"), kClickFormat, ClickWave()},
            {QStringLiteral("giro.wav"), kGiroFormat, GiroWave()},
            {QStringLiteral("rotate.wav"), kRotateFormat, RotateWave()},
            {QStringLiteral("complete.wav"), kCompleteFormat, CompleteWave()}};
}

}  // namespace tools
