// The skeleton every effect class shares, seen through the interference
// effect's real library and through a small effect compiled here.
#include <GL/gl.h>

#include <climits>
#include <cstring>

#include "effect_fixture.h"
#include "orvan_effect.h"
#include "orvan_plugin_host.h"
#include "pravik_plugin.h"
#include "stdout_capture.h"

namespace {

// An effect built on the skeleton inside the test, for what the library's
// object cannot show: readiness for every combination of the flags, and an
// Init without a host.
ORVAN_EFFECT_CLASS(Probe_Effect, "Probe Effect");

int s_probePreparations = 0;

void Probe_Effect::Init()
{
    OrvanEffectInitPreamble(this, initialised, "probe plugin called");
    ++s_probePreparations;
}

void Probe_Effect::Render(float) {}

ORVAN_EFFECT_IGNORES_TRIGGERS(Probe_Effect)

long Offset(const void* object, const void* field)
{
    return static_cast<const char*>(field) - static_cast<const char*>(object);
}

}  // namespace

using EffectSkeletonTest = EffectTest;

TEST_F(EffectSkeletonTest, LayoutAddsThreeFlagsAfterTheBase)
{
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);
    auto* effect = static_cast<Pravik_Plugin*>(plugin);
    // One address for the effect and both of its bases.
    EXPECT_EQ(static_cast<void*>(effect), static_cast<void*>(plugin));
    EXPECT_EQ(static_cast<void*>(static_cast<Orvan_Plugin_Base*>(effect)),
              static_cast<void*>(plugin));

    EXPECT_EQ(Offset(effect, &effect->constructed), long(sizeof(Orvan_Plugin_Base)));
    EXPECT_EQ(Offset(effect, &effect->enabled), long(sizeof(Orvan_Plugin_Base)) + 1);
    EXPECT_EQ(Offset(effect, &effect->initialised), long(sizeof(Orvan_Plugin_Base)) + 2);
    EXPECT_EQ(sizeof(Pravik_Plugin), 32u);

    // As the library's constructor left them; SetHost has run.
    EXPECT_TRUE(effect->constructed);
    EXPECT_FALSE(effect->enabled);
    EXPECT_FALSE(effect->initialised);
    EXPECT_EQ(effect->host, &Host());
    EXPECT_TRUE(effect->hostAttached);
}

TEST_F(EffectSkeletonTest, GetNameWritesTheDisplayNameAndItsNulOnly)
{
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);
    char buffer[64];
    memset(buffer, 0x5A, sizeof buffer);
    EXPECT_EQ(plugin->GetName(buffer), 0);
    const char name[] = "Interference Plugin";
    EXPECT_EQ(memcmp(buffer, name, sizeof name), 0);  // with the NUL
    EXPECT_EQ(buffer[sizeof name], 0x5A);
}

TEST_F(EffectSkeletonTest, ReservedSlotsAnswerZeroWhereTheBaseSaysMinusOne)
{
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);
    Orvan_Plugin_Base base;
    Orvan_Plugin& plain = base;
    EXPECT_EQ(plain.Reserved3(), -1);
    EXPECT_EQ(plugin->Reserved3(), 0);
    EXPECT_EQ(plugin->Reserved5(7, -7), 0);
    EXPECT_EQ(plugin->Reserved6(INT_MIN), 0);
}

TEST_F(EffectSkeletonTest, TriggerAnswersZeroForEveryIdAndChangesNothing)
{
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);
    auto* effect = static_cast<Pravik_Plugin*>(plugin);
    plugin->Init();

    ResetGLState();
    plugin->Render(317.0f);
    const std::string before = ReadBackBuffer();

    const int ids[] = {INT_MIN, -1, 0, 1, 2, 3, 4, 5, 100, INT_MAX};
    for (int id : ids) {
        SCOPED_TRACE(id);
        EXPECT_EQ(plugin->Trigger(12.5f, id, 3, 0), 0);
        EXPECT_EQ(plugin->Trigger(-1.0f, id, INT_MIN, 9), 0);
    }
    EXPECT_TRUE(effect->constructed);
    EXPECT_FALSE(effect->enabled);
    EXPECT_TRUE(effect->initialised);

    ResetGLState();
    plugin->Render(317.0f);
    EXPECT_TRUE(ReadBackBuffer() == before) << "a trigger changed the picture";
}

TEST_F(EffectSkeletonTest, InitLogsItsMessageAndWarnsTheSecondTime)
{
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);
    auto* effect = static_cast<Pravik_Plugin*>(plugin);

    glDisable(GL_TEXTURE_2D);
    {
        StdoutCapture capture;
        plugin->Init();
        EXPECT_EQ(capture.Finish(), "debug:[pravik plugin initalziation called]\n");
    }
    EXPECT_TRUE(effect->initialised);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));

    // The second Init has no early return: it warns, logs again and repeats
    // the preparation. The warning's own line end puts its bracket on the
    // next line.
    glDisable(GL_TEXTURE_2D);
    {
        StdoutCapture capture;
        plugin->Init();
        EXPECT_EQ(capture.Finish(),
                  "debug:[Warning - plugin already initalized\n"
                  "]\n"
                  "debug:[pravik plugin initalziation called]\n");
    }
    EXPECT_TRUE(effect->initialised);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_TEXTURE_2D);
}

TEST_F(EffectSkeletonTest, IsReadyNeedsAllThreeFlagsAndEnabledNeverIs)
{
    // Through the library's own object: before and after Init.
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);
    auto* effect = static_cast<Pravik_Plugin*>(plugin);
    EXPECT_EQ(effect->IsReady(), 0);
    plugin->Init();
    EXPECT_EQ(effect->IsReady(), 0);
    glDisable(GL_TEXTURE_2D);

    Probe_Effect probe;
    EXPECT_TRUE(probe.constructed);
    EXPECT_FALSE(probe.enabled);
    EXPECT_FALSE(probe.initialised);
    for (int bits = 0; bits < 8; ++bits) {
        probe.constructed = (bits & 1) != 0;
        probe.enabled = (bits & 2) != 0;
        probe.initialised = (bits & 4) != 0;
        EXPECT_EQ(probe.IsReady(), bits == 7 ? 1 : 0) << bits;
    }
}

TEST_F(EffectSkeletonTest, InitWithoutAHostStillPreparesAndLogsNothing)
{
    Probe_Effect probe;
    probe.SetHost(nullptr);
    s_probePreparations = 0;
    StdoutCapture capture;
    probe.Init();
    probe.Init();
    EXPECT_EQ(capture.Finish(), "");
    EXPECT_TRUE(probe.initialised);
    EXPECT_EQ(s_probePreparations, 2);
}
