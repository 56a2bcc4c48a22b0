// CPU cost of decoding and mixing one minute of 44.1 kHz stereo MP3, as a
// fraction of one core over the minute's real time.
//
// The disk driver with no delay between callbacks plays the minute as fast
// as the decoder and the mixer allow; the CPU time of the whole process,
// less the waiting main thread, is what decoding and mixing took.
#include "fsound.h"
#include "mp3_writer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

double CpuSeconds(clockid_t clock)
{
    timespec ts{};
    clock_gettime(clock, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv)
{
    int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    int kbps = argc > 2 ? std::atoi(argv[2]) : 192;
    if (seconds <= 0)
        seconds = 60;
    std::string sink = "/dev/null";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", sink.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);

    std::printf("encoding %d s of 44.1 kHz stereo at %d kbps...\n", seconds, kbps);
    PcmAudio music = MakeBeat(44100, 2, 44100L * seconds, 125, 660.0);
    PcmAudio tone = MakeTone(44100, 2, 44100L * seconds, 220.0, 0.3);
    for (size_t i = 0; i < music.samples.size(); ++i)
        music.samples[i] = int16_t((music.samples[i] + tone.samples[i]) / 2);
    std::vector<unsigned char> image = EncodeMp3(music, kbps);
    if (image.empty()) {
        std::fprintf(stderr, "encoding failed\n");
        return 1;
    }

    if (!FSOUND_Init(44100, 32, 0)) {
        std::fprintf(stderr, "no audio device\n");
        return 1;
    }
    FSOUND_Stream_SetBufferSize(100);
    double processStart = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    double mainStart = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    auto wallStart = std::chrono::steady_clock::now();

    FSOUND_STREAM* stream = FSOUND_Stream_Open(reinterpret_cast<const char*>(image.data()),
                                               FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE, 0,
                                               int(image.size()));
    if (!stream) {
        std::fprintf(stderr, "the stream did not open\n");
        return 1;
    }
    int length = FSOUND_Stream_GetLengthMs(stream);
    int channel = FSOUND_Stream_PlayEx(FSOUND_FREE, stream, nullptr, 0);
    (void)channel;
    while (FSOUND_Stream_GetTime(stream) != length)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    FSOUND_Close();

    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    double mainCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainStart;
    double cpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart - mainCpu;
    double audio = length / 1000.0;
    std::printf("audio %.3f s played in %.3f s wall\n", audio, wall);
    std::printf("decode+mix CPU %.1f ms (main thread %.1f ms excluded)\n", cpu * 1000.0, mainCpu * 1000.0);
    std::printf("fraction of one core in real time: %.3f %%\n", 100.0 * cpu / audio);
    return 0;
}
