#include "win_handles.h"

// The stock icon and cursor are only named by the window class: SDL windows
// keep the system's own. A handle stands for each so the class is filled as
// on Windows.
namespace {
char s_winLogo;
char s_arrow;
}  // namespace

HICON LoadIconA(HINSTANCE instance, LPCSTR name)
{
    return !instance && name == IDI_WINLOGO ? reinterpret_cast<HICON>(&s_winLogo) : nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    return !instance && name == IDC_ARROW ? reinterpret_cast<HCURSOR>(&s_arrow) : nullptr;
}
