// One MP3 image in memory, decoded to 16-bit PCM with libmpg123.
#pragma once

#include "fsound_stretch_reader.h"

#include <cstddef>
#include <cstdint>

struct mpg123_handle_struct;

namespace fsound {

class Mp3Decoder {
public:
    Mp3Decoder() = default;
    ~Mp3Decoder();
    Mp3Decoder(const Mp3Decoder&) = delete;
    Mp3Decoder& operator=(const Mp3Decoder&) = delete;

    // False when the image holds no playable MP3 audio. Only its music is
    // decoded: what is not frames, before, between or after them, is
    // skipped. With accurate, the image is decoded once up
    // front so the length is exactly what Read gives, not a guess from the
    // header or the file size. data must outlive the decoder.
    bool Open(const unsigned char* data, size_t size, bool accurate);

    int Rate() const { return rate_; }
    int Channels() const { return channels_; }
    int64_t LengthFrames() const { return lengthFrames_; }

    // Decodes up to maxFrames interleaved frames of Channels() samples; 0 at
    // the end of the audio or on a decoding error. Never more than
    // LengthFrames() in all, so the audio ends where the length says.
    long Read(int16_t* out, long maxFrames);

private:
    // A fresh handle reading the music from its start, its format read.
    bool Start();
    // Reads everything; the number of frames Read gave.
    int64_t DecodeToEnd();

    mpg123_handle_struct* handle_ = nullptr;
    StretchReader music_;
    bool cut_ = false;  // the music was told from the rest before decoding
    int rate_ = 0;
    int channels_ = 0;
    int64_t lengthFrames_ = 0;
    int64_t framesRead_ = 0;
};

}  // namespace fsound
