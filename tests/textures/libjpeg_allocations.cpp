#include "libjpeg_allocations.h"

#include <dlfcn.h>

// jpeglib.h needs FILE and size_t declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

// libjpeg's system-dependent memory layer; jpeglib.h does not declare it.
extern "C" {
void* jpeg_get_small(j_common_ptr info, size_t size);
void* jpeg_get_large(j_common_ptr info, size_t size);
}

namespace {

bool s_counting = false;
int s_count = 0;
int s_failing = 0;

typedef void* (*Allocate)(j_common_ptr, size_t);

void* Counted(Allocate real, j_common_ptr info, size_t size)
{
    if (!s_counting)
        return real(info, size);
    ++s_count;
    return s_failing != 0 && s_count >= s_failing ? nullptr : real(info, size);
}

}  // namespace

extern "C" void* jpeg_get_small(j_common_ptr info, size_t size)
{
    static const Allocate real = reinterpret_cast<Allocate>(dlsym(RTLD_NEXT, "jpeg_get_small"));
    return Counted(real, info, size);
}

extern "C" void* jpeg_get_large(j_common_ptr info, size_t size)
{
    static const Allocate real = reinterpret_cast<Allocate>(dlsym(RTLD_NEXT, "jpeg_get_large"));
    return Counted(real, info, size);
}

LibjpegAllocations::LibjpegAllocations(int failing)
{
    s_count = 0;
    s_failing = failing;
    s_counting = true;
}

LibjpegAllocations::~LibjpegAllocations()
{
    s_counting = false;
}

int LibjpegAllocations::Count() const
{
    return s_count;
}

bool LibjpegAllocations::Interposing()
{
    return dlsym(RTLD_DEFAULT, "jpeg_get_small") == reinterpret_cast<void*>(&jpeg_get_small);
}
