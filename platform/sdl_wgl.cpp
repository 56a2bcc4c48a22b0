#include "win_handles.h"

#include <GL/gl.h>

namespace {

// The one pixel format: what every window is created with (see
// sdl_window.cpp): double-buffered RGBA of 8 bits a channel in 32-bit pixels,
// a 16-bit depth buffer, no alpha, stencil, accumulation or auxiliary buffers.
const int kPixelFormat = 1;
const BYTE kColorBits = 32;
const BYTE kDepthBits = 16;

// Looked up among the live windows, so a context gone with its window is
// never read.
bool IsDc(HDC dc)
{
    for (HWND window : PlatformWindows())
        if (dc && window->dc == dc)
            return true;
    return false;
}

}  // namespace

// Windows with their own device context hand out the same one every time.
HDC GetDC(HWND window)
{
    if (!PlatformIsWindow(window))
        return nullptr;
    if (!window->dc) {
        window->dc = new HDC__;
        window->dc->window = window;
    }
    return window->dc;
}

// The window's own context stays with it until the window is destroyed.
int ReleaseDC(HWND window, HDC dc)
{
    return IsDc(dc) && dc->window == window ? 1 : 0;
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (!IsDc(dc) || !descriptor || descriptor->iPixelType != PFD_TYPE_RGBA)
        return 0;
    if (descriptor->cColorBits > kColorBits || descriptor->cDepthBits > kDepthBits ||
        descriptor->cAlphaBits || descriptor->cStencilBits || descriptor->cAccumBits ||
        descriptor->cAuxBuffers)
        return 0;
    return kPixelFormat;
}

// A window's format is set once, as on Windows: setting the same one again
// succeeds, any other fails.
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    if (!IsDc(dc) || format != kPixelFormat)
        return FALSE;
    if (dc->pixelFormat && dc->pixelFormat != format)
        return FALSE;
    dc->pixelFormat = format;
    return TRUE;
}

HGLRC wglCreateContext(HDC dc)
{
    if (!IsDc(dc) || !dc->pixelFormat)
        return nullptr;
    // SDL makes a new context current; WGL does not, so the current one is
    // put back.
    SDL_Window* currentWindow = SDL_GL_GetCurrentWindow();
    SDL_GLContext current = SDL_GL_GetCurrentContext();
    SDL_GLContext context = SDL_GL_CreateContext(dc->window->sdlWindow);
    if (!context)
        return nullptr;
    if (current)
        SDL_GL_MakeCurrent(currentWindow, current);
    else
        SDL_GL_MakeCurrent(nullptr, nullptr);
    HGLRC handle = new HGLRC__;
    handle->context = context;
    return handle;
}

BOOL wglMakeCurrent(HDC dc, HGLRC context)
{
    if (!context)
        return SDL_GL_MakeCurrent(nullptr, nullptr) == 0 ? TRUE : FALSE;
    // As with WGL, any device context of the context's pixel format will do.
    if (!IsDc(dc) || dc->pixelFormat != kPixelFormat)
        return FALSE;
    return SDL_GL_MakeCurrent(dc->window->sdlWindow, context->context) == 0 ? TRUE : FALSE;
}

BOOL wglDeleteContext(HGLRC context)
{
    if (!context)
        return FALSE;
    if (SDL_GL_GetCurrentContext() == context->context)
        SDL_GL_MakeCurrent(nullptr, nullptr);
    SDL_GL_DeleteContext(context->context);
    delete context;
    return TRUE;
}

BOOL SwapBuffers(HDC dc)
{
    if (!IsDc(dc))
        return FALSE;
    // Under the offscreen driver the window is an EGL pbuffer, whose swap
    // does nothing, not even flush: llvmpipe then keeps every frame's queued
    // commands, and memory grows by the frame. A flush first ends the frame
    // as a real swap does.
    glFlush();
    SDL_GL_SwapWindow(dc->window->sdlWindow);
    return TRUE;
}
