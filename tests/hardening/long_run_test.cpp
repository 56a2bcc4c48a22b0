// The bundled demo played from start to end with every delivered library,
// headless, while the player's resident memory is sampled. Each scene's first
// frames may fill caches (the GL driver compiles and keeps what a new state
// needs), so from start-up on the memory is only held to a generous bound;
// once every event name of the timeline has run, the memory may not grow to
// the end of the demo beyond a small tolerance. Meant for the sanitizer build, where a leak also fails the run
// at exit.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "console_lines.h"
#include "player_folder.h"
#include "player_process.h"

namespace {

constexpr double kTimeout = 400.0;
constexpr double kSampleSeconds = 0.5;
// After the last first appearance of an event name.
constexpr double kSettleSeconds = 3.0;
// The median over this long after settling is the reference, and the median
// over the last as long may exceed it by the tolerance only.
constexpr double kWindowSeconds = 10.0;
constexpr double kToleranceFactor = 1.05;
constexpr long kToleranceKb = 32 * 1024;
// From the start of the main loop on, the first frames of every scene may
// add what the driver keeps for them, well within this factor of the memory
// at start-up; a leak by the frame soon goes past it.
constexpr double kStartUpGrowthFactor = 2.5;

long ResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.compare(0, 6, "VmRSS:") == 0)
            return std::stol(line.substr(6));
    return -1;
}

// The stream time, in seconds, by which every event name of the bundled
// timeline has been active once.
double LastFirstAppearance()
{
    std::ifstream timeline(std::string(KELDA_DATA_DIR) + "/kelda.timeline");
    std::map<std::string, long> first;
    std::string line;
    while (std::getline(timeline, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        long start, end, layer, id, value;
        std::string clear, name, word;
        if (!(fields >> start >> end >> layer >> id >> value >> clear))
            continue;
        while (fields >> word)
            name += (name.empty() ? "" : " ") + word;
        if (!first.count(name))
            first[name] = start;
    }
    long last = 0;
    for (const auto& entry : first)
        last = std::max(last, entry.second);
    return double(last) / 1000.0;
}

struct Sample {
    double seconds;  // since the main loop began
    long kb;
};

long MedianKb(const std::vector<Sample>& samples, double from, double to)
{
    std::vector<long> kb;
    for (const Sample& s : samples)
        if (s.seconds >= from && s.seconds < to)
            kb.push_back(s.kb);
    if (kb.empty())
        return 0;
    std::nth_element(kb.begin(), kb.begin() + long(kb.size() / 2), kb.end());
    return kb[kb.size() / 2];
}

TEST(LongRun, BundledDemoPlaysToTheEndWithoutGrowingInMemory)
{
    const std::vector<std::string> built = BuiltDeliveredPlugins();
    for (const std::string& name : DeliveredPlugins())
        if (std::find(built.begin(), built.end(), name) == built.end())
            GTEST_SKIP() << name << " is not in this build";

    PlayerFolder folder;
    ASSERT_TRUE(folder.AddPlayer());
    for (const std::string& name : DeliveredPlugins())
        ASSERT_TRUE(folder.AddPlugin(name)) << name;
    ASSERT_TRUE(LinkProjectData(folder, true));
    ASSERT_TRUE(CopyProjectScript(folder));
    const double watchFrom = LastFirstAppearance() + kSettleSeconds;
    ASSERT_GT(watchFrom, kSettleSeconds);

    // A small quarantine keeps freed memory from standing in for growth.
    const char* asan = getenv("ASAN_OPTIONS");
    const std::string options = std::string(asan ? asan : "") + (asan && *asan ? ":" : "") +
                                "quarantine_size_mb=16";
    PlayerProcess player(folder.Path(), VideoDriver::Offscreen, {{"ASAN_OPTIONS", options}});
    std::vector<Sample> samples;
    double loopStart = -1.0;
    const double deadline = MonotonicSeconds() + kTimeout;
    while (player.Running() && MonotonicSeconds() < deadline) {
        const double now = MonotonicSeconds();
        if (loopStart < 0.0 && player.ConsoleSoFar().find("entering mainloop\n") != std::string::npos)
            loopStart = now;
        const long kb = ResidentKb(player.Pid());
        if (loopStart >= 0.0 && kb > 0)
            samples.push_back({now - loopStart, kb});
        usleep(useconds_t(kSampleSeconds * 1e6));
    }
    PlayerResult run = player.Wait(kTimeout);
    std::ostringstream shown;
    shown << "status " << run.status << " signal " << run.signal << " after " << run.seconds
          << " s\n--- resident memory (s: MiB):";
    for (size_t i = 0; i < samples.size(); i += 4)
        shown << " " << int(samples[i].seconds) << ":" << samples[i].kb / 1024;
    shown << "\n--- errors:\n" << run.errors;

    ASSERT_TRUE(run.exited) << shown.str();
    EXPECT_EQ(0, run.signal) << shown.str();
    EXPECT_EQ(0, run.status) << shown.str();
    const std::vector<std::string> lines = ConsoleLines(run.console);
    const std::vector<std::string> shutdown = ExpectedShutdown();
    ASSERT_GE(lines.size(), shutdown.size()) << shown.str();
    EXPECT_EQ(shutdown, std::vector<std::string>(lines.end() - long(shutdown.size()), lines.end()))
        << shown.str();

    // Medians over windows of the run, so that the allocator's caches and
    // the sanitizer's quarantine filling and draining do not count as growth.
    const long reference = MedianKb(samples, watchFrom, watchFrom + kWindowSeconds);
    ASSERT_GT(reference, 0) << "the run ended before " << watchFrom << " s\n" << shown.str();
    const double end = samples.back().seconds;
    const long last = MedianKb(samples, end - kWindowSeconds, end + 1.0);
    EXPECT_LE(last, long(double(reference) * kToleranceFactor) + kToleranceKb)
        << "resident memory " << last / 1024 << " MiB at the end against " << reference / 1024
        << " MiB at " << watchFrom << " s\n"
        << shown.str();
    const long startUp = MedianKb(samples, 0.0, kWindowSeconds / 2);
    for (const Sample& s : samples) {
        ASSERT_LE(s.kb, long(double(startUp) * kStartUpGrowthFactor))
            << "resident memory at " << s.seconds << " s against " << startUp / 1024
            << " MiB at start-up\n"
            << shown.str();
    }
}

}  // namespace
