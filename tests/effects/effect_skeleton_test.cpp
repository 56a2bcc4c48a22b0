// The skeleton every effect class shares, seen through the interference
// effect's real library and through a small effect compiled here.
#include <GL/gl.h>

#include <climits>
#include <cstring>

#include "effect_fixture.h"
#include "orvan_effect.h"
#include "orvan_plugin_host.h"
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

// The three flags of an effect object of a library, read where the skeleton
// puts them: the test knows the library's object only as an Orvan_Plugin.
struct Flags {
    bool constructed, enabled, initialised;
};

Flags FlagsOf(const Orvan_Plugin* plugin)
{
    const bool* flags = reinterpret_cast<const bool*>(reinterpret_cast<const char*>(plugin) +
                                                      sizeof(Orvan_Plugin_Base));
    return Flags{flags[0], flags[1], flags[2]};
}

}  // namespace

using EffectSkeletonTest = EffectTest;

TEST_F(EffectSkeletonTest, LayoutAddsThreeFlagsAfterTheBase)
{
    Probe_Effect probe;
    EXPECT_EQ(Offset(&probe, &probe.constructed), long(sizeof(Orvan_Plugin_Base)));
    EXPECT_EQ(Offset(&probe, &probe.enabled), long(sizeof(Orvan_Plugin_Base)) + 1);
    EXPECT_EQ(Offset(&probe, &probe.initialised), long(sizeof(Orvan_Plugin_Base)) + 2);
    EXPECT_EQ(sizeof(Probe_Effect), 32u);
    EXPECT_EQ(static_cast<void*>(static_cast<Orvan_Plugin*>(&probe)), static_cast<void*>(&probe));

    // The library's object as its constructor left it.
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);
    const Flags flags = FlagsOf(plugin);
    EXPECT_TRUE(flags.constructed);
    EXPECT_FALSE(flags.enabled);
    EXPECT_FALSE(flags.initialised);
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
    const Flags flags = FlagsOf(plugin);
    EXPECT_TRUE(flags.constructed);
    EXPECT_FALSE(flags.enabled);
    EXPECT_TRUE(flags.initialised);

    ResetGLState();
    plugin->Render(317.0f);
    EXPECT_TRUE(ReadBackBuffer() == before) << "a trigger changed the picture";
}

TEST_F(EffectSkeletonTest, InitLogsItsMessageAndWarnsTheSecondTime)
{
    Orvan_Plugin* plugin = LoadEffect("pravik.DLL");
    ASSERT_NE(plugin, nullptr);

    glDisable(GL_TEXTURE_2D);
    {
        StdoutCapture capture;
        plugin->Init();
        EXPECT_EQ(capture.Finish(), "debug:[pravik plugin initalziation called]\n");
    }
    EXPECT_TRUE(FlagsOf(plugin).initialised);
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
    EXPECT_TRUE(FlagsOf(plugin).initialised);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glDisable(GL_TEXTURE_2D);
}

TEST_F(EffectSkeletonTest, IsReadyNeedsAllThreeFlagsAndEnabledNeverIs)
{
    Probe_Effect probe;
    probe.SetHost(&Host());
    EXPECT_EQ(probe.IsReady(), 0);
    {
        StdoutCapture quiet;
        probe.Init();
    }
    EXPECT_TRUE(probe.initialised);
    EXPECT_EQ(probe.IsReady(), 0);  // enabled stays false

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
