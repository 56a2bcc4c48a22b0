// The plugin host with real plugin libraries, loaded by their Windows-style
// names; its log compared whole with what the console shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "orvan_core.h"
#include "orvan_plugin_base.h"
#include "orvan_plugin_host.h"
#include "stdout_capture.h"
#include "win_library.h"

namespace {

const char kBaseName[] = "Orvan Plugin Base - Incomplete Plugin";
const char kNamedName[] = "Test Named Plugin";

std::string Number(const void* p)
{
    return std::to_string(static_cast<long long>(reinterpret_cast<intptr_t>(p)));
}

const void* NewPluginAddress(HMODULE module)
{
    return reinterpret_cast<const void*>(GetProcAddress(module, "NewPlugin"));
}

std::string LoadStart(const std::string& file)
{
    return "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"" + file + "\")\n";
}

const char kLoadFailed[] =
    "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - LoadLibrary Failed!\n";

// The log of a successful load; the handle and addresses are looked up again.
std::string LoadLog(const std::string& file, const Orvan_Plugin* plugin)
{
    HMODULE module = LoadLibraryA(file.c_str());
    return LoadStart(file) + "Orvan_Plugin_Host::modh=" + Number(module) + "\n" +
           "Orvan_Plugin_Host::modfunc=" + Number(NewPluginAddress(module)) + "\n" +
           "Orvan_Plugin_Host::newplug=" + Number(plugin) + "\n" +
           "Orvan_Plugin_Host:: assigning host to plugin...ok\n"
           "Orvan_Plugin_Host:: Pushing plugin into plugin list...\n";
}

class PluginHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StdoutCapture quiet;
        Orvan_Core_Begin();
        hostObject_.emplace();
        host_ = &*hostObject_;
    }

    void TearDown() override
    {
        StdoutCapture quiet;
        // The host never frees its plugins; the test does, through their own
        // destructors, so leak checks see only real leaks.
        std::vector<Orvan_Plugin*> plugins;
        if (hostObject_)
            plugins = host_->plugins;
        hostObject_.reset();
        for (Orvan_Plugin* plugin : plugins)
            delete plugin;
        Orvan_Core_End();
    }

    // Loads quietly; the plugin number.
    int Load(const char* file)
    {
        StdoutCapture quiet;
        return host_->LoadPlugin(file);
    }

    // Held by value: the host has a table but no virtual destructor.
    std::optional<Orvan_Plugin_Host> hostObject_;
    Orvan_Plugin_Host* host_ = nullptr;
};

TEST(PluginHostLifetimeTest, CreatedAndDestroyedLines)
{
    StdoutCapture quiet;
    Orvan_Core_Begin();
    quiet.Finish();

    StdoutCapture capture;
    std::optional<Orvan_Plugin_Host> host;
    host.emplace();
    EXPECT_EQ(nullptr, host->glSystem);
    EXPECT_EQ(nullptr, host->texturePool);
    host.reset();
    EXPECT_EQ("Orvan_Plugin_Host::Orvan Plugin Host Created\n"
              "Orvan_Plugin_Host::Orvan Plugin Host Destroyed\n",
              capture.Finish());
    Orvan_Core_End();
}

TEST_F(PluginHostTest, DestroyingTheHostLeavesThePluginsAlive)
{
    ASSERT_EQ(0, Load("testbase.DLL"));
    Orvan_Plugin* plugin = host_->GetPlugin(0);

    StdoutCapture capture;
    hostObject_.reset();
    EXPECT_EQ("Orvan_Plugin_Host::Orvan Plugin Host Destroyed\n", capture.Finish());

    // Neither the object nor its library went away with the host.
    char name[5000];
    EXPECT_EQ(0, plugin->GetName(name));
    EXPECT_STREQ(kBaseName, name);
    delete plugin;
}

TEST_F(PluginHostTest, EmptyHostCallsNothing)
{
    StdoutCapture capture;
    EXPECT_EQ(0, host_->InitAll());
    EXPECT_EQ(0, host_->TriggerAll(1.0f, 2, 3, 0));
    EXPECT_EQ(0, host_->RenderAll(1.0f));
    EXPECT_EQ(-1, host_->FindPlugin(kBaseName));
    EXPECT_EQ(-1, host_->FindPlugin(""));
    EXPECT_EQ("Orvan_Plugin_Host::Orvan Plugin Host - InitAll()\n", capture.Finish());
}

