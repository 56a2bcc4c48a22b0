// CPU cost of decoding and mixing one minute of stereo MP3, as a fraction of
// one core over the minute's real time. At another rate than the device's
// 44.1 kHz the cost of resampling is in it.
//
// By default the disk driver with no delay between callbacks plays the
// minute as fast as the decoder and the mixer allow; with --realtime the
// dummy driver plays it at real-time pace. The CPU time of the whole
// process, less the waiting main thread, is what decoding and mixing took;
// the time of each thread is listed from its scheduler statistics.
//
//   bench_sound_decode [seconds [kbps [rate]]] [--realtime]
#include "fsound.h"
#include "mp3_writer.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fstream>
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

// On-CPU time of every thread of this process but the calling one.
void PrintThreadTimes()
{
    DIR* dir = opendir("/proc/self/task");
    if (!dir)
        return;
    std::string self = std::to_string(gettid());
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.' || self == entry->d_name)
            continue;
        std::string task = std::string("/proc/self/task/") + entry->d_name;
        std::ifstream stat(task + "/schedstat");
        std::ifstream comm(task + "/comm");
        double ns = 0;
        std::string name;
        stat >> ns;
        std::getline(comm, name);
        std::printf("  thread %-16s %8.1f ms\n", name.c_str(), ns * 1e-6);
    }
    closedir(dir);
}

}  // namespace

int main(int argc, char** argv)
{
    bool realtime = false;
    int numbers[3] = {60, 192, 44100};
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--realtime") == 0)
            realtime = true;
        else if (count < 3)
            numbers[count++] = std::atoi(argv[i]);
    }
    int seconds = numbers[0] > 0 ? numbers[0] : 60;
    int kbps = numbers[1] > 0 ? numbers[1] : 192;
    int rate = numbers[2] > 0 ? numbers[2] : 44100;
    if (realtime) {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    } else {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
        setenv("SDL_DISKAUDIODELAY", "0", 1);
    }

    std::printf("encoding %d s of %d Hz stereo at %d kbps...\n", seconds, rate, kbps);
    PcmAudio music = MakeBeat(rate, 2, long(rate) * seconds, 125, 660.0);
    PcmAudio tone = MakeTone(rate, 2, long(rate) * seconds, 220.0, 0.3);
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
    PrintThreadTimes();
    FSOUND_Close();

    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    double mainCpu = CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - mainStart;
    double cpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - processStart - mainCpu;
    double audio = length / 1000.0;
    std::printf("%s: audio %.3f s played in %.3f s wall\n", realtime ? "dummy driver, real time" : "disk driver, no delay", audio, wall);
    std::printf("decode+mix CPU %.1f ms (main thread %.1f ms excluded)\n", cpu * 1000.0, mainCpu * 1000.0);
    std::printf("fraction of one core in real time: %.3f %%\n", 100.0 * cpu / audio);
    return 0;
}
