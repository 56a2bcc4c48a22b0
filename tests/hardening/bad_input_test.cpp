// Every bad input a user can put in front of the player, one run of the real
// player each (in a prepared folder, under SDL's offscreen driver): the
// console shows the line that names the fault, and the player still ends by
// itself, killed by no signal and stopped by no sanitizer: with status 0 when
// it plays on, with status 1 when the fault stops its start-up.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "console_lines.h"
#include "elf_image.h"
#include "file_contents.h"
#include "mp3_writer.h"
#include "player_folder.h"
#include "player_process.h"
#include "script_event.h"

namespace {

constexpr double kTimeout = 120.0;
constexpr int kSoundtrackMs = 600;

// The plain run every case starts from: the interference effect drawing
// over a cleared frame, a short soundtrack.
const char kDrawingScript[] =
    "0 600000 0 0 0 cd clear buffer\n"
    "0 600000 1 0 0 - Interference Plugin\n";

std::string BuiltFile(const std::string& name)
{
    return FileContents(std::string(KELDA_BIN_DIR) + "/" + name);
}

// A demo script file: the count, then the records as given.
std::string ScriptFile(int32_t count, const std::vector<ScriptEvent>& events, size_t cut = 0)
{
    std::string bytes(reinterpret_cast<const char*>(&count), sizeof count);
    for (const ScriptEvent& event : events)
        bytes.append(reinterpret_cast<const char*>(&event), sizeof event);
    if (cut)
        bytes.resize(bytes.size() - cut);
    return bytes;
}

ScriptEvent Event(const char* name, int32_t layer)
{
    ScriptEvent event;
    memset(&event, 0, sizeof event);
    strncpy(event.name, name, sizeof event.name - 1);
    event.start = 0;
    event.end = 600000;
    event.layer = layer;
    return event;
}

std::string Soundtrack(int milliseconds)
{
    std::vector<unsigned char> image =
        EncodeMp3(MakeTone(44100, 2, long(milliseconds) * 44100 / 1000, 440.0, 0.2));
    return std::string(image.begin(), image.end());
}

void Put16(std::string& s, uint16_t v)
{
    s.append(reinterpret_cast<const char*>(&v), 2);
}

void Put32(std::string& s, uint32_t v)
{
    s.append(reinterpret_cast<const char*>(&v), 4);
}

// A Windows bitmap file: headers for width x height at bits per pixel and
// pixelBytes bytes of pixels (a palette of `colours` entries before them).
std::string Bitmap(int32_t width, int32_t height, uint16_t bits, size_t pixelBytes, uint32_t colours = 0)
{
    const uint32_t offset = 14 + 40 + colours * 4;
    std::string s = "BM";
    Put32(s, offset + uint32_t(pixelBytes));
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, 40);
    Put32(s, uint32_t(width));
    Put32(s, uint32_t(height));
    Put16(s, 1);
    Put16(s, bits);
    Put32(s, 0);
    Put32(s, uint32_t(pixelBytes));
    Put32(s, 2835);
    Put32(s, 2835);
    Put32(s, colours);
    Put32(s, 0);
    for (uint32_t i = 0; i < colours; i++)
        Put32(s, i * 0x010101u);
    // Palette indexes stay within the palette.
    for (size_t i = 0; i < pixelBytes; i++)
        s.push_back(char(colours ? i % colours : i * 37));
    return s;
}

std::string DataJpeg()
{
    return FileContents(std::string(KELDA_DATA_DIR) + "/kimbel.jpg");
}

