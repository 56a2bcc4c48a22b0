#include "recorder_plugin.h"

#include <GL/gl.h>
#include <cstring>

namespace {

void Record(RecorderPlugin& plugin, RecorderPlugin::Call call)
{
    plugin.calls.push_back(call);
    if (plugin.journal)
        plugin.journal->push_back(call);
}

}  // namespace

void RecorderPlugin::Init()
{
    Record(*this, {Call::kInit, this, 0.0f, 0, 0, 0});
}

void RecorderPlugin::Render(float time)
{
    Record(*this, {Call::kRender, this, time, 0, 0, 0});
    if (!paint)
        return;

    // A quad over the whole viewport, leaving the caller's state as it was.
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(paintColour[0], paintColour[1], paintColour[2]);
    glBegin(GL_QUADS);
    glVertex2f(-1.0f, -1.0f);
    glVertex2f(1.0f, -1.0f);
    glVertex2f(1.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}

int RecorderPlugin::Trigger(float time, int id, int value, int reserved)
{
    Record(*this, {Call::kTrigger, this, time, id, value, reserved});
    return 0;
}

int RecorderPlugin::GetName(char* out)
{
    strcpy(out, RECORDER_NAME);
    return 0;
}
