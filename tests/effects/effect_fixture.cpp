#include "effect_fixture.h"

#include <GL/gl.h>

#include "orvan_core.h"
#include "orvan_gl.h"
#include "orvan_plugin.h"
#include "orvan_plugin_host.h"
#include "test_window.h"

namespace {

TestWindow s_window;
OrvanGL* s_gl = nullptr;
Orvan_Plugin_Host* s_host = nullptr;

}  // namespace

void EffectTest::SetUpTestSuite()
{
    if (s_host)
        return;
    Orvan_Core_Begin();
    ASSERT_TRUE(OpenTestWindow(s_window));
    s_gl = new OrvanGL;
    s_host = new Orvan_Plugin_Host;
    s_host->glSystem = s_gl;
    s_host->texturePool = nullptr;
}

Orvan_Plugin_Host& EffectTest::Host()
{
    return *s_host;
}

Orvan_Plugin* EffectTest::LoadEffect(const char* file)
{
    const size_t before = s_host->plugins.size();
    s_host->LoadPlugin(file);
    if (s_host->plugins.size() != before + 1) {
        ADD_FAILURE() << "cannot load " << file;
        return nullptr;
    }
    return s_host->plugins.back();
}

void EffectTest::ResetGLState()
{
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    s_gl->InitGL();
    s_gl->ReSizeGL(640, 480);
}

Pixel ReadBackPixel(int x, int y)
{
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return Pixel{rgba[0], rgba[1], rgba[2], rgba[3]};
}

std::string ReadBackBuffer()
{
    std::string pixels(640 * 480 * 4, '\0');
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, &pixels[0]);
    return pixels;
}
