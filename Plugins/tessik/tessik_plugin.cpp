#include "tessik_plugin.h"

#include <GL/gl.h>

#include <cmath>

#include "blob_mesh.h"
#include "effect_math.h"

namespace {

// Built by the library's static construction, before the library entry runs
// and before the host creates the effect object; never freed.
BlobMesh g_sphereMesh(0.25f, 40);

// 0 until Init; set by trigger 2.
float g_sphereScale = 0.0f;

float SphereScaleFor(int value)
{
    switch (value) {
    case 1:
        return 5.0f;
    case 2:
        return 15.0f;
    case 3:
        return 40.0f;
    case 4:
        return 1.0f;
    default:
        return 30.0f;
    }
}

}  // namespace

void Tessik_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "tessik plugin called");

    // The only light of the demo. Its position is fixed by the modelview
    // matrix of this moment, the identity during the host's start-up: a
    // positional light at (1, 1, 2) in eye space that no Render moves.
    const GLfloat ambient[4] = {0.3f, 0.3f, 0.5f, 1.0f};
    const GLfloat diffuse[4] = {0.5f, 0.8f, 1.0f, 1.0f};
    const GLfloat specular[4] = {0.5f, 0.8f, 1.0f, 1.0f};
    const GLfloat position[4] = {10.0f, 10.0f, 20.0f, 10.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT1, GL_POSITION, position);

    g_sphereScale = 30.0f;
}

int Tessik_Plugin::Trigger(float, int id, int value, int)
{
    if (id == 2)
        g_sphereScale = SphereScaleFor(value);
    return 0;
}

// time: absolute stream time in hundredths of a second.
void Tessik_Plugin::Render(float time)
{
    glClear(GL_DEPTH_BUFFER_BIT);  // the colour keeps the lower layers
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glEnable(GL_CULL_FACE);
    glEnable(GL_NORMALIZE);

    const float t = time / 100.0f;

    // The centre sits at the far clipping distance: only the near half shows.
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -100.0f);
    glPushMatrix();

    glRotatef(30.0f * t, 1.0f, 0.0f, 0.0f);
    glRotatef(25.0f * t, 0.0f, 1.0f, 0.0f);
    glRotatef(4.0f * t, 0.0f, 0.0f, 1.0f);
    glScalef(g_sphereScale, g_sphereScale, g_sphereScale);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    const double td = static_cast<double>(t);
    const float sinT = SinF(t);
    Vector3 frequency;
    frequency.Set(25.0f, 23.0f, 27.0f);
    Vector3 phase;
    phase.Set(static_cast<float>(5.0 * sinT + 0.25),
              static_cast<float>(5.0 * std::sin(td * 0.8123)),
              static_cast<float>(5.0 * std::cos(td * 0.923)));
    // From 1 to 5.
    const float k = (sinT + 1.0f) * 2.0f + 1.0f;
    Vector3 amplitude;
    amplitude.Set(1.0f, 1.0f, 1.0f).Scale(k);

    g_sphereMesh.DeformAndDraw(frequency.x, frequency.y, frequency.z, phase.x, phase.y,
                               phase.z, amplitude.x, amplitude.y, amplitude.z);

    glDisable(GL_LIGHTING);
    glPopMatrix();
}
