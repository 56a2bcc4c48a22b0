#include "synth_voices.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

double NoteHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

long ToFrame(const StereoBuffer& out, double seconds) { return std::lround(seconds * out.sampleRate); }

void PanGains(double pan, double& l, double& r)
{
    double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
    l = std::cos(angle);
    r = std::sin(angle);
}

// xorshift32: white noise in [-1, 1] from a per-hit seed.
struct Noise {
    uint32_t state;
    explicit Noise(uint32_t seed) : state(seed ? seed : 0x9e3779b9u) {}
    double Next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483647.5 - 1.0;
    }
};

// One-pole filters; coefficient from a cutoff in Hz.
double OnePoleCoefficient(double hz, int rate) { return 1.0 - std::exp(-2.0 * kPi * hz / rate); }

struct LowPass {
    double y = 0.0;
    double Run(double x, double a) { return y += a * (x - y); }
};

// Band-limited saw (polyBLEP) over a phase in [0, 1).
double PolyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double Saw(double phase, double dt) { return 2.0 * phase - 1.0 - PolyBlep(phase, dt); }

double Pulse(double phase, double dt, double duty)
{
    double shifted = phase + (1.0 - duty);
    if (shifted >= 1.0)
        shifted -= 1.0;
    return Saw(phase, dt) - Saw(shifted, dt);
}

// Linear attack, hold, linear release after length.
double Gate(double t, double length, double attack, double release)
{
    if (t < 0.0 || t > length + release)
        return 0.0;
    double a = attack > 0.0 ? std::min(1.0, t / attack) : 1.0;
    double r = t <= length ? 1.0 : 1.0 - (t - length) / release;
    return a * r;
}

}  // namespace

void AddKick(StereoBuffer& out, double start, double gain)
{
    const double length = 0.45;
    long first = ToFrame(out, start);
    long count = ToFrame(out, length);
    double phase = 0.0;
    for (long i = 0; i < count; ++i) {
        double t = double(i) / out.sampleRate;
        double hz = 45.0 + 115.0 * std::exp(-t * 28.0);
        phase += 2.0 * kPi * hz / out.sampleRate;
        double body = std::sin(phase) * std::exp(-t * 6.5);
        double click = std::sin(2.0 * kPi * 1800.0 * t) * std::exp(-t * 400.0) * 0.3;
        double fade = std::min(1.0, (length - t) / 0.02);
        double s = gain * (body + click) * fade;
        out.Add(first + i, s, s);
    }
}

void AddSnare(StereoBuffer& out, double start, double gain, uint32_t seed)
{
    const double length = 0.28;
    long first = ToFrame(out, start);
    long count = ToFrame(out, length);
    Noise noise(seed);
    LowPass low;
    double a = OnePoleCoefficient(1500.0, out.sampleRate);
    for (long i = 0; i < count; ++i) {
        double t = double(i) / out.sampleRate;
        double n = noise.Next();
        double bright = n - low.Run(n, a);
        double tone = std::sin(2.0 * kPi * 185.0 * t) * std::exp(-t * 25.0) * 0.6;
        double fade = std::min(1.0, (length - t) / 0.02);
        double s = gain * (tone + bright * std::exp(-t * 13.0)) * fade;
        out.Add(first + i, s * 0.95, s);
    }
}

void AddHat(StereoBuffer& out, double start, double gain, bool open, uint32_t seed)
{
    const double length = open ? 0.3 : 0.06;
    const double decay = open ? 11.0 : 70.0;
    long first = ToFrame(out, start);
    long count = ToFrame(out, length);
    Noise noise(seed);
    LowPass low1, low2;
    double a = OnePoleCoefficient(5000.0, out.sampleRate);
    double l, r;
    PanGains(0.35, l, r);
    for (long i = 0; i < count; ++i) {
        double t = double(i) / out.sampleRate;
        double n = noise.Next();
        double h1 = n - low1.Run(n, a);
        double h2 = h1 - low2.Run(h1, a);
        double fade = std::min(1.0, (length - t) / 0.01);
        double s = 4.0 * gain * h2 * std::exp(-t * decay) * fade;
        out.Add(first + i, s * l, s * r);
    }
}

void AddCrash(StereoBuffer& out, double start, double gain, uint32_t seed)
{
    const double length = 2.0;
    long first = ToFrame(out, start);
    long count = ToFrame(out, length);
    Noise noiseL(seed), noiseR(seed * 2654435761u + 1u);
    LowPass lowL, lowR;
    double a = OnePoleCoefficient(4000.0, out.sampleRate);
    for (long i = 0; i < count; ++i) {
        double t = double(i) / out.sampleRate;
        double nl = noiseL.Next();
        double nr = noiseR.Next();
        double env = std::exp(-t * 2.2) * std::min(1.0, (length - t) / 0.2) * gain;
        out.Add(first + i, (nl - lowL.Run(nl, a)) * env, (nr - lowR.Run(nr, a)) * env);
    }
}

void AddRiser(StereoBuffer& out, double start, double length, double gain, uint32_t seed)
{
    long first = ToFrame(out, start);
    long count = ToFrame(out, length);
    Noise noiseL(seed), noiseR(seed ^ 0x5bd1e995u);
    LowPass lowL, lowR;
    for (long i = 0; i < count; ++i) {
        double x = double(i) / count;
        double a = OnePoleCoefficient(300.0 + 9000.0 * x * x, out.sampleRate);
        double env = gain * x * x;
        out.Add(first + i, lowL.Run(noiseL.Next(), a) * env, lowR.Run(noiseR.Next(), a) * env);
    }
}

