// The soundtrack: the sound library started, "data\mellot.mp3" read whole
// into memory and opened as a stream, held paused on its channel.
#pragma once

#include <cstdint>

// Sets g_stream and g_channel and returns true with the stream length in
// milliseconds. On failure logs "Error!\n" and why, closes the sound library
// and returns false: the player then ends.
bool StartSoundtrack(int32_t* streamLength);
