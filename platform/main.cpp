#include "standard_descriptors.h"
#include "win_main.h"

// The process entry: the host's WinMain, called as Windows calls it.
int main()
{
    PlatformOpenStandardDescriptors();
    return WinMain(nullptr, nullptr, const_cast<LPSTR>(""), 1);
}
