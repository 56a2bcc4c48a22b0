#include <gtest/gtest.h>

#include <dlfcn.h>
#include <gnu/libc-version.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "elf_image.h"
#include "elf_image_check.h"
#include "file_contents.h"
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

    // Writes bytes as name.so in the working directory; the loader's name
    // for it.
    static std::string Place(const std::string& name, const std::string& bytes)
    {
        std::ofstream(name + ".so", std::ios::binary) << bytes;
        return name + ".DLL";
    }

    // Placed as name.so, refused by the check and so by the loader, which
    // never hands it to dlopen.
    static void ExpectRefused(const std::string& name, const std::string& bytes, const std::string& what)
    {
        const std::string loaderName = Place(name, bytes);
        EXPECT_FALSE(IsWholeElfSharedObject(name + ".so")) << what;
        EXPECT_EQ(nullptr, LoadLibraryA(loaderName.c_str())) << what;
    }

    fs::path folder_;
    fs::path previous_;
};

// The probe as built elsewhere, whole.
std::string Probe()
{
    return FileContents(PROBE_OTHER_PATH);
}

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

TEST_F(Loader, LibrariesThatHoldWhatTheirHeadersDeclareLoad)
{
    const std::string probe = Probe();
    ASSERT_FALSE(probe.empty());
    EXPECT_EQ(2, Answer(Place("whole_probe", probe).c_str()));
    // sstrip's output: the segments are all a loader needs.
    EXPECT_EQ(2, Answer(Place("stripped_probe", WithoutSectionHeaders(probe)).c_str()));

    // A library of the system's own build, already loaded in this process.
    Dl_info libc;
    ASSERT_NE(0, dladdr(reinterpret_cast<void*>(&gnu_get_libc_version), &libc));
    ASSERT_EQ('/', libc.dli_fname[0]) << libc.dli_fname;
    EXPECT_TRUE(IsWholeElfSharedObject(libc.dli_fname)) << libc.dli_fname;
    EXPECT_NE(nullptr, LoadLibraryA(libc.dli_fname)) << libc.dli_fname;
}

// Cut short, as by a copy that broke off: once with the section headers at
// the end, once without them, where only the segments tell.
TEST_F(Loader, LibrariesCutShortAreRefused)
{
    const std::string probe = Probe();
    const ElfW(Ehdr) header = ElfHeader(probe);
    const std::vector<ElfW(Phdr)> segments = ProgramHeaders(probe);
    ASSERT_FALSE(segments.empty());

    std::vector<std::pair<uint64_t, std::string>> cuts = {
        {40, "in the ELF header"},
        {header.e_phoff + sizeof(ElfW(Phdr)) * (header.e_phnum / 2u) + 7, "in the program headers"},
        {1000, "at 1000 bytes"},
    };
    int loads = 0;
    for (const ElfW(Phdr)& segment : segments) {
        if (segment.p_type != PT_LOAD)
            continue;
        const std::string which = "loadable segment " + std::to_string(loads++);
        cuts.push_back({segment.p_offset + segment.p_filesz / 2, "in the middle of " + which});
        cuts.push_back({segment.p_offset + segment.p_filesz - 1, "one byte short of the end of " + which});
    }
    ASSERT_GE(loads, 2);

    const struct {
        const char* name;
        std::string image;
    } bases[] = {
        {"built", probe},
        {"stripped", WithoutSectionHeaders(probe)},
    };
    for (const auto& base : bases) {
        auto all = cuts;
        all.push_back({base.image.size() - 1, "one byte short of the end of the file"});
        if (ElfHeader(base.image).e_shoff != 0)
            all.push_back({ElfHeader(base.image).e_shoff, "just before the section headers"});
        for (const auto& cut : all) {
            ASSERT_LT(cut.first, base.image.size()) << cut.second;
            const std::string name = std::string("cut_") + base.name + "_" + std::to_string(cut.first);
            ExpectRefused(name, base.image.substr(0, cut.first),
                          std::string(base.name) + " library cut " + cut.second);
        }
    }
}

// The probe with one field of its ELF header or of its stack segment's
// program header edited.
TEST_F(Loader, LibrariesForAnotherMachineOrWithWrappingHeadersAreRefused)
{
    const std::string probe = Probe();
    const ElfW(Ehdr) own = ElfHeader(probe);
    const std::vector<ElfW(Phdr)> segments = ProgramHeaders(probe);
    size_t stack = 0;
    while (stack < segments.size() && segments[stack].p_type != PT_GNU_STACK)
        stack++;
    ASSERT_LT(stack, segments.size());

    // The two wrapping edits go where dlopen never looks (a stack segment's
    // offset, the section headers): only the check's own arithmetic refuses
    // them.
    const ElfW(Off) nearTheTop = ~ElfW(Off)(0) - 15;
    const struct {
        const char* what;
        std::function<void(ElfW(Ehdr)&, ElfW(Phdr)&)> edit;
    } cases[] = {
        {"not ELF", [](ElfW(Ehdr)& h, ElfW(Phdr)&) { h.e_ident[EI_MAG1] = 'F'; }},
        {"of the other class",
         [](ElfW(Ehdr)& h, ElfW(Phdr)&) {
             h.e_ident[EI_CLASS] = h.e_ident[EI_CLASS] == ELFCLASS64 ? ELFCLASS32 : ELFCLASS64;
         }},
        {"of the other data encoding",
         [](ElfW(Ehdr)& h, ElfW(Phdr)&) {
             h.e_ident[EI_DATA] = h.e_ident[EI_DATA] == ELFDATA2LSB ? ELFDATA2MSB : ELFDATA2LSB;
         }},
        {"for another machine",
         [](ElfW(Ehdr)& h, ElfW(Phdr)&) {
             h.e_machine = h.e_machine == EM_X86_64 ? EM_AARCH64 : EM_X86_64;
         }},
        {"an executable", [](ElfW(Ehdr)& h, ElfW(Phdr)&) { h.e_type = ET_EXEC; }},
        {"with program headers of another size", [](ElfW(Ehdr)& h, ElfW(Phdr)&) { h.e_phentsize += 8; }},
        {"with a segment whose offset and size wrap",
         [=](ElfW(Ehdr)&, ElfW(Phdr)& p) {
             p.p_offset = nearTheTop;
             p.p_filesz = 32;
         }},
        {"with a section header table whose offset and size wrap",
         [=](ElfW(Ehdr)& h, ElfW(Phdr)&) { h.e_shoff = nearTheTop; }},
    };
    int n = 0;
    for (const auto& c : cases) {
        ElfW(Ehdr) header = own;
        ElfW(Phdr) segment = segments[stack];
        c.edit(header, segment);
        std::string image = probe;
        memcpy(&image[0], &header, sizeof header);
        memcpy(&image[own.e_phoff + stack * sizeof segment], &segment, sizeof segment);
        ExpectRefused("edited_" + std::to_string(n++), image, c.what);
    }
}

TEST(ModuleHandle, TheExecutableHasOne)
{
    EXPECT_NE(nullptr, GetModuleHandleA(nullptr));
    EXPECT_EQ(GetModuleHandleA(nullptr), GetModuleHandleA(nullptr));
}
