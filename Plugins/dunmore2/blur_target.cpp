#include "blur_target.h"

#include "orvan_gl.h"
#include "orvan_plugin_host.h"

int g_blurTarget;
GLuint g_blurTexture;

namespace {

const int kTargetWidth = 1024;
const int kTargetHeight = 512;

}  // namespace

void CreateBlurTarget(Orvan_Plugin_Host* host)
{
    g_blurTarget = host->glSystem->CreateRttTarget(kTargetWidth, kTargetHeight);
    // The GL system has already said why it made none; there is no record
    // to ask a texture name of.
    g_blurTexture = g_blurTarget != -1 ? host->glSystem->GetTextureId(g_blurTarget) : 0;
}

void CaptureFrame(Orvan_Plugin_Host* host)
{
    host->glSystem->StartRtt(g_blurTarget);
    host->glSystem->EndRtt();
}
