#include "player_startup.h"

#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin_host.h"
#include "player_globals.h"
#include "texture_pool.h"
#include "win_window.h"
#include "window_procedure.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kRttWidth = 1024;
constexpr int kRttHeight = 512;
constexpr DWORD kWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW;
const char kClassName[] = "Calvastine";

}  // namespace

HWND OpenPlayerWindow(OrvanGL* gl)
{
    Orvan_Core_Print("Registering window class and creating window...\n");
    HINSTANCE instance = GetModuleHandleA(NULL);
    WNDCLASSA windowClass = {};
    windowClass.style = CS_OWNDC | CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(NULL, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(NULL, IDC_ARROW);
    windowClass.hbrBackground = NULL;
    windowClass.lpszMenuName = NULL;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);

    ShowCursor(FALSE);
    gl->GoFullscreen();

    RECT rect = {0, 0, kScreenWidth, kScreenHeight};
    AdjustWindowRectEx(&rect, WS_POPUP, FALSE, kWindowExStyle);
    HWND hwnd = CreateWindowExA(kWindowExStyle, kClassName, "anus", kWindowStyle, 0, 0,
                                rect.right - rect.left, rect.bottom - rect.top, NULL, NULL,
                                instance, NULL);
    if (!hwnd) {
        Orvan_Core_Print("Window Creation Error.\n");
        return NULL;
    }

    gl->BindWindow(kScreenWidth, kScreenHeight, hwnd);
    Orvan_Core_Print("Existing window bound, about to call initgl\n");
    gl->InitGL();
    Orvan_Core_Print("InitGL Returned ok, calling ReSizeGL\n");
    gl->ReSizeGL(kScreenWidth, kScreenHeight);
    Orvan_Core_Print("ResizeGL returned ok, calling showwindow\n");

    ShowWindow(hwnd, SW_SHOW);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    return hwnd;
}

Orvan_Plugin_Host* StartHostServices(OrvanGL* gl, const char* const* pluginFiles,
                                     size_t pluginCount)
{
    Orvan_Core_Print("Creating GL Texture Pool...\n");
    // Held until the process ends: the GL system and the plugin host that
    // point to it are deleted at shutdown, the pool and its records are not.
    static TexturePool* pool;
    pool = new TexturePool;
    gl->SetTexturePool(pool);

    Orvan_Core_Print("Creating RTT Targets...\n");
    for (int32_t& target : gl->rttTargets)
        target = gl->CreateRttTarget(kRttWidth, kRttHeight);

    Orvan_Core_Print("Creating Plugin Host...\n");
    Orvan_Plugin_Host* host = new Orvan_Plugin_Host;
    host->glSystem = gl;
    host->texturePool = pool;

    Orvan_Core_Print("Loading Effect Plugins...\n");
    for (size_t i = 0; i < pluginCount; i++)
        host->LoadPlugin(pluginFiles[i]);

    g_host = host;
    g_gl = gl;

    Orvan_Core_Print("Initializing Plugins...\n");
    host->InitAll();
    return host;
}
