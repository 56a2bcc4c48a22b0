// A fresh sound library per test on SDL's disk audio driver, with what the
// device received readable after the device is closed.
#pragma once

#include "fsound.h"
#include "mp3_writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// The mode the player opens its soundtrack with.
const unsigned int kPlayerMode = FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE;

class SoundTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // FSOUND_Init as the player calls it, then the player's buffer size.
    void StartLibrary();
    // Opens image (kept alive by the fixture) with the player's mode.
    FSOUND_STREAM* OpenImage(const std::vector<unsigned char>& image, unsigned int mode = kPlayerMode);
    // Closes the library and returns the interleaved stereo samples the
    // device was given.
    std::vector<int16_t> CloseAndReadDeviceOutput();

    std::string deviceFile_;
    std::vector<std::vector<unsigned char>> images_;
};

// The image decoded by mpg123 directly, through its feed interface.
PcmAudio DecodeReference(const std::vector<unsigned char>& image);

// Plays the stream from its start, held paused first, and waits until the
// time equals its length; the time never goes back or past the length.
void PlayToEnd(FSOUND_STREAM* stream, int lengthMs);

// Polls pred every millisecond until it holds or timeout passes.
bool WaitFor(const std::function<bool()>& pred, std::chrono::milliseconds timeout);

void SleepMs(int ms);
