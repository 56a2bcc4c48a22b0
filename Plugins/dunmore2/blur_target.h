// The effect's own render-to-texture target, made through the host's GL
// system, and the copy of the frame into it.
#pragma once

#include <GL/gl.h>

class Orvan_Plugin_Host;

// Pool index of the target, -1 when the GL system could not make one.
extern int g_blurTarget;
// Its GL texture name; 0 without a target.
extern GLuint g_blurTexture;

// Makes a new 1024 x 512 target on every call and keeps only the newest.
void CreateBlurTarget(Orvan_Plugin_Host* host);

// Copies the frame drawn so far into the target. The GL system has one
// capture state: when another capture is open, the start is refused and the
// end completes that capture instead, into its own target.
void CaptureFrame(Orvan_Plugin_Host* host);
