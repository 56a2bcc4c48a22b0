// The framework as a real plugin library carries it: the base-defaults library
// loaded through the loader, its objects reached only through the interface.
#include <gtest/gtest.h>

#include <cstring>

#include "dll_entry.h"
#include "orvan_plugin_base.h"
#include "win_library.h"

namespace {

const char kBaseName[] = "Orvan Plugin Base - Incomplete Plugin";

NewPluginFunction FindNewPlugin(HMODULE module)
{
    return reinterpret_cast<NewPluginFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "NewPlugin")));
}

class PluginFrameworkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        module_ = LoadLibraryA("testbase.DLL");
        ASSERT_NE(nullptr, module_);
        create_ = FindNewPlugin(module_);
        ASSERT_NE(nullptr, create_);
    }

    HMODULE module_ = nullptr;
    NewPluginFunction create_ = nullptr;
};

TEST_F(PluginFrameworkTest, LibraryExportsNewPluginAlone)
{
    // Hidden framework symbols keep plugin libraries from binding to each
    // other's copies of the base class.
    EXPECT_EQ(nullptr, GetProcAddress(module_, "DllMain"));
    EXPECT_EQ(nullptr, GetProcAddress(module_, "_ZN17Orvan_Plugin_Base7GetNameEPc"));
    EXPECT_EQ(nullptr, GetProcAddress(module_, "_ZTV17Orvan_Plugin_Base"));
}

TEST_F(PluginFrameworkTest, BaseDefaultsAnswerEverySlot)
{
    Orvan_Plugin* plugin = create_();
    ASSERT_NE(nullptr, plugin);
    auto* base = static_cast<Orvan_Plugin_Base*>(plugin);
    auto* fakeHost = reinterpret_cast<Orvan_Plugin_Host*>(0x1234);
    EXPECT_EQ(1, plugin->SetHost(fakeHost));

    char name[64];
    memset(name, 0x7F, sizeof name);
    EXPECT_EQ(0, plugin->GetName(name));
    EXPECT_STREQ(kBaseName, name);
    EXPECT_EQ(37u, strlen(kBaseName));
    EXPECT_EQ(0x7F, name[38]) << "GetName wrote past the name and its NUL";

    EXPECT_EQ(-1, plugin->Reserved3());
    EXPECT_EQ(0, plugin->Trigger(1.5f, 2, 3, 4));
    EXPECT_EQ(0, plugin->Reserved5(-1, 9));
    EXPECT_EQ(0, plugin->Reserved6(7));
    plugin->Render(12.0f);
    plugin->Init();
    EXPECT_TRUE(base->hostAttached);
    EXPECT_EQ(fakeHost, base->host);

    delete plugin;  // through the library's own destructor and heap
}

TEST_F(PluginFrameworkTest, SetHostKeepsTheLastPointerEvenNull)
{
    Orvan_Plugin* plugin = create_();
    auto* base = static_cast<Orvan_Plugin_Base*>(plugin);
    auto* first = reinterpret_cast<Orvan_Plugin_Host*>(0x1000);
    auto* second = reinterpret_cast<Orvan_Plugin_Host*>(0x2000);

    EXPECT_EQ(1, plugin->SetHost(first));
    EXPECT_EQ(1, plugin->SetHost(second));
    EXPECT_EQ(second, base->host);
    EXPECT_TRUE(base->hostAttached);

    EXPECT_EQ(1, plugin->SetHost(nullptr));
    EXPECT_EQ(nullptr, base->host);
    EXPECT_TRUE(base->hostAttached);
    delete plugin;
}

TEST_F(PluginFrameworkTest, EveryNewPluginCallMakesAnotherObject)
{
    Orvan_Plugin* first = create_();
    Orvan_Plugin* second = create_();
    EXPECT_NE(nullptr, first);
    EXPECT_NE(nullptr, second);
    EXPECT_NE(first, second);
    // Loading the library again finds the same creation function.
    EXPECT_EQ(create_, FindNewPlugin(LoadLibraryA("testbase.dll")));
    delete first;
    delete second;
}

TEST(DllEntryTest, AnswersTrueForEveryReason)
{
    for (DWORD reason : {DLL_PROCESS_ATTACH, DLL_PROCESS_DETACH, DLL_THREAD_ATTACH, DLL_THREAD_DETACH})
        EXPECT_EQ(TRUE, DllMain(nullptr, reason, nullptr)) << "reason " << reason;
}

}  // namespace
