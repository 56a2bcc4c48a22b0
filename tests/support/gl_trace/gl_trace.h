// Records the GL calls a test makes or lets a plugin make, on their way to
// Mesa. The functions are interposed by this shared library, which a test
// links before libGL: calls from the test, from the host code and from
// plugin libraries (whose references resolve through the global scope) reach
// it first, and every call goes on to Mesa's own function. Recording is off
// until GlTraceStart.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct GlTraceCall {
    std::string name;          // e.g. "glVertex3f"
    std::vector<double> args;  // numeric arguments in order; arrays expanded
    // glBegin only: the modelview matrix in force (column-major), read just
    // before the call reached Mesa.
    std::vector<float> modelview;
    // glTexImage2D only: the bytes GL's unpack state makes it read from the
    // pixels, and the bytes the heap block at the pixels holds
    // (malloc_usable_size; exact under AddressSanitizer).
    size_t unpackBytes = 0;
    size_t heldBytes = 0;
};

// True when this library's functions are the ones the global scope finds,
// that is when recording will see what plugins send.
bool GlTraceInterposing();

// Clears the record and starts recording.
void GlTraceStart();
void GlTraceStop();
const std::vector<GlTraceCall>& GlTraceCalls();

// Calls of one function recorded since GlTraceStart.
size_t GlTraceCount(const char* name);

// Records for as long as it lives.
class GlTraceRecording {
public:
    GlTraceRecording() { GlTraceStart(); }
    ~GlTraceRecording() { GlTraceStop(); }
    GlTraceRecording(const GlTraceRecording&) = delete;
    GlTraceRecording& operator=(const GlTraceRecording&) = delete;
};
