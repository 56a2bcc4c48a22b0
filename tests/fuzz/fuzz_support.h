// What every fuzz target shares: a private working folder, files written per
// input into it, and the player's log core.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "texture_pool.h"

// Makes a fresh folder under the temp directory the working directory, opens
// the log console and declares the run unattended (a message box only prints).
// Called from LLVMFuzzerInitialize, before libFuzzer reads its corpus
// folders: give the fuzzer absolute paths.
void EnterFuzzFolder();

// Writes size bytes as the file at name (relative to the working directory);
// false when the write fails.
bool WriteInput(const char* name, const uint8_t* data, size_t size);

// One input through an importer, as the texture pool would call it on the
// file name: aborts unless the importer either refused it (-1, no pixels) or
// answered format with a buffer holding every byte of width x height x 3 that
// the upload will read. The pixels are freed again.
void ImportAndCheck(const char* fileName, ImportFunction import, int format, const uint8_t* data,
                    size_t size);
