// What of an image is taken as music, on images laid out byte by byte:
// frames of MPEG-1 layer III at 128 kbit/s with recognisable bodies (or of
// that length in free format, whose headers do not give it), junk, tags.
// The expected music is written out piece by piece beside the image.
#include "fsound_mp3_frames.h"
#include "fsound_stretch_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

enum class Kind { kStereo44, kMono44, kStereo48 };

// A frame header of the kind: layer III, no CRC, 128 kbit/s.
uint32_t Header(Kind kind, bool padded, unsigned bitrateIndex = 9)
{
    const unsigned rateIndex = kind == Kind::kStereo48 ? 1 : 0;
    const unsigned mode = kind == Kind::kMono44 ? 3 : 1;  // mono or joint stereo
    return 0xFFFB0000u | bitrateIndex << 12 | rateIndex << 10 | unsigned(padded) << 9 | mode << 6;
}

// 144 * bitrate / rate bytes, one more when padded.
size_t FrameBytes(Kind kind, bool padded)
{
    const long rate = kind == Kind::kStereo48 ? 48000 : 44100;
    return size_t(144 * 128000 / rate) + (padded ? 1 : 0);
}

void PutHeader(Bytes& out, uint32_t header)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(header >> shift));
}

// The image and the music in it, built side by side.
struct Layout {
    Bytes image;
    Bytes music;

    Layout& Add(const Bytes& bytes, bool isMusic)
    {
        image.insert(image.end(), bytes.begin(), bytes.end());
        if (isMusic)
            music.insert(music.end(), bytes.begin(), bytes.end());
        return *this;
    }

    // count frames, every padEvery-th one padded as an encoder pads them;
    // the bodies count up so a frame lost or doubled shows.
    Layout& Frames(int count, Kind kind = Kind::kStereo44, bool isMusic = true, unsigned bitrateIndex = 9)
    {
        Bytes bytes;
        for (int i = 0; i < count; ++i) {
            const bool padded = padEvery > 0 && i % padEvery == padEvery - 1;
            const size_t end = bytes.size() + FrameBytes(kind, padded);
            PutHeader(bytes, Header(kind, padded, bitrateIndex));
            while (bytes.size() < end)
                bytes.push_back(static_cast<unsigned char>(1 + (frameSerial % 200)));
            ++frameSerial;
        }
        return Add(bytes, isMusic);
    }
    // The same frames in free format: the bitrate index 0 in every header.
    Layout& FreeFrames(int count, Kind kind = Kind::kStereo44, bool isMusic = true)
    {
        return Frames(count, kind, isMusic, 0);
    }
    // The first bytes of a frame, the end of the image cutting off the rest.
    Layout& CutShortFrame(size_t bytes, unsigned bitrateIndex = 9)
    {
        Bytes frame;
        PutHeader(frame, Header(Kind::kStereo44, false, bitrateIndex));
        frame.resize(bytes, 0x77);
        return Add(frame, true);
    }
    // A frame header that junk happens to hold: not music.
    Layout& ForgedHeader(Kind kind, unsigned bitrateIndex)
    {
        Bytes header;
        PutHeader(header, Header(kind, false, bitrateIndex));
        return Add(header, false);
    }
    Layout& PadEvery(int n)
    {
        padEvery = n;
        return *this;
    }
    Layout& Zeros(size_t n) { return Add(Bytes(n, 0), false); }
    Layout& Random(size_t n, unsigned seed)
    {
        std::mt19937 random(seed);
        Bytes bytes(n);
        for (auto& b : bytes)
            b = static_cast<unsigned char>(random());
        return Add(bytes, false);
    }
    Layout& Id3v2(size_t bodyBytes)
    {
        Bytes tag = {'I', 'D', '3', 3, 0, 0};
        for (int shift = 21; shift >= 0; shift -= 7)
            tag.push_back(static_cast<unsigned char>((bodyBytes >> shift) & 0x7f));
        tag.resize(10 + bodyBytes, 'i');
        return Add(tag, true);
    }
    Layout& Id3v1()
    {
        Bytes tag = {'T', 'A', 'G'};
        tag.resize(128, 'a');
        return Add(tag, true);
    }

    int frameSerial = 0;
    int padEvery = 3;  // 0: never
};

