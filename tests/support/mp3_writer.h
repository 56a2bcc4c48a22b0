// Generated soundtracks for tests: 16-bit PCM made from tones or beats,
// encoded to an MP3 image with libmp3lame.
//
// The image carries a LAME info tag with the encoder delay and padding, so a
// gapless decoder (mpg123) gives back exactly pcm.Frames() frames.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PcmAudio {
    int sampleRate = 44100;
    int channels = 2;              // 1 or 2
    std::vector<int16_t> samples;  // interleaved when stereo

    long Frames() const { return channels > 0 ? long(samples.size() / channels) : 0; }
    double Seconds() const { return sampleRate > 0 ? double(Frames()) / sampleRate : 0.0; }
};

// A sine of hz on the left (or only) channel; stereo puts 1.5 * hz on the right,
// so a swapped or duplicated channel shows. amplitude is a fraction of full scale.
PcmAudio MakeTone(int sampleRate, int channels, long frames, double hz, double amplitude = 0.5);

// Silence with a short decaying burst of hz every beatMs milliseconds, first at 0.
PcmAudio MakeBeat(int sampleRate, int channels, long frames, int beatMs, double hz = 880.0);

// The MP3 image of pcm, constant bit rate of kbps (clamped to what the
// sample rate's MPEG version allows). Empty on failure. A pcm of zero frames
// gives a valid image that decodes to nothing.
std::vector<unsigned char> EncodeMp3(const PcmAudio& pcm, int kbps = 128);

// The same in free format, as `lame --freeformat -b kbps` writes it: the
// bitrate index 0 in every header, so the frames' length is only found from
// the distance between their headers.
std::vector<unsigned char> EncodeFreeFormatMp3(const PcmAudio& pcm, int kbps);

// Writes bytes to path, replacing it; false on failure.
bool WriteMp3File(const std::string& path, const std::vector<unsigned char>& bytes);
