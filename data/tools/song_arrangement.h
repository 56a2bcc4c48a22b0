// The soundtrack's score: tempo, sections and the notes of every voice.
#pragma once

#include <vector>

#include "synth_voices.h"

constexpr double kSongBpm = 128.0;
constexpr int kSongBars = 48;  // 48 bars of 4/4 at 128 bpm: exactly 90 s

struct SongSection {
    const char* name;
    int firstBar;
    int bars;
};

double BarSeconds();
double SongSeconds();
// The sections in time order; together they cover every bar once.
const std::vector<SongSection>& SongSections();

// Renders the whole song, unmastered, at sampleRate.
StereoBuffer RenderSong(int sampleRate);
