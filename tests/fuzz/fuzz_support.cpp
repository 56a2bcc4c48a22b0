#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "orvan_core.h"

void EnterFuzzFolder()
{
    const char* temp = getenv("TMPDIR");
    std::string folder = std::string(temp && *temp ? temp : "/tmp") + "/kelda_fuzz_XXXXXX";
    if (!mkdtemp(&folder[0]) || chdir(folder.c_str()) != 0) {
        perror("kelda fuzz folder");
        abort();
    }
    setenv("KELDA_UNATTENDED", "1", 1);
    Orvan_Core_Begin();
}

bool WriteInput(const char* name, const uint8_t* data, size_t size)
{
    FILE* out = fopen(name, "wb");
    if (!out)
        return false;
    bool ok = size == 0 || fwrite(data, size, 1, out) == 1;
    return fclose(out) == 0 && ok;
}