Bytes Apply(const Bytes& image, const std::vector<fsound::Stretch>& stretches)
{
    Bytes out;
    for (const auto& s : stretches) {
        EXPECT_LE(s.from + s.bytes, image.size()) << "a stretch outside the image";
        if (s.from + s.bytes <= image.size())
            out.insert(out.end(), image.begin() + std::ptrdiff_t(s.from),
                       image.begin() + std::ptrdiff_t(s.from + s.bytes));
    }
    return out;
}

// Where two byte runs first differ, for a message that says what was lost.
std::string FirstDifference(const Bytes& a, const Bytes& b)
{
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return "kept " + std::to_string(a.size()) + " bytes, expected " + std::to_string(b.size()) +
           "; they part at byte " + std::to_string(i);
}

struct CutCase {
    const char* name;
    Layout layout;
};

// Free format headers whose distances keep changing, so no length holds.
Layout DriftingFreeFormat()
{
    Layout layout;
    for (unsigned i = 0; i < 20; ++i)
        layout.FreeFrames(1, Kind::kStereo44, false).Random(20 + 37 * i, 40 + i);
    return layout;
}

}  // namespace

TEST(MusicStretches, KeepsTheMusicAndCutsTheRest)
{
    const CutCase cases[] = {
        {"intact", Layout().Frames(30)},
        {"one frame alone", Layout().Frames(1)},
        {"tags at both ends", Layout().Id3v2(500).Frames(30).Id3v1()},
        {"zeros between two frames", Layout().Frames(20).Zeros(3000).Frames(20)},
        {"random bytes between two frames", Layout().Frames(20).Random(4000, 1).Frames(20)},
        {"one junk byte after a frame", Layout().Frames(50).Add({0x12}, false).Frames(20)},
        {"many damaged stretches",
         Layout().Frames(3).Random(100, 2).Frames(3).Zeros(77).Frames(3).Random(1000, 3).Frames(3).Add({0}, false)
             .Frames(3)},
        {"an ID3v1 tag at the end", Layout().Frames(20).Id3v1()},
        {"the last frame cut short", Layout().Frames(20).CutShortFrame(200)},
        {"random bytes after the last frame", Layout().Frames(20).Random(65536, 4)},
        {"zeros after the last frame", Layout().Frames(20).Zeros(5000)},
        {"junk between the last frame and an ID3v1 tag", Layout().Frames(20).Random(3000, 5).Id3v1()},
        {"stereo, mono, stereo", Layout().Frames(20).Frames(10, Kind::kMono44).Frames(20)},
        {"44.1 kHz, 48 kHz, 44.1 kHz", Layout().Frames(20).Frames(10, Kind::kStereo48).Frames(20)},
        {"a mono stream that turns stereo", Layout().Frames(20, Kind::kMono44).Frames(20)},
        {"another format after damage", Layout().Frames(20).Random(2000, 6).Frames(20, Kind::kMono44)},
        {"64 kB of zeros before the first frame", Layout().Zeros(65536).Frames(20)},
        {"128 kB of random bytes before the first frame", Layout().Random(131072, 7).Frames(20)},
        {"an ID3v2 tag, then junk", Layout().Id3v2(300).Random(5000, 8).Frames(20)},
        {"free format frames", Layout().FreeFrames(30)},
        {"free format, random bytes after", Layout().FreeFrames(20).Random(65536, 12)},
        {"free format, random bytes before", Layout().Random(131072, 13).FreeFrames(20)},
        {"free format, zeros between", Layout().FreeFrames(20).Zeros(3000).FreeFrames(20)},
        {"free format, random bytes between", Layout().FreeFrames(20).Random(4000, 14).FreeFrames(20)},
        {"free format, damage right after the first two frames",
         Layout().FreeFrames(2).Random(100, 15).FreeFrames(20)},
        {"free format, tags at both ends", Layout().Id3v2(500).FreeFrames(30).Id3v1()},
        {"free format, the last frame cut short", Layout().FreeFrames(20).CutShortFrame(200, 0)},
        {"free format, then another format", Layout().FreeFrames(20).Frames(20, Kind::kMono44)},
        {"a format, then free format of another", Layout().Frames(20).FreeFrames(20, Kind::kStereo48)},
        {"free format of two kinds, each its own length",
         Layout().FreeFrames(20).Random(500, 16).FreeFrames(20, Kind::kStereo48).FreeFrames(20)},
        // A forged header finds the first frame's header next: its distance
        // is no length.
        {"free format after a forged header",
         Layout().Random(5000, 17).ForgedHeader(Kind::kStereo44, 0).Random(300, 18).FreeFrames(20)},
        // Unpadded frames chain at twice their length too, with a header
        // between.
        {"unpadded free format two frames after a forged header",
         Layout()
             .PadEvery(0)
             .Random(2000, 19)
             .ForgedHeader(Kind::kStereo48, 0)
             .Random(2 * FrameBytes(Kind::kStereo48, false) - 4, 20)
             .FreeFrames(20, Kind::kStereo48)},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes& image = c.layout.image;
        const std::vector<fsound::Stretch> stretches = fsound::MusicStretches(image.data(), image.size());
        const Bytes kept = Apply(image, stretches);
        EXPECT_TRUE(kept == c.layout.music) << FirstDifference(kept, c.layout.music);
        if (c.layout.music == c.layout.image) {
            ASSERT_EQ(stretches.size(), 1u) << "an image with nothing to cut is one stretch";
            EXPECT_EQ(stretches[0].from, 0u);
        }
    }
}

