#include "song_arrangement.h"

#include <cstdint>
#include <cstring>

namespace {

// A minor, one chord a bar: Am F C G.
const int kBassRoots[4] = {33, 29, 36, 31};
const std::vector<int> kPadChords[4] = {{57, 60, 64}, {57, 60, 65}, {55, 60, 64}, {55, 59, 62}};

struct Note {
    int step;    // sixteenth within the phrase
    int length;  // in sixteenths
    int note;
};

// Four-bar lead phrases over the progression.
const std::vector<Note> kPhraseA = {
    {0, 4, 76},  {4, 2, 74},  {6, 2, 72},  {8, 6, 74},  {14, 2, 72}, {16, 4, 72}, {20, 2, 69},
    {22, 2, 72}, {24, 8, 77}, {32, 4, 76}, {36, 2, 74}, {38, 2, 72}, {40, 6, 79}, {46, 2, 76},
    {48, 4, 74}, {52, 4, 71}, {56, 8, 74},
};
const std::vector<Note> kPhraseB = {
    {0, 2, 81},  {2, 2, 79},  {4, 2, 76},  {6, 2, 79},  {8, 4, 81},  {12, 4, 84}, {16, 2, 81},
    {18, 2, 77}, {20, 4, 81}, {24, 4, 84}, {28, 4, 81}, {32, 2, 79}, {34, 2, 76}, {36, 4, 79},
    {40, 4, 84}, {44, 4, 83}, {48, 4, 83}, {52, 4, 79}, {56, 4, 74}, {60, 4, 71},
};

// Syncopated bass for the driving sections: step, length, offset from the root.
const Note kDriveBass[] = {{0, 2, 0}, {2, 1, 12}, {3, 1, 0}, {6, 2, 0}, {8, 2, 0}, {10, 1, 12}, {11, 1, 0}, {14, 2, 7}};

// Arpeggio over the pad chord an octave up: indexes into the chord, 3 = root an octave higher.
const int kArpOrder[8] = {0, 1, 2, 3, 2, 1, 2, 1};

const std::vector<SongSection> kSections = {
    {"intro", 0, 8}, {"build", 8, 8}, {"drive", 16, 8}, {"break", 24, 4}, {"peak", 28, 12}, {"outro", 40, 8},
};

const SongSection& SectionOf(int bar)
{
    for (const SongSection& s : kSections) {
        if (bar >= s.firstBar && bar < s.firstBar + s.bars)
            return s;
    }
    return kSections.back();
}

bool Is(const SongSection& s, const char* name) { return std::strcmp(s.name, name) == 0; }

uint32_t Seed(int bar, int step, uint32_t voice) { return uint32_t(bar * 64 + step + 1) * 2654435761u ^ voice; }

}  // namespace

double BarSeconds() { return 4.0 * 60.0 / kSongBpm; }

double SongSeconds() { return kSongBars * BarSeconds(); }

const std::vector<SongSection>& SongSections() { return kSections; }

