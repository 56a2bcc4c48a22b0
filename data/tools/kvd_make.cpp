// kvd_make <timeline.txt> <out.kvd>: writes a demo script from its text form.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "kvd_timeline.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: kvd_make <timeline.txt> <out.kvd>\n");
        return 1;
    }
    const char* inputPath = argv[1];
    const char* outputPath = argv[2];

    std::ifstream input(inputPath, std::ios::binary);
    if (!input) {
        fprintf(stderr, "kvd_make: cannot open %s\n", inputPath);
        return 1;
    }
    std::ostringstream text;
    text << input.rdbuf();
    if (input.bad()) {
        fprintf(stderr, "kvd_make: cannot read %s\n", inputPath);
        return 1;
    }

    std::vector<KvdEvent> events;
    std::string error;
    if (!ParseKvdTimeline(text.str(), events, error)) {
        fprintf(stderr, "kvd_make: %s:%s\n", inputPath, error.c_str());
        return 1;
    }
    // Nothing is written unless the whole timeline is sound.
    if (!WriteKvdBytes(outputPath, EncodeKvdFile(events), error)) {
        fprintf(stderr, "kvd_make: %s\n", error.c_str());
        return 1;
    }
    printf("kvd_make: %zu events written to %s\n", events.size(), outputPath);
    return 0;
}
