// The GL calls the tracer recorded, as lines of text such as
// "glTexParameteri(3553, 10240, 9729)\n", so that a sequence written out in a
// test compares, and shows its difference, as one string.
#pragma once

#include <initializer_list>
#include <string>

std::string GlCall(const char* name, std::initializer_list<double> args);
// Every call recorded since GlTraceStart, one line each.
std::string GlCallsRecorded();
// A line for each upload recorded since GlTraceStart that GL's unpack state
// made read past the heap block of its pixels; empty when none did.
std::string UploadsReadingPastTheirPixels();
