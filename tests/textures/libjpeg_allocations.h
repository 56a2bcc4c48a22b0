// libjpeg's allocations as the test program sees them: libjpeg's memory
// manager takes all its memory through jpeg_get_small and jpeg_get_large,
// which the program's own definitions stand in for, to count them and to
// run out of memory on demand.
#pragma once

// While one lives, counts libjpeg's allocations and fails the one numbered
// `failing` (from 1) and every one after it; with 0 none fails.
class LibjpegAllocations {
public:
    explicit LibjpegAllocations(int failing = 0);
    ~LibjpegAllocations();
    LibjpegAllocations(const LibjpegAllocations&) = delete;
    LibjpegAllocations& operator=(const LibjpegAllocations&) = delete;

    int Count() const;
    // Whether libjpeg's calls reach the program's definitions.
    static bool Interposing();
};
