#include "reference_decode.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "mp3_writer.h"

namespace {

// Runs the command with the image's file name, in quotes, between before
// and after, and takes its standard output as the samples.
bool DecodeWith(const std::string& before, const std::string& after, const std::vector<unsigned char>& image,
                std::vector<int16_t>* stereo)
{
    char path[] = "/tmp/kelda_reference_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return false;
    close(fd);
    stereo->clear();
    bool ok = WriteMp3File(path, image);
    if (ok) {
        FILE* pipe = popen((before + " '" + path + "' " + after + " 2>/dev/null").c_str(), "r");
        ok = pipe != nullptr;
        if (pipe) {
            int16_t buffer[1 << 14];
            size_t n;
            while ((n = fread(buffer, sizeof(int16_t), sizeof buffer / sizeof(int16_t), pipe)) > 0)
                stereo->insert(stereo->end(), buffer, buffer + n);
            ok = pclose(pipe) == 0;
        }
    }
    std::remove(path);
    return ok;
}

}  // namespace

bool MadplayDecode(const std::vector<unsigned char>& image, std::vector<int16_t>* stereo)
{
    return DecodeWith("madplay --very-quiet --sample-rate=44100 --stereo --output=raw:-", "", image, stereo);
}

bool FfmpegDecode(const std::vector<unsigned char>& image, std::vector<int16_t>* stereo)
{
    return DecodeWith("ffmpeg -nostdin -v quiet -i", "-f s16le -ar 44100 -ac 2 pipe:1", image, stereo);
}

long NonSilentSpan(const std::vector<int16_t>& stereo)
{
    const long frames = long(stereo.size() / 2);
    auto silent = [&](long i) { return stereo[size_t(2 * i)] == 0 && stereo[size_t(2 * i + 1)] == 0; };
    long first = 0;
    while (first < frames && silent(first))
        ++first;
    if (first == frames)
        return 0;
    long last = frames - 1;
    while (silent(last))
        --last;
    return last - first + 1;
}
