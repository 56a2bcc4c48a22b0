#include "test_window.h"

#include <map>
#include <string>

namespace {

// One class per window procedure, so tests can open windows with their own.
const char* ClassFor(WNDPROC proc)
{
    static std::map<WNDPROC, std::string> classes;
    auto found = classes.find(proc);
    if (found != classes.end())
        return found->second.c_str();

    std::string name = "KeldaTestWindow" + std::to_string(classes.size());
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = name.c_str();
    if (!RegisterClassA(&windowClass))
        return nullptr;
    return classes.emplace(proc, name).first->second.c_str();
}

}  // namespace

bool OpenTestWindow(TestWindow& window, WNDPROC proc)
{
    window = TestWindow();
    const char* className = ClassFor(proc ? proc : DefWindowProcA);
    if (!className)
        return false;

    window.hwnd = CreateWindowExA(WS_EX_APPWINDOW, className, "Kelda test",
                                  WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 640, 480,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window.hwnd)
        return false;

    window.hdc = GetDC(window.hwnd);
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof(pfd);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    int format = window.hdc ? ChoosePixelFormat(window.hdc, &pfd) : 0;
    if (!format || !SetPixelFormat(window.hdc, format, &pfd)) {
        CloseTestWindow(window);
        return false;
    }
    window.hglrc = wglCreateContext(window.hdc);
    if (!window.hglrc || !wglMakeCurrent(window.hdc, window.hglrc)) {
        CloseTestWindow(window);
        return false;
    }
    ShowWindow(window.hwnd, SW_SHOW);
    return true;
}

void CloseTestWindow(TestWindow& window)
{
    if (window.hglrc) {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(window.hglrc);
    }
    if (window.hdc)
        ReleaseDC(window.hwnd, window.hdc);
    if (window.hwnd)
        DestroyWindow(window.hwnd);
    window = TestWindow();
}
