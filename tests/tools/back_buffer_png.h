// The back buffer of the current GL context as a PNG file.
#pragma once

// Reads width x height pixels from the lower left corner of the back buffer,
// as drawn (before any swap), and writes them opaque, top row first, to file
// (replacing it). The image library must be started (the GL system's
// constructor does it). False when the image cannot be made or written.
bool WriteBackBufferPng(const char* file, int width, int height);
