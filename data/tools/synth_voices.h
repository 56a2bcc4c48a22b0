// The instruments of the soundtrack: each call mixes one note or hit into a
// stereo float buffer. Every voice is a pure function of its arguments (noise
// included, seeded per hit), so the song renders the same on every run and in
// any order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct StereoBuffer {
    int sampleRate = 44100;
    std::vector<float> left;
    std::vector<float> right;

    StereoBuffer(int rate, long frames) : sampleRate(rate), left(size_t(frames)), right(size_t(frames)) {}
    long Frames() const { return long(left.size()); }
    // Adds one sample pair at frame; frames outside the buffer are dropped.
    void Add(long frame, double l, double r)
    {
        if (frame >= 0 && frame < Frames()) {
            left[size_t(frame)] += float(l);
            right[size_t(frame)] += float(r);
        }
    }
};

// pan: -1 left, 0 centre, +1 right. Times in seconds, notes as MIDI numbers.
void AddKick(StereoBuffer& out, double start, double gain);
void AddSnare(StereoBuffer& out, double start, double gain, uint32_t seed);
void AddHat(StereoBuffer& out, double start, double gain, bool open, uint32_t seed);
void AddCrash(StereoBuffer& out, double start, double gain, uint32_t seed);
// Filtered noise that swells and brightens over its length, cut off at the end.
void AddRiser(StereoBuffer& out, double start, double length, double gain, uint32_t seed);
void AddBass(StereoBuffer& out, double start, double length, int note, double gain);
// One sustained chord of detuned saws, spread across the stereo field.
void AddPad(StereoBuffer& out, double start, double length, const std::vector<int>& notes, double gain);
void AddLead(StereoBuffer& out, double start, double length, int note, double gain, double pan);
void AddPluck(StereoBuffer& out, double start, int note, double gain, double pan);

// A ping-pong echo applied in place: delay in seconds, feedback and wet level.
void ApplyPingPongDelay(StereoBuffer& buffer, double delay, double feedback, double wet);