// A JPEG whose first segment after the start marker claims 0x100 bytes that
// the file does not hold.
std::string JpegWithLongSegment()
{
    std::string s("\xFF\xD8\xFF\xE0\x01\x00JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 20);
    return s;
}

// A grey JPEG of 8 x 8 pixels that claims 65000 x 65000 in its frame header.
std::string JpegClaimingAHugeFrame()
{
    std::string s = FileContents(std::string(KELDA_SOURCE_DIR) + "/tests/fuzz/corpus/fuzz_jpeg/grey.jpg");
    const size_t frame = s.find("\xFF\xC0", 2);
    if (frame == std::string::npos || frame + 9 > s.size())
        return std::string();
    s[frame + 5] = s[frame + 7] = char(0xFD);
    s[frame + 6] = s[frame + 8] = char(0xE8);
    return s;
}

enum class End {
    kPlaysThrough,  // to the end of the stream and the normal shutdown
    kStopsEarly,    // the player ends right after the expected lines
};

struct Case {
    const char* label;
    std::function<bool(PlayerFolder&)> prepare;  // on top of the plain run
    std::vector<std::string> lines;  // in this order on the console ("*" ends a prefix)
    End end;
    std::string error;  // text expected on standard error, if any
    bool adjacent = false;  // the lines follow each other with no other line between
};

bool LineMatches(const std::string& line, const std::string& expected)
{
    if (!expected.empty() && expected.back() == '*')
        return line.compare(0, expected.size() - 1, expected, 0, expected.size() - 1) == 0;
    return line == expected;
}

// Where the expected lines stand in order among the console's, or -1 for the
// first one missing. With adjacent they must stand as one run of lines; the
// first line missing from the longest partial run is reported.
int FindInOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected,
                size_t& last, bool adjacent)
{
    if (adjacent) {
        size_t best = 0;
        for (size_t start = 0; start < lines.size(); start++) {
            size_t n = 0;
            while (n < expected.size() && start + n < lines.size() && LineMatches(lines[start + n], expected[n]))
                n++;
            if (n == expected.size()) {
                last = start + n - 1;
                return -1;
            }
            best = std::max(best, n);
        }
        return int(best);
    }
    size_t at = 0;
    for (size_t i = 0; i < expected.size(); i++) {
        while (at < lines.size() && !LineMatches(lines[at], expected[i]))
            at++;
        if (at == lines.size())
            return int(i);
        last = at++;
    }
    return -1;
}

// The picture probe as the 13th library of the load list, loading one file.
std::function<bool(PlayerFolder&)> Picture(const std::string& file, const std::string& bytes,
                                           const std::string& size = "")
{
    return [=](PlayerFolder& folder) {
        return folder.WriteFile("quenfal.so", BuiltFile("picture_probe.so")) &&
               folder.WriteFile("pictures.txt", file + " " + size + "\n") &&
               (bytes.empty() || folder.WriteFile(file, bytes));
    };
}

// The built library name.so in the folder, as reshape leaves it, cut to its
// first `length` bytes (all but its last -length ones when negative).
std::function<bool(PlayerFolder&)> CutLibrary(const std::string& name, long length,
                                              std::string (*reshape)(const std::string&) = nullptr)
{
    return [=](PlayerFolder& folder) {
        const std::string built = BuiltFile(name + ".so");
        const std::string whole = reshape ? reshape(built) : built;
        const long size = long(whole.size());
        const long keep = length < 0 ? size + length : length;
        return keep > 0 && keep < size && folder.WriteFile(name + ".so", whole.substr(0, size_t(keep)));
    };
}

std::function<bool(PlayerFolder&)> Script(const std::string& bytes)
{
    return [=](PlayerFolder& folder) { return folder.WriteFile("kelda.kvd", bytes); };
}

std::function<bool(PlayerFolder&)> SoundtrackBytes(const std::string& bytes)
{
    return [=](PlayerFolder& folder) { return folder.WriteFile("data/mellot.mp3", bytes); };
}