// With no two frames chained, nothing tells the music: the image is left to
// the decoder's own search.
TEST(MusicStretches, NothingChainsNothingIsTold)
{
    const CutCase cases[] = {
        {"random bytes", Layout().Random(200000, 9)},
        {"zeros", Layout().Zeros(50000)},
        {"one frame amid junk", Layout().Random(1000, 10).Frames(1, Kind::kStereo44, false).Random(1000, 11)},
        {"one free format frame amid junk",
         Layout().Random(1000, 10).FreeFrames(1, Kind::kStereo44, false).Random(1000, 11)},
        {"free format headers at changing distances", DriftingFreeFormat()},
        {"an ID3v2 tag alone", Layout().Id3v2(1000)},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(fsound::MusicStretches(c.layout.image.data(), c.layout.image.size()).empty());
    }
}

// The stretches read back to back as one run, however the reads fall and
// wherever a seek lands.
TEST(StretchReader, ReadsTheStretchesAsOneRun)
{
    Bytes image(64);
    for (size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<unsigned char>(i);
    const std::vector<fsound::Stretch> stretches = {{5, 3}, {20, 4}, {40, 0}, {41, 2}, {60, 4}};
    const Bytes run = {5, 6, 7, 20, 21, 22, 23, 41, 42, 60, 61, 62, 63};

    for (size_t chunk = 1; chunk <= run.size() + 1; ++chunk) {
        fsound::StretchReader reader(image.data(), stretches);
        ASSERT_EQ(reader.Size(), run.size());
        Bytes got;
        unsigned char buffer[32];
        while (size_t n = reader.Read(buffer, chunk))
            got.insert(got.end(), buffer, buffer + n);
        EXPECT_EQ(got, run) << "reads of " << chunk;
    }

    fsound::StretchReader reader(image.data(), stretches);
    unsigned char byte = 0;
    struct {
        off_t offset;
        int whence;
        off_t position;  // -1: refused
        int next;        // the byte read there (moving on by one), -1 for none
    } seeks[] = {
        {8, SEEK_SET, 8, 42},      {-6, SEEK_CUR, 3, 20},   {-1, SEEK_END, 12, 63}, {0, SEEK_END, 13, -1},
        {-14, SEEK_END, -1, -1},   {1, SEEK_END, -1, -1},   {-1, SEEK_SET, -1, -1}, {0, 7, -1, -1},
        {0, SEEK_SET, 0, 5},
    };
    for (const auto& s : seeks) {
        SCOPED_TRACE("seek " + std::to_string(s.offset) + " from " + std::to_string(s.whence));
        const off_t before = reader.Seek(0, SEEK_CUR);
        EXPECT_EQ(reader.Seek(s.offset, s.whence), s.position);
        if (s.position < 0) {
            EXPECT_EQ(reader.Seek(0, SEEK_CUR), before) << "a refused seek moved the position";
        } else if (s.next < 0) {
            EXPECT_EQ(reader.Read(&byte, 1), 0u) << "read past the end";
        } else {
            ASSERT_EQ(reader.Read(&byte, 1), 1u);
            EXPECT_EQ(byte, s.next);
        }
    }
}
