// Records the platform calls the player's loop and shutdown make, in order,
// on their way to the real platform layer. The test program is linked with
// --wrap for each call below (see CMakeLists.txt), so every call to it, from
// the host code and from the tests, first reaches this file's recorder and
// then goes on, unchanged, to the real function. Two host functions are
// traced the same way, to place the frame's drawing and the log core's end
// among the platform calls. Recording is off until PlatformTraceStart.
#pragma once

#include <string>
#include <vector>

struct PlatformCall {
    std::string name;             // e.g. "Sleep"
    // Integer arguments in order; a handle a test compares is its address,
    // any other pointer is 1 when given and 0 for NULL.
    std::vector<long long> args;
    long long result = 0;  // the real function's result, where the test reads it
    // WriteConsoleA: the bytes; SetWindowTextA: the title; RegisterClassA:
    // the class name; CreateWindowExA: the class and window names on two lines.
    std::string text;
};

void PlatformTraceStart();  // clears the record and starts recording
void PlatformTraceStop();
const std::vector<PlatformCall>& PlatformTraceCalls();
// The names of the recorded calls, in order.
std::vector<std::string> PlatformTraceNames();

// Records for as long as it lives.
class PlatformTraceRecording {
public:
    PlatformTraceRecording() { PlatformTraceStart(); }
    ~PlatformTraceRecording() { PlatformTraceStop(); }
    PlatformTraceRecording(const PlatformTraceRecording&) = delete;
    PlatformTraceRecording& operator=(const PlatformTraceRecording&) = delete;
};