TEST_F(PluginHostTest, MissingLibrariesTakeNoNumber)
{
    StdoutCapture capture;
    EXPECT_EQ(0, host_->LoadPlugin("missing.DLL"));
    EXPECT_EQ(0, host_->LoadPlugin("testbase.DLL"));
    EXPECT_EQ(0, host_->LoadPlugin("alsomissing.dll"));
    EXPECT_EQ(1, host_->LoadPlugin("testnamed.DLL"));
    const std::string log = capture.Finish();

    ASSERT_EQ(2u, host_->plugins.size());
    EXPECT_EQ(LoadStart("missing.DLL") + kLoadFailed +
                  LoadLog("testbase.DLL", host_->GetPlugin(0)) +
                  LoadStart("alsomissing.dll") + kLoadFailed +
                  LoadLog("testnamed.DLL", host_->GetPlugin(1)),
              log);

    // Each plugin holds the host before anything else is called.
    for (Orvan_Plugin* plugin : host_->plugins) {
        auto* base = static_cast<Orvan_Plugin_Base*>(plugin);
        EXPECT_TRUE(base->hostAttached);
        EXPECT_EQ(host_, base->host);
    }
    char name[5000];
    EXPECT_EQ(1, host_->GetPluginName(1, name));
    EXPECT_STREQ(kNamedName, name);
}

TEST_F(PluginHostTest, HandlesAndAddressesPrintFullWidth)
{
    StdoutCapture capture;
    ASSERT_EQ(0, host_->LoadPlugin("testbase.DLL"));
    const std::string log = capture.Finish();

    const Orvan_Plugin* plugin = host_->GetPlugin(0);
    // Heap addresses on 64-bit Linux do not fit in 32 bits.
    const long long address = static_cast<long long>(reinterpret_cast<intptr_t>(plugin));
    EXPECT_NE(address, static_cast<long long>(static_cast<int32_t>(address)));
    EXPECT_NE(std::string::npos, log.find("newplug=" + std::to_string(address) + "\n")) << log;
}

struct BrokenLibraryCase {
    const char* file;
    bool hasNewPlugin;
    const char* error;
};

void PrintTo(const BrokenLibraryCase& c, std::ostream* os)
{
    *os << c.file;
}


class BrokenLibraryTest : public PluginHostTest,
                          public ::testing::WithParamInterface<BrokenLibraryCase> {};

TEST_P(BrokenLibraryTest, LogsTheFaultAndAddsNoPlugin)
{
    const BrokenLibraryCase& c = GetParam();
    StdoutCapture capture;
    EXPECT_EQ(0, host_->LoadPlugin(c.file));
    const std::string log = capture.Finish();
    EXPECT_TRUE(host_->plugins.empty());

    HMODULE module = LoadLibraryA(c.file);
    ASSERT_NE(nullptr, module);
    std::string expected = LoadStart(c.file) + "Orvan_Plugin_Host::modh=" + Number(module) + "\n" +
                           "Orvan_Plugin_Host::modfunc=" + Number(NewPluginAddress(module)) + "\n";
    if (c.hasNewPlugin) {
        EXPECT_NE(nullptr, NewPluginAddress(module));
        expected += "Orvan_Plugin_Host::newplug=0\n";
    } else {
        EXPECT_EQ(nullptr, NewPluginAddress(module));
    }
    expected += c.error;
    EXPECT_EQ(expected, log);

    // The next library that loads is plugin 0.
    EXPECT_EQ(0, Load("testnamed.DLL"));
    EXPECT_EQ(0, host_->FindPlugin(kNamedName));
}

