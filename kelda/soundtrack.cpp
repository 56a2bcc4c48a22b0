#include "soundtrack.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "fsound.h"
#include "host_path.h"
#include "orvan_core.h"
#include "player_globals.h"

namespace {

const char kSoundtrackFile[] = "data\\mellot.mp3";
constexpr unsigned int kStreamMode = FSOUND_NORMAL | FSOUND_LOADMEMORY | FSOUND_MPEGACCURATE;

// The whole file in one malloc'ed block, held for the run; NULL when its
// length cannot be taken, does not fit the stream call's int, the block
// cannot be had or the read comes up short.
char* ReadImage(FILE* file, int* length)
{
    if (fseek(file, 0, SEEK_END) != 0)
        return NULL;
    const long size = ftell(file);
    if (size < 0 || size > INT_MAX || fseek(file, 0, SEEK_SET) != 0)
        return NULL;
    // One byte at least, so an empty file still gets a block (and then fails
    // as a stream, not as a read).
    char* image = static_cast<char*>(malloc(size > 0 ? static_cast<size_t>(size) : 1));
    if (!image)
        return NULL;
    if (size > 0 && fread(image, static_cast<size_t>(size), 1, file) != 1) {
        free(image);
        return NULL;
    }
    *length = static_cast<int>(size);
    return image;
}

bool Fail(const char* why)
{
    Orvan_Core_Print("Error!\n");
    if (why)
        Orvan_Core_Print("%s", why);
    FSOUND_Close();
    return false;
}

}  // namespace

bool StartSoundtrack(int32_t* streamLength)
{
    Orvan_Core_Print("Starting FMOD and Loading Sountrack...\n");
    FSOUND_SetOutput(FSOUND_OUTPUT_DSOUND);
    FSOUND_SetDriver(0);
    if (!FSOUND_Init(44100, 32, 0))
        return Fail(NULL);
    FSOUND_Stream_SetBufferSize(100);

    FILE* file = fopen(PosixPath(kSoundtrackFile).c_str(), "rb");
    if (!file)
        return Fail("File Not Found\n");
    int length = 0;
    char* image = ReadImage(file, &length);
    fclose(file);
    if (!image)
        return Fail("Soundtrack Cannot Be Read\n");

    g_stream = FSOUND_Stream_Open(image, kStreamMode, 0, length);
    if (!g_stream) {
        free(image);
        return Fail("Soundtrack Stream Cannot Be Opened\n");
    }
    *streamLength = FSOUND_Stream_GetLengthMs(g_stream);

    g_channel = FSOUND_Stream_PlayEx(FSOUND_FREE, g_stream, NULL, 1);
    FSOUND_SetPaused(g_channel, 1);
    return true;
}
