// What other decoders make of an MP3 image: madplay, on libmad, and
// ffmpeg, on libavcodec, neither sharing code with the player's libmpg123.
#pragma once

#include <cstdint>
#include <vector>

// The image decoded as 44.1 kHz interleaved stereo, whatever rates and
// channel counts its frames have. False when the decoder cannot run
// (scripts/deps.sh installs both). madplay keeps the encoder's delay and
// padding; ffmpeg drops them, as the player does, where the encoder's info
// frame gives them.
bool MadplayDecode(const std::vector<unsigned char>& image, std::vector<int16_t>* stereo);
bool FfmpegDecode(const std::vector<unsigned char>& image, std::vector<int16_t>* stereo);

// Frames of interleaved stereo from the first to the last that is not
// silent, both included; 0 for silence throughout.
long NonSilentSpan(const std::vector<int16_t>& stereo);
