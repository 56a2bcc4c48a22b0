#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "win_library.h"
#include "win_window.h"

namespace fs = std::filesystem;

namespace {

// Runs each test in an empty working directory of its own; the test program's
// folder holds platform_probe.so, which answers 1. The same source built
// elsewhere answers 2.
class Loader : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/kelda_loader_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(folder_);
    }
    void TearDown() override
    {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

    void PlaceOther(const fs::path& relative)
    {
        fs::create_directories((folder_ / relative).parent_path());
        fs::copy_file(PROBE_OTHER_PATH, folder_ / relative);
    }

    // The probe's answer through the loaded library, 0 when none loaded.
    static int Answer(const char* name)
    {
        HMODULE library = LoadLibraryA(name);
        if (!library)
            return 0;
        auto probe = reinterpret_cast<int (*)()>(
            reinterpret_cast<void (*)()>(GetProcAddress(library, "ProbeValue")));
        return probe ? probe() : -1;
    }

    fs::path folder_;
    fs::path previous_;
};

}  // namespace

TEST_F(Loader, WindowsNamesFindTheSharedLibrary)
{
    PlaceOther("platform_probe.so");
    PlaceOther("cwd_probe.so");
    PlaceOther("sub/nested_probe.so");
    std::ofstream("not_a_library.so") << "this is no shared object\n";

    const struct {
        const char* name;
        int answer;  // 1: the program's folder, 2: the working directory, 0: none
    } cases[] = {
        {"platform_probe.DLL", 1},  // the program's folder comes first
        {"platform_probe.dll", 1},
        {"platform_probe.Dll", 1},
        {"platform_probe.so", 1},
        {"cwd_probe.DLL", 2},
        {"sub\\nested_probe.DLL", 2},
        {"sub//nested_probe.dll", 2},
        {"absent.DLL", 0},
        {"not_a_library.DLL", 0},
        {"platform_probe.DLL.txt", 0},
        {"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.answer, Answer(c.name)) << c.name;
    EXPECT_EQ(nullptr, LoadLibraryA(nullptr));
}

TEST_F(Loader, MissingExportIsNull)
{
    HMODULE library = LoadLibraryA("platform_probe.DLL");
    ASSERT_NE(nullptr, library);
    EXPECT_EQ(nullptr, GetProcAddress(library, "NewPlugin"));
    EXPECT_EQ(nullptr, GetProcAddress(nullptr, "ProbeValue"));
}

TEST(ModuleHandle, TheExecutableHasOne)
{
    EXPECT_NE(nullptr, GetModuleHandleA(nullptr));
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
}
