// The texture pool's importers, keyed by the lower-case text after a file
// name's last dot.
#include <cctype>
#include <cstring>

#include "orvan_core.h"
#include "texture_pool.h"

namespace {

void LowerInPlace(char* text)
{
    for (; *text; text++)
        *text = static_cast<char>(tolower(static_cast<unsigned char>(*text)));
}

}  // namespace

int TexturePool::RegisterImporter(ImportFunction function, const char* /*name*/,
                                  const char* extension, int flags)
{
    // An extension that does not fit would be cut and then match the wrong
    // files, so it is not registered at all.
    if (strlen(extension) >= sizeof(ImporterRecord::extension))
        return -1;

    ImporterRecord* record = new ImporterRecord();
    record->flags = flags;
    strcpy(record->extension, extension);
    LowerInPlace(record->extension);
    record->function = function;
    importers.push_back(record);
    return 0;
}

ImportFunction TexturePool::FindImporter(char* file)
{
    char* dot = strrchr(file, '.');
    if (!dot) {
        Orvan_Core_Print("Null extention - failed strrstr with string \"%s\"\n", file);
        return nullptr;
    }

    // The caller's text changes: its extension comes back in lower case.
    char* extension = dot + 1;
    LowerInPlace(extension);

    for (ImporterRecord* record : importers) {
        if (strcmp(record->extension, extension) == 0) {
            Orvan_Core_Print("Matched!\n");
            return record->function;
        }
    }
    return nullptr;
}
