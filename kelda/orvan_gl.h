// The GL system: display mode, the window's GL context, the start-up GL state,
// and the render-to-texture state with the host's five targets.
//
// Shared with the plugin libraries: they call the four virtual operations
// through the table and read hdc and rttTargets straight from the object.
#pragma once

#include <GL/gl.h>

#include "win_types.h"

class TexturePool;

class OrvanGL {
public:
    OrvanGL();
    ~OrvanGL();

    // Render-to-texture targets, in slot order.
    virtual int CreateRttTarget(int width, int height);  // slot 0: pool index or -1
    virtual int StartRtt(int poolIndex);                 // slot 1: 0, or 1 when busy
    virtual int EndRtt();                                // slot 2: 0, or 2 when idle
    virtual GLuint GetTextureId(int poolIndex);          // slot 3

    int GoFullscreen();
    int BindWindow(int width, int height, HWND window);
    int InitGL();
    void ReSizeGL(int width, int height);
    BOOL SwapBuffers();
    int SetTexturePool(TexturePool* pool);
    int ClearScene();
    int ReleaseWindow();

    HDC hdc;
    HWND hwnd;
    HGLRC hglrc;
    bool rttActive;
    int32_t rttCounter;
    GLuint rttTexture;
    int32_t rttWidth;
    int32_t rttHeight;
    TexturePool* texturePool;
    int32_t rttTargets[5];
};