INSTANTIATE_TEST_SUITE_P(
    Libraries, BrokenLibraryTest,
    ::testing::Values(
        BrokenLibraryCase{"testnoentry.DLL", false,
                          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - no NewPlugin in library!\n"},
        BrokenLibraryCase{"testnull.DLL", true,
                          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - NewPlugin returned no plugin!\n"}),
    [](const ::testing::TestParamInfo<BrokenLibraryCase>& info) {
        return std::string(info.param.hasNewPlugin ? "NullPlugin" : "NoNewPlugin");
    });

TEST_F(PluginHostTest, FindPluginMatchesExactNamesInLoadOrder)
{
    ASSERT_EQ(0, Load("testbase.DLL"));
    ASSERT_EQ(1, Load("testnamed.DLL"));
    ASSERT_EQ(2, Load("testbase.DLL"));  // one library, a second object
    EXPECT_NE(host_->GetPlugin(0), host_->GetPlugin(2));

    struct {
        const char* name;
        int expected;
    } cases[] = {
        {kNamedName, 1},
        {kBaseName, 0},  // two plugins of that name: the lower number
        {"test named plugin", -1},
        {"Test Named Plugin ", -1},
        {"Test Named", -1},
        {"", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, host_->FindPlugin(c.name)) << '"' << c.name << '"';
}

TEST_F(PluginHostTest, CallsReachThePluginsInLoadOrder)
{
    ASSERT_EQ(0, Load("testnamed.DLL"));
    ASSERT_EQ(1, Load("testbase.DLL"));
    ASSERT_EQ(2, Load("testnamed.DLL"));

    StdoutCapture capture;
    EXPECT_EQ(0, host_->InitAll());
    EXPECT_EQ(3, host_->TriggerAll(12.5f, 4, 7, 0));
    EXPECT_EQ(0, host_->RenderPlugin(2, 31.25f));
    EXPECT_EQ(0, host_->RenderPluginObject(host_->GetPlugin(0), 1.5f));
    EXPECT_EQ(0, host_->InitPlugin(1));  // the base: nothing to log
    EXPECT_EQ("Orvan_Plugin_Host::Orvan Plugin Host - InitAll()\n"
              "debug:[named Init]\n"
              "debug:[named Init]\n"
              "debug:[named Trigger 12.5 4 7 0]\n"
              "debug:[named Trigger 12.5 4 7 0]\n"
              "debug:[named Render 31.25]\n"
              "debug:[named Render 1.50]\n",
              capture.Finish());
}

TEST_F(PluginHostTest, UnloadAndProbeOnlyLog)
{
    ASSERT_EQ(0, Load("testbase.DLL"));
    StdoutCapture capture;
    EXPECT_EQ(1, host_->UnloadPlugin(0));
    host_->PluginProbe();
    EXPECT_EQ("Orvan_Plugin_Host::Orvan Plugin Host - UnloadPlugin(0)\n"
              "Note - this function is not implemented\n"
              "Orvan_Plugin_Host::PluginProbe() -- Plugin probed host!\n",
              capture.Finish());
    EXPECT_EQ(1u, host_->plugins.size());
}

TEST_F(PluginHostTest, DebugPrintFramesOneMessage)
{
    StdoutCapture capture;
    host_->DebugPrint("plain");
    host_->DebugPrint("%d of %s at %.1f", 3, "ten", 0.5);
    host_->DebugPrint("100%% sure");
    host_->DebugPrint("%s", "kept %s %d");  // formatted once only
    host_->DebugPrint("own line end\n");
    EXPECT_EQ("debug:[plain]\n"
              "debug:[3 of ten at 0.5]\n"
              "debug:[100% sure]\n"
              "debug:[kept %s %d]\n"
              "debug:[own line end\n]\n",
              capture.Finish());
}

struct DebugLengthCase {
    size_t length;
    std::string (*expected)(const std::string& message);
};

void PrintTo(const DebugLengthCase& c, std::ostream* os)
{
    *os << c.length;
}


class DebugPrintLengthTest : public PluginHostTest,
                             public ::testing::WithParamInterface<DebugLengthCase> {};

TEST_P(DebugPrintLengthTest, FrameIsCutByTheConsoleBuffer)
{
    std::string message;
    for (size_t i = 0; i < GetParam().length; ++i)
        message += static_cast<char>('A' + i % 26);
    StdoutCapture capture;
    host_->DebugPrint("%s", message.c_str());
    EXPECT_EQ(GetParam().expected(message), capture.Finish());
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, DebugPrintLengthTest,
    ::testing::Values(
        // The longest message that reaches the console whole.
        DebugLengthCase{246, [](const std::string& m) { return "debug:[" + m + "]\n"; }},
        DebugLengthCase{247, [](const std::string& m) { return "debug:[" + m + "]"; }},
        DebugLengthCase{1000, [](const std::string& m) { return "debug:[" + m.substr(0, 248); }}),
    [](const ::testing::TestParamInfo<DebugLengthCase>& info) {
        return "Length" + std::to_string(info.param.length);
    });

}  // namespace
