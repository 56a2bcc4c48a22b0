#include "fsound_mp3_decoder.h"
#include "fsound_mp3_frames.h"

#include <mpg123.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

namespace fsound {

namespace {

std::once_flag g_libraryInit;

const long kCountFrames = 4608;

mpg123_ssize_t ReadMusic(void* handle, void* buffer, size_t bytes)
{
    return mpg123_ssize_t(static_cast<StretchReader*>(handle)->Read(buffer, bytes));
}

off_t SeekMusic(void* handle, off_t offset, int whence)
{
    return static_cast<StretchReader*>(handle)->Seek(offset, whence);
}

}  // namespace

Mp3Decoder::~Mp3Decoder()
{
    if (handle_)
        mpg123_delete(handle_);
}

bool Mp3Decoder::Open(const unsigned char* data, size_t size, bool accurate)
{
    if (handle_ || !data || size == 0)
        return false;
    std::vector<Stretch> music = MusicStretches(data, size);
    cut_ = !music.empty();
    if (!cut_)
        music.push_back({0, size});
    music_ = StretchReader(data, std::move(music));
    if (!Start())
        return false;

    int64_t length = 0;
    if (accurate) {
        // Only decoding tells exactly how much audio a damaged image gives:
        // around lost frames libmpg123's scan and its decoding disagree. So
        // decode it all once, the way Read will, and start over.
        length = DecodeToEnd();
        mpg123_delete(handle_);
        handle_ = nullptr;
        if (!Start())
            return false;
    } else {
        length = int64_t(mpg123_length(handle_));
    }
    if (length <= 0)
        return false;
    lengthFrames_ = length;
    framesRead_ = 0;
    return true;
}

bool Mp3Decoder::Start()
{
    std::call_once(g_libraryInit, [] { mpg123_init(); });

    int error = MPG123_OK;
    handle_ = mpg123_new(nullptr, &error);
    if (!handle_)
        return false;
    music_.Seek(0, SEEK_SET);

    mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_QUIET | MPG123_GAPLESS, 0.0);
    // 16-bit output at the file's own rate; the stream converts rate and
    // channel count for the device.
    mpg123_format_none(handle_);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle_, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    if (mpg123_replace_reader_handle(handle_, ReadMusic, SeekMusic, nullptr) != MPG123_OK)
        return false;
    if (mpg123_open_handle(handle_, &music_) != MPG123_OK)
        return false;

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_getformat(handle_, &rate, &channels, &encoding) != MPG123_OK)
        return false;
    if (encoding != MPG123_ENC_SIGNED_16 || (channels != 1 && channels != 2) || rate <= 0)
        return false;
    // Hold the format: a stream that changes it midway keeps being read as
    // the first frame said.
    mpg123_format_none(handle_);
    mpg123_format(handle_, rate, channels, MPG123_ENC_SIGNED_16);
    // Music that could not be told from the rest before decoding (free
    // format frames whose length was not found, since their headers do not
    // give it) is left to libmpg123's own search: once the audio has begun,
    // damage is skipped however long it is, and decoding goes on to the end
    // of the image.
    // Junk before the first frame is still bounded, so what holds no audio
    // is refused. Music that was told needs no search.
    if (!cut_)
        mpg123_param(handle_, MPG123_RESYNC_LIMIT, -1, 0.0);

    rate_ = int(rate);
    channels_ = channels;
    framesRead_ = 0;
    return true;
}

int64_t Mp3Decoder::DecodeToEnd()
{
    std::vector<int16_t> scratch(size_t(kCountFrames) * size_t(channels_));
    lengthFrames_ = INT64_MAX;
    framesRead_ = 0;
    while (Read(scratch.data(), kCountFrames) > 0) {
    }
    return framesRead_;
}

long Mp3Decoder::Read(int16_t* out, long maxFrames)
{
    if (!handle_ || maxFrames <= 0)
        return 0;
    int64_t left = lengthFrames_ - framesRead_;
    if (left <= 0)
        return 0;
    if (maxFrames > left)
        maxFrames = long(left);

    size_t frameBytes = size_t(channels_) * sizeof(int16_t);
    size_t wanted = size_t(maxFrames) * frameBytes;
    size_t got = 0;
    while (got < wanted) {
        size_t done = 0;
        int result = mpg123_read(handle_, reinterpret_cast<unsigned char*>(out) + got, wanted - got, &done);
        got += done;
        if (result == MPG123_NEW_FORMAT || (result == MPG123_OK && done > 0))
            continue;
        break;  // MPG123_DONE, an error, or nothing more to give
    }
    long frames = long(got / frameBytes);
    framesRead_ += frames;
    return frames;
}

}  // namespace fsound