void AddBass(StereoBuffer& out, double start, double length, int note, double gain)
{
    const double release = 0.03;
    long first = ToFrame(out, start);
    long count = ToFrame(out, length + release);
    double hz = NoteHz(note);
    double dt = hz / out.sampleRate;
    double phase = 0.0;
    LowPass f1, f2;
    for (long i = 0; i < count; ++i) {
        double t = double(i) / out.sampleRate;
        double cutoff = 180.0 + 1600.0 * std::exp(-t * 14.0);
        double a = OnePoleCoefficient(cutoff, out.sampleRate);
        double osc = Saw(phase, dt) * 0.7 + std::sin(2.0 * kPi * phase) * 0.6;
        double s = f2.Run(f1.Run(osc, a), a) * Gate(t, length, 0.003, release) * gain;
        out.Add(first + i, s, s);
        phase += dt;
        if (phase >= 1.0)
            phase -= 1.0;
    }
}

void AddPad(StereoBuffer& out, double start, double length, const std::vector<int>& notes, double gain)
{
    const double attack = 0.35;
    const double release = 0.6;
    const double detune[3] = {-0.09, 0.0, 0.08};  // semitones
    const double pans[3] = {-0.7, 0.0, 0.7};
    long first = ToFrame(out, start);
    long count = ToFrame(out, length + release);
    double a = OnePoleCoefficient(1400.0, out.sampleRate);
    for (int note : notes) {
        for (int v = 0; v < 3; ++v) {
            double dt = NoteHz(note + detune[v]) / out.sampleRate;
            // Start each voice at its own phase so the chord does not click in.
            double phase = 0.13 + 0.29 * v + 0.07 * (note % 5);
            phase -= std::floor(phase);
            double l, r;
            PanGains(pans[v], l, r);
            LowPass f1, f2;
            for (long i = 0; i < count; ++i) {
                double t = double(i) / out.sampleRate;
                double s = f2.Run(f1.Run(Saw(phase, dt), a), a) * Gate(t, length, attack, release) * gain;
                out.Add(first + i, s * l, s * r);
                phase += dt;
                if (phase >= 1.0)
                    phase -= 1.0;
            }
        }
    }
}

void AddLead(StereoBuffer& out, double start, double length, int note, double gain, double pan)
{
    const double release = 0.09;
    long first = ToFrame(out, start);
    long count = ToFrame(out, length + release);
    double phase = 0.0;
    LowPass f1;
    double l, r;
    PanGains(pan, l, r);
    for (long i = 0; i < count; ++i) {
        double t = double(i) / out.sampleRate;
        double vibrato = t > 0.15 ? 0.12 * std::sin(2.0 * kPi * 5.5 * (t - 0.15)) : 0.0;
        double dt = NoteHz(note + vibrato) / out.sampleRate;
        double cutoff = 1200.0 + 3500.0 * std::exp(-t * 6.0);
        double osc = Pulse(phase, dt, 0.3) * 0.6 + Saw(phase, dt) * 0.4;
        double s = f1.Run(osc, OnePoleCoefficient(cutoff, out.sampleRate)) * Gate(t, length, 0.006, release) * gain;
        out.Add(first + i, s * l, s * r);
        phase += dt;
        if (phase >= 1.0)
            phase -= 1.0;
    }
}

void AddPluck(StereoBuffer& out, double start, int note, double gain, double pan)
{
    const double length = 0.35;
    long first = ToFrame(out, start);
    long count = ToFrame(out, length);
    double hz = NoteHz(note);
    double l, r;
    PanGains(pan, l, r);
    for (long i = 0; i < count; ++i) {
        double t = double(i) / out.sampleRate;
        double w = 2.0 * kPi * hz * t;
        double osc = std::sin(w) + 0.35 * std::sin(2.0 * w) * std::exp(-t * 18.0) + 0.15 * std::sin(3.0 * w) * std::exp(-t * 30.0);
        double env = std::min(1.0, t / 0.002) * std::exp(-t * 9.0) * std::min(1.0, (length - t) / 0.02);
        double s = osc * env * gain;
        out.Add(first + i, s * l, s * r);
    }
}

void ApplyPingPongDelay(StereoBuffer& buffer, double delay, double feedback, double wet)
{
    long d = std::lround(delay * buffer.sampleRate);
    long n = buffer.Frames();
    if (d <= 0 || d >= n)
        return;
    // Two taps that hand the echo from one side to the other.
    std::vector<float> echoL(size_t(n), 0.0f), echoR(size_t(n), 0.0f);
    for (long i = d; i < n; ++i) {
        size_t k = size_t(i), j = size_t(i - d);
        double monoIn = 0.5 * (buffer.left[j] + buffer.right[j]);
        echoL[k] = float(monoIn + feedback * echoR[j]);
        echoR[k] = float(feedback * echoL[j]);
    }
    for (long i = 0; i < n; ++i) {
        buffer.left[size_t(i)] += float(wet * echoL[size_t(i)]);
        buffer.right[size_t(i)] += float(wet * echoR[size_t(i)]);
    }
}
