// Display mode, window binding, start-up GL state and presentation. The
// render-to-texture operations are in orvan_gl_rtt.cpp.
#include "orvan_gl.h"

#include <GL/glu.h>
#include <IL/il.h>
#include <cstring>

#include "orvan_core.h"
#include "win_gl.h"
#include "win_window.h"

OrvanGL::OrvanGL()
    : hdc(nullptr), hwnd(nullptr), hglrc(nullptr), rttActive(false), rttCounter(0),
      texturePool(nullptr)
{
    Orvan_Core_Print("OrvanGL System Created\n");
    // The JPEG importer decodes through the image library.
    ilInit();
}

// The device context and the GL context stay: they last until the process ends.
OrvanGL::~OrvanGL()
{
    Orvan_Core_Print("OrvanGL System Destroyed\n");
}

int OrvanGL::GoFullscreen()
{
    DEVMODEA mode;
    memset(&mode, 0, sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = 640;
    mode.dmPelsHeight = 480;
    mode.dmBitsPerPel = 32;
    mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;

    if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL)
        return 1;

    Orvan_Core_Print("ERROR: Cannot go fullscreen!\n");
    MessageBoxA(nullptr, "Error: Cannot go fullscreen properly", "error", MB_OK);
    return 0;
}

int OrvanGL::BindWindow(int, int, HWND window)
{
    hdc = GetDC(window);

    PIXELFORMATDESCRIPTOR descriptor;
    memset(&descriptor, 0, sizeof descriptor);
    descriptor.nSize = sizeof descriptor;
    descriptor.nVersion = 1;
    descriptor.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    descriptor.iPixelType = PFD_TYPE_RGBA;
    descriptor.cColorBits = 32;
    descriptor.cDepthBits = 16;
    descriptor.iLayerType = PFD_MAIN_PLANE;

    int format = ChoosePixelFormat(hdc, &descriptor);
    if (!SetPixelFormat(hdc, format, &descriptor))
        MessageBoxA(nullptr, "pixel format error!", "error!", MB_OK);

    hglrc = wglCreateContext(hdc);
    wglMakeCurrent(hdc, hglrc);
    hwnd = window;
    return 0;
}

int OrvanGL::InitGL()
{
    Orvan_Core_Print("OrvanGL::InitGL() called\n");
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glMatrixMode(GL_PROJECTION);
    glEnable(GL_CULL_FACE);
    return 1;
}

void OrvanGL::ReSizeGL(int width, int height)
{
    if (height == 0)
        height = 1;
    glViewport(0, 0, width, height);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // The aspect divides in double precision; the near plane is 0.1f widened.
    const double aspect = static_cast<double>(static_cast<float>(width)) /
                          static_cast<double>(static_cast<float>(height));
    gluPerspective(45.0, aspect, static_cast<double>(0.1f), 100.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

BOOL OrvanGL::SwapBuffers()
{
    return ::SwapBuffers(hdc);
}

int OrvanGL::SetTexturePool(TexturePool* pool)
{
    texturePool = pool;
    return 0;
}

int OrvanGL::ClearScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    return 1;
}

int OrvanGL::ReleaseWindow()
{
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(hglrc);
    ReleaseDC(hwnd, hdc);
    return 0;
}
