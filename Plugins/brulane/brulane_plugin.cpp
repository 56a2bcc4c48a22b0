#include "brulane_plugin.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "effect_math.h"
#include "voxel_cubes.h"
#include "voxel_grid.h"

void Brulane_Plugin::Init()
{
    OrvanEffectInitPreamble(this, initialised, "brulane plugin initalziation called");
    // Render turns texturing off again; this only reaches the layers drawn
    // before the first frame of the effect.
    glEnable(GL_TEXTURE_2D);
}

// time: absolute stream time in hundredths of a second. The grid carries
// over from call to call, so the picture depends on every earlier frame.
void Brulane_Plugin::Render(float time)
{
    glClear(GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    const float t = time / 5;  // 20 per second

    // Each product is stored as a float before the offset is added.
    const float sx0 = 10.0f * SinF(t / 12);
    const float sy0 = 10.0f * CosF(t / 20);
    const float sz0 = 10.0f * SinF(t / 17);
    const float sx = sx0 + 16;
    const float sy = sy0 + 16;
    const float sz = sz0 + 16;
    const float ex = 20.0f * SinF(t / 34);
    const float ey = 20.0f * CosF(t / 32);
    const float ez = 20.0f * SinF(t / 30);

    StampVoxelSource(static_cast<int>(sx), static_cast<int>(sy), static_cast<int>(sz));
    DiffuseGrid();

    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

    // The camera looks at the exact source position in drawing coordinates;
    // at times the view direction is parallel to the up vector and GLU gets
    // the values unchanged all the same.
    gluLookAt(ex, ey, ez, double(sx) - 16.0, double(sy) - 16.0, double(sz) - 16.0, 0.0, 1.0,
              0.0);

    // Front faces filled, back faces outlined, all added onto the frame.
    glDisable(GL_CULL_FACE);
    glPolygonMode(GL_FRONT, GL_FILL);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glDisable(GL_DEPTH_TEST);

    DrawVoxelCubes();

    glEnable(GL_CULL_FACE);
}

ORVAN_EFFECT_IGNORES_TRIGGERS(Brulane_Plugin)