StereoBuffer RenderSong(int sampleRate)
{
    const double bar = BarSeconds();
    const double step = bar / 16.0;
    long frames = long(SongSeconds() * sampleRate + 0.5);
    StereoBuffer mix(sampleRate, frames);
    StereoBuffer echo(sampleRate, frames);  // lead and arpeggio, sent through the delay

    for (int b = 0; b < kSongBars; ++b) {
        const SongSection& section = SectionOf(b);
        const double t0 = b * bar;
        const int chord = b % 4;
        const int root = kBassRoots[chord];
        const int inSection = b - section.firstBar;
        const bool intro = Is(section, "intro"), build = Is(section, "build"), drive = Is(section, "drive");
        const bool pause = Is(section, "break"), peak = Is(section, "peak"), outro = Is(section, "outro");
        const bool outroBeat = outro && inSection < 4;

        // Pad: the bed under everything, fading in and out at the ends.
        double padGain = 0.07;
        if (intro && inSection < 4)
            padGain *= (inSection + 1) / 4.0;
        if (pause)
            padGain = 0.09;
        if (outro && inSection >= 4)
            padGain *= 1.0 - (inSection - 4) / 5.0;
        AddPad(mix, t0, bar, kPadChords[chord], padGain);

        // Kick on every beat.
        if (build || drive || peak || outroBeat) {
            for (int beat = 0; beat < 4; ++beat) {
                if (drive && inSection == 7 && beat == 3)
                    continue;  // a gap before the break
                AddKick(mix, t0 + beat * 4 * step, 0.42);
            }
        }

        // Snare on two and four; rolls lead into the next section.
        if (drive || peak || outroBeat) {
            AddSnare(mix, t0 + 4 * step, 0.55, Seed(b, 4, 1));
            AddSnare(mix, t0 + 12 * step, 0.55, Seed(b, 12, 1));
        }
        if ((build && inSection == 7) || (pause && inSection == 3)) {
            int first = build ? 8 : 0;
            for (int s = first; s < 16; ++s)
                AddSnare(mix, t0 + s * step, 0.08 + 0.3 * (s - first) / (16 - first), Seed(b, s, 2));
            AddRiser(mix, t0, bar, 0.25, Seed(b, 0, 3));
        }

        // Hats: eighths in the intro, sixteenths with open offbeats when driving.
        if (intro && inSection >= 4) {
            for (int s = 0; s < 16; s += 2)
                AddHat(mix, t0 + s * step, s % 4 == 2 ? 0.16 : 0.09, false, Seed(b, s, 4));
        }
        if (build || drive || peak) {
            for (int s = 0; s < 16; ++s) {
                bool offbeat = s % 4 == 2;
                if ((drive || peak) && offbeat)
                    AddHat(mix, t0 + s * step, 0.14, true, Seed(b, s, 5));
                else
                    AddHat(mix, t0 + s * step, s % 2 ? 0.07 : 0.11, false, Seed(b, s, 4));
            }
        }
        if (outroBeat) {
            for (int s = 0; s < 16; s += 2)
                AddHat(mix, t0 + s * step, 0.1, false, Seed(b, s, 4));
        }

        // Crashes mark the section starts with the full beat.
        if ((drive || peak || outro) && inSection == 0)
            AddCrash(mix, t0, 0.18, Seed(b, 0, 6));

        // Bass.
        if (build || outroBeat) {
            for (int s = 0; s < 16; s += 2)
                AddBass(mix, t0 + s * step, 1.6 * step, root + (s % 4 == 2 ? 12 : 0), 0.32);
        }
        if (drive || peak) {
            for (const Note& n : kDriveBass)
                AddBass(mix, t0 + n.step * step, n.length * step * 0.85, root + n.note, 0.34);
        }

        // Arpeggio.
        if ((intro && inSection >= 4) || build || pause || peak || outro) {
            double gain = peak ? 0.07 : 0.1;
            if (outro)
                gain *= 1.0 - inSection / 8.0;
            const std::vector<int>& notes = kPadChords[chord];
            for (int s = 0; s < 16; ++s) {
                int k = kArpOrder[s % 8];
                int note = (k == 3 ? notes[0] + 12 : notes[size_t(k)]) + 12;
                AddPluck(echo, t0 + s * step, note, gain, s % 2 ? 0.5 : -0.5);
            }
        }

        // Lead: phrase A in the drive, A then B at the peak.
        if ((drive || peak) && inSection % 4 == 0) {
            const std::vector<Note>& phrase = (peak && inSection >= 4) ? kPhraseB : kPhraseA;
            for (const Note& n : phrase)
                AddLead(echo, t0 + n.step * step, n.length * step * 0.9, n.note, 0.15, -0.15);
        }
    }

    ApplyPingPongDelay(echo, 3.0 * step, 0.4, 0.35);
    for (long i = 0; i < frames; ++i) {
        mix.left[size_t(i)] += echo.left[size_t(i)];
        mix.right[size_t(i)] += echo.right[size_t(i)];
    }
    return mix;
}
