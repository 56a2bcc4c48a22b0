// MP3 encoding of 16-bit PCM with libmp3lame, for the soundtrack generator
// and the tests' generated soundtracks.
#pragma once

#include <cstdint>
#include <vector>

// interleaved holds channels (1 or 2) samples per frame. Constant bit rate of
// kbps, clamped to what the sample rate's MPEG version allows; quality is
// lame's, 0 (best) to 9. The first frame is the LAME info tag with the
// encoder delay and padding, so gapless decoders give back exactly the frames
// that went in. With freeFormat, every header has the bitrate index 0 and
// kbps need not be one the headers can name. Empty on failure.
std::vector<unsigned char> EncodeMp3Image(const std::vector<int16_t>& interleaved, int channels,
                                          int sampleRate, int kbps, int quality, bool freeFormat = false);
