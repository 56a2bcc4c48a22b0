#include "effect_fixture.h"

#include <GL/gl.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>

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

Orvan_Plugin* EffectTest::LoadFreshEffect(const char* library)
{
    char folder[] = "/tmp/kelda_effect_XXXXXX";
    if (!mkdtemp(folder)) {
        ADD_FAILURE() << "no temporary folder";
        return nullptr;
    }
    static int serial = 0;
    const std::string base =
        std::string(folder) + "/" + library + "_copy" + std::to_string(serial++);
    {
        std::ifstream in(BuiltLibraryPath(library), std::ios::binary);
        std::ofstream out(base + ".so", std::ios::binary);
        out << in.rdbuf();
    }
    Orvan_Plugin* plugin = LoadEffect((base + ".DLL").c_str());
    unlink((base + ".so").c_str());
    rmdir(folder);
    return plugin;
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

std::string BuiltLibraryPath(const char* library)
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    const std::string exe = length > 0 ? std::string(path, size_t(length)) : std::string();
    return exe.substr(0, exe.rfind('/') + 1) + library + ".so";
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
