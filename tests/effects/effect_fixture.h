// One window, GL context and plugin host for the whole test binary, set up
// the way the player does: the host's GL start-up state on a 640x480 window,
// the real log on stdout, effect libraries loaded by the real host.
#pragma once

#include <gtest/gtest.h>

#include <string>

class Orvan_Plugin;
class Orvan_Plugin_Host;

class EffectTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();

    static Orvan_Plugin_Host& Host();

    // A new object of the library's effect, attached to the host but not yet
    // initialised. Every load of an already loaded library makes one more.
    static Orvan_Plugin* LoadEffect(const char* file);

    // The effect of a private copy of the library ("brulane" for brulane.so),
    // loaded by the host under another file name: its file-level state is
    // as at load, whatever other objects of the library have done.
    static Orvan_Plugin* LoadFreshEffect(const char* library);

    // The start-up GL state of the player, the modelview matrix current and
    // identity, as every layer of the first frame finds it.
    static void ResetGLState();
};

// The path of a library as built, next to the test binary ("brulane" gives
// .../brulane.so).
std::string BuiltLibraryPath(const char* library);

// Red, green, blue and alpha of one pixel of the back buffer.
struct Pixel {
    int r, g, b, a;
};
Pixel ReadBackPixel(int x, int y);

// The back buffer's 640x480 RGBA pixels.
std::string ReadBackBuffer();
