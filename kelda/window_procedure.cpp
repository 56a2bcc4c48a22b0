#include "window_procedure.h"

#include "player_globals.h"

namespace {

// Only the 256 virtual-key codes have an entry; anything larger is dropped
// rather than written past the table.
void SetKey(WPARAM key, unsigned char down)
{
    if (key < sizeof g_keys)
        g_keys[key] = down;
}

}  // namespace

LRESULT WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ACTIVATE:
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER)
            return 0;
        break;
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_KEYDOWN:
        SetKey(wParam, 1);
        return 0;
    case WM_KEYUP:
        SetKey(wParam, 0);
        return 0;
    case WM_SIZE:
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}
