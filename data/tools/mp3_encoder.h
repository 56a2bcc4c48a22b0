// MP3 encoding of 16-bit stereo PCM with libmp3lame.
#pragma once

#include <cstdint>
#include <vector>

// Constant bit rate, joint stereo. The first frame is the LAME info tag with
// the encoder delay and padding, so gapless decoders give back exactly the
// frames that went in. Empty on failure.
std::vector<unsigned char> EncodeStereoMp3(const std::vector<int16_t>& interleaved, int sampleRate, int kbps);
