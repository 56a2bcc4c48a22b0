// The committed soundtrack decodes in full as 44.1 kHz stereo of about 90 s,
// and the timeline ends within it.
#include <gtest/gtest.h>
#include <mpg123.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "data_paths.h"
#include "file_contents.h"
#include "kvd_timeline.h"

namespace {

struct Decoded {
    long rate = 0;
    int channels = 0;
    off_t scannedFrames = 0;  // what mpg123 reports after a scan, gapless
    long decodedFrames = 0;   // what decoding delivers
    int peak = 0;
    bool ok = false;
};

Decoded DecodeSoundtrack()
{
    Decoded d;
    mpg123_init();
    int err = MPG123_OK;
    mpg123_handle* mh = mpg123_new(nullptr, &err);
    if (!mh)
        return d;
    if (mpg123_open(mh, DataPath("mellot.mp3").c_str()) == MPG123_OK) {
        int encoding = 0;
        mpg123_getformat(mh, &d.rate, &d.channels, &encoding);
        mpg123_format_none(mh);
        mpg123_format(mh, d.rate, d.channels, MPG123_ENC_SIGNED_16);
        mpg123_scan(mh);
        d.scannedFrames = mpg123_length(mh);
        std::vector<short> buffer(16384);
        int result;
        do {
            // The last read can deliver samples together with MPG123_DONE.
            size_t done = 0;
            result = mpg123_read(mh, buffer.data(), buffer.size() * sizeof(short), &done);
            size_t samples = done / sizeof(short);
            d.decodedFrames += long(samples) / std::max(1, d.channels);
            for (size_t i = 0; i < samples; ++i)
                d.peak = std::max(d.peak, std::abs(int(buffer[i])));
        } while (result == MPG123_OK || result == MPG123_NEW_FORMAT);
        d.ok = result == MPG123_DONE;
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    return d;
}

const Decoded& Soundtrack()
{
    static const Decoded decoded = DecodeSoundtrack();
    return decoded;
}

}  // namespace

TEST(Soundtrack, DecodesInFullAsStereoOfAboutNinetySeconds)
{
    const Decoded& d = Soundtrack();
    ASSERT_TRUE(d.ok) << "mellot.mp3 does not decode to its end";
    EXPECT_EQ(d.rate, 44100);
    EXPECT_EQ(d.channels, 2);
    // The gapless tag makes the reported length the decoded length.
    EXPECT_EQ(d.scannedFrames, off_t(d.decodedFrames));
    double seconds = double(d.decodedFrames) / 44100.0;
    EXPECT_GT(seconds, 85.0);
    EXPECT_LT(seconds, 95.0);
    EXPECT_GT(d.peak, 8000) << "the soundtrack is (nearly) silent";
}

TEST(Soundtrack, TimelineEndsWithinIt)
{
    const Decoded& d = Soundtrack();
    ASSERT_TRUE(d.ok);
    long lengthMs = d.decodedFrames * 1000L / 44100L;
    std::vector<KvdEvent> events;
    std::string error;
    ASSERT_TRUE(ParseKvdTimeline(FileContents(DataPath("kelda.timeline")), events, error)) << error;
    ASSERT_FALSE(events.empty());
    for (const KvdEvent& e : events) {
        EXPECT_GE(e.start, 0) << e.name;
        EXPECT_LE(e.end, lengthMs) << e.name << " runs past the soundtrack's end";
    }
}
