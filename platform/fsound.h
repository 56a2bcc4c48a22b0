// The soundtrack stream calls the player makes, on libmpg123 and SDL2 audio.
//
// Only what the player relies on: one output device opened at the mix rate,
// MP3 streams played from the caller's memory, play and pause by channel, and
// the stream position in milliseconds of what has been heard.
#pragma once

struct FSOUND_STREAM;
struct FSOUND_DSPUNIT;

// Outputs and drivers are accepted and ignored: there is one device.
#define FSOUND_OUTPUT_DSOUND 2

// Stream mode bits
#define FSOUND_16BITS 0x00000010u
#define FSOUND_MONO 0x00000020u
#define FSOUND_SIGNED 0x00000100u
#define FSOUND_NORMAL (FSOUND_16BITS | FSOUND_SIGNED | FSOUND_MONO)
#define FSOUND_LOADMEMORY 0x00008000u
#define FSOUND_MPEGACCURATE 0x00020000u

#define FSOUND_FREE (-1)

signed char FSOUND_SetOutput(int outputType);
signed char FSOUND_SetDriver(int driver);
// Opens the audio device; 0 when no device opens.
signed char FSOUND_Init(int mixRate, int maxSoftwareChannels, unsigned int flags);
// The decode-ahead buffer of streams opened after this call, in milliseconds.
signed char FSOUND_Stream_SetBufferSize(int milliseconds);
// With FSOUND_LOADMEMORY, data is an MP3 image of length bytes that stays valid
// while the stream lives. NULL for what cannot be played.
FSOUND_STREAM* FSOUND_Stream_Open(const char* data, unsigned int mode, int offset, int length);
int FSOUND_Stream_GetLengthMs(FSOUND_STREAM* stream);
// Returns the channel the stream plays on, or -1.
int FSOUND_Stream_PlayEx(int channel, FSOUND_STREAM* stream, FSOUND_DSPUNIT* dsp,
                         signed char startPaused);
signed char FSOUND_SetPaused(int channel, signed char paused);
// Milliseconds heard so far; equal to the length once the last sample played.
int FSOUND_Stream_GetTime(FSOUND_STREAM* stream);
void FSOUND_Close();
