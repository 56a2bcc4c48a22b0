#include "wave_sheet.h"

#include <GL/gl.h>

#include "effect_math.h"

namespace {

const float kColumns = 32.0f;
const float kRows = 32.0f;
// Widens the sheet to the 4:3 window; the only double of the drawing.
const double kAspect = 1.33;

}  // namespace

void DrawWaveSheet(float t)
{
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    // The wave's phase, in columns: the same for the whole frame.
    const float c = static_cast<float>(32.0 * SinF(t / 20.0f) + 16.0 + 15.0 * CosF(t / 5.5f));

    for (float i = 0.0f; i < kColumns; i++) {
        // Depth depends on the column edge alone, so neighbours meet.
        const float phase0 = c - i;
        const float phase1 = c - (i + 1.0f);
        const float z0 = 2.0f * SinF(phase0 / 5.0f);
        const float z1 = 2.0f * SinF(phase1 / 5.0f);
        const float x0 = static_cast<float>((i - 16.0f) * kAspect);
        const float x1 = static_cast<float>((i - 16.0f + 1.0f) * kAspect);
        const float s0 = i / 32.0f;
        const float s1 = (i + 1.0f) / 32.0f;

        for (float j = 0.0f; j < kRows; j++) {
            const float y0 = j - 16.0f;
            const float y1 = j - 16.0f + 1.0f;
            const float r0 = j / 32.0f;
            const float r1 = (j + 1.0f) / 32.0f;

            // Counter-clockwise as the viewer sees it: culling keeps it.
            glTexCoord2f(s0, r0);
            glVertex3f(x0, y0, z0);
            glTexCoord2f(s1, r0);
            glVertex3f(x1, y0, z1);
            glTexCoord2f(s1, r1);
            glVertex3f(x1, y1, z1);
            glTexCoord2f(s0, r1);
            glVertex3f(x0, y1, z0);
        }
    }
    glEnd();
}
