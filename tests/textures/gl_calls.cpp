#include "gl_calls.h"

#include <cstdio>
#include <vector>

#include "gl_trace.h"

namespace {

std::string Line(const std::string& name, const std::vector<double>& args)
{
    std::string line = name + "(";
    for (size_t i = 0; i < args.size(); i++) {
        char number[32];
        snprintf(number, sizeof number, "%s%.9g", i ? ", " : "", args[i]);
        line += number;
    }
    return line + ")\n";
}

}  // namespace

std::string GlCall(const char* name, std::initializer_list<double> args)
{
    return Line(name, std::vector<double>(args));
}

std::string GlCallsRecorded()
{
    std::string text;
    for (const GlTraceCall& call : GlTraceCalls())
        text += Line(call.name, call.args);
    return text;
}

std::string UploadsReadingPastTheirPixels()
{
    std::string text;
    for (const GlTraceCall& call : GlTraceCalls())
        if (call.name == "glTexImage2D" && call.unpackBytes > call.heldBytes)
            text += Line(call.name, call.args) + "  reads " + std::to_string(call.unpackBytes) + " bytes of " +
                    std::to_string(call.heldBytes) + "\n";
    return text;
}
