#include "win_main.h"

// The process entry: the host's WinMain, called as Windows calls it.
int main()
{
    return WinMain(nullptr, nullptr, const_cast<LPSTR>(""), 1);
}
