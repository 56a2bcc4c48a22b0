#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "orvan_core.h"
#include "texture.h"

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

void ImportAndCheck(const char* fileName, ImportFunction import, int format, const uint8_t* data,
                    size_t size)
{
    if (!WriteInput(fileName, data, size))
        abort();
    std::string file = fileName;  // importers may change the text
    Texture record;
    const int result = import(&file[0], &record);
    if (result == format) {
        if (!record.bitmap || record.width <= 0 || record.height <= 0)
            abort();
        volatile uint8_t sum = 0;
        const size_t bytes = size_t(record.width) * size_t(record.height) * 3;
        for (size_t i = 0; i < bytes; i += 61)
            sum = uint8_t(sum + record.bitmap[i]);
        sum = uint8_t(sum + record.bitmap[bytes - 1]);
    } else if (result != -1 || record.bitmap) {
        abort();
    }
    free(record.bitmap);
}