const std::vector<Case>& Cases()
{
    static const std::string jpegFailed = "Import Failed - returned -1";
    static const std::vector<std::string> cutLibraryLines = {
        "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"zanthe.DLL\")",
        "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - LoadLibrary Failed!",
        "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"brulane.DLL\")"};
    static const std::vector<Case> cases = {
        // The demo script.
        {"script_missing",
         [](PlayerFolder& folder) { return unlink((folder.Path() + "/kelda.kvd").c_str()) == 0; },
         {"Loading and post-processing demo script..."},
         End::kStopsEarly,
         "ERROR: Missing File: Unable to find demoscript"},
        {"script_empty", Script(""),
         {"Demo script: kelda.kvd holds no event count; no events loaded"}, End::kPlaysThrough, ""},
        {"script_truncated_record",
         Script(ScriptFile(2, {Event("clear buffer", 0), Event("Interference Plugin", 1)}, 100)),
         {"Demo script: kelda.kvd ends after 1 of its 2 events; the rest is lost"},
         End::kPlaysThrough, ""},
        {"script_negative_count", Script(ScriptFile(-3, {Event("clear buffer", 0)})),
         {"Demo script: kelda.kvd gives a negative event count (-3); no events loaded"},
         End::kPlaysThrough, ""},
        {"script_huge_count", Script(ScriptFile(0x7FFFFFFF, {Event("Interference Plugin", 1)})),
         {"Demo script: kelda.kvd ends after 1 of its 2147483647 events; the rest is lost"},
         End::kPlaysThrough, ""},
        {"script_name_without_nul",
         [](PlayerFolder& folder) {
             ScriptEvent unended = Event("", 1);
             memset(unended.name, 'x', sizeof unended.name);
             return folder.WriteFile("kelda.kvd",
                                     ScriptFile(2, {unended, Event("Interference Plugin", 1)}));
         },
         {"Demo script: record 0 has no NUL within its 515-byte name; skipped"}, End::kPlaysThrough, ""},
        {"script_layers_minus_one_and_ten",
         Script(ScriptFile(3, {Event("clear buffer", -1), Event("Interference Plugin", 10),
                               Event("Interference Plugin", 1)})),
         {"Demo script: record 0 \"clear buffer\" is on layer -1, outside 0 to 9; skipped",
          "Demo script: record 1 \"Interference Plugin\" is on layer 10, outside 0 to 9; skipped"},
         End::kPlaysThrough, ""},
        {"script_unknown_names",
         Script(ScriptFile(3, {Event("Nobody Plugin", 1), Event("trigger", 9),
                               Event("Nobody Plugin", 2)})),
         {"Demo script: no plugin or command is named \"Nobody Plugin\"; its events do nothing",
          "Demo script: no plugin or command is named \"trigger\"; its events do nothing"},
         End::kPlaysThrough, ""},

        // The soundtrack.
        {"soundtrack_missing",
         [](PlayerFolder& folder) {
             return unlink((folder.Path() + "/data/mellot.mp3").c_str()) == 0;
         },
         {"Starting FMOD and Loading Sountrack...", "Error!", "File Not Found"}, End::kStopsEarly, ""},
        {"soundtrack_empty", SoundtrackBytes(""),
         {"Starting FMOD and Loading Sountrack...", "Error!", "Soundtrack Stream Cannot Be Opened"},
         End::kStopsEarly, ""},
        {"soundtrack_not_an_mp3",
         SoundtrackBytes(std::string(4000, 'x') + "this is a text file, not an MP3\n"),
         {"Starting FMOD and Loading Sountrack...", "Error!", "Soundtrack Stream Cannot Be Opened"},
         End::kStopsEarly, ""},
        {"soundtrack_truncated_mid_frame",
         [](PlayerFolder& folder) {
             std::string image = Soundtrack(1500);
             image.resize(image.size() / 2 + 77);
             return folder.WriteFile("data/mellot.mp3", image);
         },
         {"Starting FMOD and Loading Sountrack...", "Starting Global Timer...", "entering mainloop"},
         End::kPlaysThrough, ""},
        {"soundtrack_truncated_to_its_first_bytes", SoundtrackBytes(Soundtrack(1500).substr(0, 100)),
         {"Starting FMOD and Loading Sountrack...", "Error!", "Soundtrack Stream Cannot Be Opened"},
         End::kStopsEarly, ""},

        // Pictures, loaded by a plugin's Init through the texture pool.
        {"picture_missing", Picture("data/missing.jpg", ""),
         {"Orvan/DevIL JPEG Importer 1.0alpha ",
          "JPEG IMPORT ERROR - unable to load \"data/missing.jpg\"!", jpegFailed,
          "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},
        {"picture_jpeg_truncated_in_its_header", Picture("data/cut.jpg", DataJpeg().substr(0, 120)),
         {"Orvan/DevIL JPEG Importer 1.0alpha ", "JPEG IMPORT ERROR - unable to load \"data/cut.jpg\"!",
          jpegFailed, "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},
        {"picture_jpeg_segment_past_its_end", Picture("data/cut.jpg", JpegWithLongSegment()),
         {"Orvan/DevIL JPEG Importer 1.0alpha ", "JPEG IMPORT ERROR - unable to load \"data/cut.jpg\"!",
          jpegFailed, "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},
        {"picture_jpeg_truncated_in_its_scan",
         Picture("data/cut.jpg", DataJpeg().substr(0, DataJpeg().size() * 2 / 3)),
         {"Orvan/DevIL JPEG Importer 1.0alpha ", "JPEG IMPORT ERROR - unable to load \"data/cut.jpg\"!",
          jpegFailed, "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},
        // Only the end marker missing, as some cameras write them: shown.
        {"picture_jpeg_without_its_end_marker",
         Picture("data/unended.jpg", DataJpeg().substr(0, DataJpeg().size() - 2)),
         {"Orvan/DevIL JPEG Importer 1.0alpha ", "debug:[picture probe0: 0, 256x256]"},
         End::kPlaysThrough, ""},
        {"picture_jpeg_claiming_a_huge_frame", Picture("data/huge.jpg", JpegClaimingAHugeFrame()),
         {"Orvan/DevIL JPEG Importer 1.0alpha ", "JPEG IMPORT ERROR - unable to load \"data/huge.jpg\"!",
          jpegFailed, "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},
        {"picture_jpeg_that_is_text",
         Picture("data/text.jpg", "Just some words in a file that says it is a JPEG.\n"),
         {"Orvan/DevIL JPEG Importer 1.0alpha ", "JPEG IMPORT ERROR - unable to load \"data/text.jpg\"!",
          jpegFailed, "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},
        {"picture_grey_jpeg",
         Picture("data/grey.jpg",
                 FileContents(std::string(KELDA_SOURCE_DIR) + "/tests/fuzz/corpus/fuzz_jpeg/grey.jpg")),
         {"Orvan/DevIL JPEG Importer 1.0alpha ", "debug:[picture probe0: 0, 8x8]"},
         End::kPlaysThrough, ""},
        {"picture_bmp_with_a_lying_header", Picture("data/lying.bmp", Bitmap(64, 64, 24, 10)),
         {"Orvan/non-GLaux Bitmap Importer 1.0", "LoadImage failed!", jpegFailed,
          "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, "bitmap import error: LoadImage Failed!"},
        {"picture_8_bit_bmp", Picture("data/pal8.bmp", Bitmap(4, 4, 8, 16, 4)),
         {"Orvan/non-GLaux Bitmap Importer 1.0",
          "BMP IMPORT ERROR - 8 bits per pixel, only 24-bit bitmaps are supported!", jpegFailed,
          "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},
        // A short file is no error and gets no line of its own.
        {"picture_raw_too_short", Picture("data/short.raw", std::string(10, '\x7F'), "4 4"),
         {"Matched!", "Orvan RAW Importer 1.0alpha // loading file \"data/short.raw\" into object *",
          "debug:[picture probe0: 0, 4x4]"},
         End::kPlaysThrough, "", true},
        // 2^48 pixels: more memory than any address space holds.
        {"picture_raw_too_large_to_hold", Picture("data/huge.raw", std::string(48, '\x7F'), "16777216 16777216"),
         {"Orvan RAW Importer 1.0alpha // loading file \"data/huge.raw\" into object *", "texture->bitmap == 0",
          jpegFailed, "debug:[picture probe0: -1, none]"},
         End::kPlaysThrough, ""},

        // Plugin libraries: none of the thirteen names but pravik's is
        // delivered here, and three of them are not what they should be.
        {"plugins_missing_no_entry_null_and_not_a_library",
         [](PlayerFolder& folder) {
             return folder.WriteFile("sorvel.so", BuiltFile("testnoentry.so")) &&
                    folder.WriteFile("dunmore.so", BuiltFile("testnull.so")) &&
                    folder.WriteFile("yastrel.so", "This is not a shared object.\n");
         },
         {"Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"zanthe.DLL\")",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - LoadLibrary Failed!",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"sorvel.DLL\")",
          "Orvan_Plugin_Host::modh=#",
          "Orvan_Plugin_Host::modfunc=#",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - no NewPlugin in library!",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"pravik.DLL\")",
          "Orvan_Plugin_Host:: Pushing plugin into plugin list...",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"dunmore.DLL\")",
          "Orvan_Plugin_Host::modh=#",
          "Orvan_Plugin_Host::modfunc=#",
          "Orvan_Plugin_Host::newplug=#",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - NewPlugin returned no plugin!",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"yastrel.DLL\")",
          "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - LoadLibrary Failed!",
          "Orvan_Plugin_Host::Orvan Plugin Host - InitAll()"},
         End::kPlaysThrough, ""},
        // A library cut short, as by a broken copy: its segments, or its
        // section headers at its end, lie past the end of the file.
        {"plugin_cut_to_1000_bytes", CutLibrary("zanthe", 1000), cutLibraryLines, End::kPlaysThrough, "", true},
        {"plugin_cut_to_9444_bytes", CutLibrary("zanthe", 9444), cutLibraryLines, End::kPlaysThrough, "", true},
        {"plugin_cut_one_byte_short", CutLibrary("zanthe", -1), cutLibraryLines, End::kPlaysThrough, "", true},
        // Without section headers, as sstrip leaves a library, only its
        // segments tell.
        {"plugin_without_section_headers_cut_to_9444_bytes", CutLibrary("zanthe", 9444, WithoutSectionHeaders),
         cutLibraryLines, End::kPlaysThrough, "", true},
    };
    return cases;
}

void PrintTo(const Case& c, std::ostream* out)
{
    *out << c.label;
}

class BadInput : public ::testing::TestWithParam<Case> {
};

TEST_P(BadInput, IsLoggedAndThePlayerEndsByItself)
{
    const Case& c = GetParam();
    PlayerFolder folder;
    ASSERT_TRUE(folder.AddPlayer());
    ASSERT_TRUE(folder.AddPlugin("pravik"));
    ASSERT_TRUE(folder.WriteScript(kDrawingScript));
    ASSERT_TRUE(folder.WriteSoundtrack(kSoundtrackMs));
    ASSERT_TRUE(c.prepare(folder));

    PlayerProcess player(folder.Path(), VideoDriver::Offscreen);
    PlayerResult run = player.Wait(kTimeout);
    const std::string shown = Show(run);
    ASSERT_TRUE(run.exited) << shown;
    EXPECT_EQ(0, run.signal) << shown;
    EXPECT_EQ(c.end == End::kStopsEarly ? 1 : 0, run.status) << shown;

    const std::vector<std::string> lines = ConsoleLines(run.console);
    size_t last = 0;
    const int missing = FindInOrder(lines, c.lines, last, c.adjacent);
    ASSERT_EQ(-1, missing) << "not on the console in order: \"" << c.lines[size_t(missing)] << "\"\n"
                           << shown;
    if (c.end == End::kStopsEarly) {
        EXPECT_EQ(lines.size() - 1, last) << "the run went on after the fault\n" << shown;
    } else {
        const std::vector<std::string> shutdown = ExpectedShutdown();
        ASSERT_GE(lines.size(), shutdown.size()) << shown;
        EXPECT_EQ(shutdown, std::vector<std::string>(lines.end() - long(shutdown.size()), lines.end()))
            << shown;
    }
    if (!c.error.empty()) {
        EXPECT_NE(std::string::npos, run.errors.find(c.error)) << shown;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BadInput, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<Case>& info) { return info.param.label; });

}  // namespace
