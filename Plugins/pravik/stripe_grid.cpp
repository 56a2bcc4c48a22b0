#include "stripe_grid.h"

#include <GL/gl.h>

// 20 rows of 80 steps of 0.25 from -10 to 10; every other step draws a bar,
// so the bars stack into 40 stripes 0.25 wide with gaps of 0.25. The step
// is a double added to a float and stored back: every value is a multiple of
// 0.25 within +-10, so all coordinates are exact and the counts fixed.
void DrawStripeGrid()
{
    const double barWidth = 0.25;
    bool flag = false;  // toggled across rows; each row has an even count
    for (float y = -10.0f; y < 10.0f; y += 1.0f) {
        for (float x = -10.0f; x < 10.0f; x = static_cast<float>(x + barWidth)) {
            flag = !flag;
            if (!flag)
                continue;
            const float right = static_cast<float>(x + barWidth);
            const float top = y + 1.0f;
            // One begin/end pair per bar, its colour set inside.
            glBegin(GL_QUADS);
            glColor4f(1.0f, 1.0f, 1.0f, 0.33f);
            glVertex3f(x, y, 0.0f);
            glVertex3f(right, y, 0.0f);
            glVertex3f(right, top, 0.0f);
            glVertex3f(x, top, 0.0f);
            glEnd();
        }
    }
}
