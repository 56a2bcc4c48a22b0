// The player run end to end: the real executable in a prepared folder, with
// a generated soundtrack, a script written by kvd_make and the real plugin
// libraries, under SDL's offscreen driver and under Xvfb.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "console_lines.h"
#include "file_contents.h"
#include "kvd_timeline.h"
#include "player_folder.h"
#include "player_process.h"
#include "utf8_text.h"
#include "x11_client.h"

namespace {

constexpr double kTimeout = 60.0;

// One plugin, a clear and a drawing layer: a frame is really drawn each pass.
const char kDrawingScript[] =
    "0 600000 0 0 0 cd clear buffer\n"
    "0 600000 1 0 0 - Interference Plugin\n";

std::vector<std::string> Concat(std::vector<std::string> a, const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// "Orvan @(<rate>fps)" with the rate as "%g" prints a number: the whole
// middle must read as one, and print back the same.
bool ParseFrameRateTitle(const std::string& title, double* rate)
{
    const std::string prefix = "Orvan @(", suffix = "fps)";
    if (title.size() <= prefix.size() + suffix.size() || title.compare(0, prefix.size(), prefix) != 0 ||
        title.compare(title.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string number = title.substr(prefix.size(), title.size() - prefix.size() - suffix.size());
    char* end = nullptr;
    *rate = std::strtod(number.c_str(), &end);
    char again[64];
    snprintf(again, sizeof again, "%g", *rate);
    return *end == '\0' && number == again;
}

bool IsErrorLine(const std::string& line)
{
    for (const char* word : {"ERROR", "Error", "Failed", "failure"})
        if (line.find(word) != std::string::npos)
            return true;
    return false;
}

class PlayerRun : public ::testing::TestWithParam<VideoDriver> {
protected:
    void SetUp() override
    {
        if (GetParam() == VideoDriver::Xvfb && !getenv("KELDA_TEST_DISPLAY"))
            GTEST_SKIP() << "KELDA_TEST_DISPLAY is not set (no Xvfb)";
        ASSERT_FALSE(folder_.Path().empty());
        ASSERT_TRUE(folder_.AddPlayer());
    }

    bool Offscreen() const { return GetParam() == VideoDriver::Offscreen; }

    // The plain demo: pravik beside the player, the drawing script, a
    // soundtrack of the given length.
    void PrepareDemo(int soundtrackMs)
    {
        ASSERT_TRUE(folder_.AddPlugin("pravik"));
        ASSERT_TRUE(folder_.WriteScript(kDrawingScript));
        ASSERT_TRUE(folder_.WriteSoundtrack(soundtrackMs));
    }

    // The delivered libraries this build has not made, as " name name".
    static std::string UnbuiltDeliveredPlugins()
    {
        const std::vector<std::string> built = BuiltDeliveredPlugins();
        std::string missing;
        for (const std::string& name : DeliveredPlugins())
            if (std::find(built.begin(), built.end(), name) == built.end())
                missing += " " + name;
        return missing;
    }

    void AddDeliveredPlugins()
    {
        for (const std::string& name : DeliveredPlugins())
            ASSERT_TRUE(folder_.AddPlugin(name)) << name;
    }

    // Waits until the console shows that the main loop runs.
    bool WaitForMainLoop(PlayerProcess& player)
    {
        const double deadline = MonotonicSeconds() + kTimeout;
        while (player.Running() && MonotonicSeconds() < deadline) {
            if (player.ConsoleSoFar().find("entering mainloop\n") != std::string::npos)
                return true;
            usleep(10000);
        }
        return false;
    }

    PlayerFolder folder_;
};

// The cases that need an X server: a window title to read, a keyboard.
class PlayerRunUnderX : public PlayerRun {
};

// The whole console of a run with one plugin, line for line.
TEST_P(PlayerRun, PlaysToTheEndOfTheStreamAndExitsZero)
{
    PrepareDemo(1500);
    PlayerProcess player(folder_.Path(), GetParam());
    PlayerResult run = player.Wait(kTimeout);

    ASSERT_TRUE(run.exited) << Show(run);
    EXPECT_EQ(0, run.status) << Show(run);
    // The stream is played through, then shutdown waits half a second.
    EXPECT_GE(run.seconds, 1.5 + 0.5) << Show(run);

    std::vector<std::string> expected = ExpectedStartUp({"pravik"}, Offscreen());
    expected.push_back(InitMessage("pravik"));
    expected = Concat(Concat(expected, ExpectedScriptAndSound()), ExpectedShutdown());
    EXPECT_EQ(expected, ConsoleLines(run.console)) << Show(run);
    EXPECT_EQ('\n', run.console.empty() ? 0 : run.console.back());
}

// A console whose reader has gone (the player piped into "head -2") fails
// its writes silently: the player plays on to the stream's end and shuts down
// in order. Closed in start-up, every later line is lost; closed once the
// loop runs, only the shutdown's lines are, and the shutdown's half-second
// pause still follows the stream's end.
TEST_P(PlayerRun, PlaysToItsEndWhenTheConsoleIsClosed)
{
    const int soundtrackMs = 1500;
    PrepareDemo(soundtrackMs);
    const std::vector<std::string> startUp =
        Concat(Concat(ExpectedStartUp({"pravik"}, Offscreen()), {InitMessage("pravik")}),
               ExpectedScriptAndSound());
    struct Case {
        const char* name;
        size_t linesRead;
    } cases[] = {{"InStartUp", 2}, {"InTheMainLoop", startUp.size()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayerProcess player(folder_.Path(), GetParam(), {}, ConsoleSink::Pipe);
        const std::string read = player.ReadConsoleLines(c.linesRead, kTimeout);
        const double closed = MonotonicSeconds();
        player.CloseConsole();
        PlayerResult run = player.Wait(kTimeout);
        const double afterClose = MonotonicSeconds() - closed;

        ASSERT_TRUE(run.exited) << Show(run);
        EXPECT_EQ(0, run.signal) << Show(run);
        EXPECT_EQ(0, run.status) << Show(run);
        const std::vector<std::string> lines = ConsoleLines(read);
        ASSERT_GE(lines.size(), c.linesRead) << Show(run);
        EXPECT_EQ(std::vector<std::string>(startUp.begin(), startUp.begin() + c.linesRead),
                  std::vector<std::string>(lines.begin(), lines.begin() + c.linesRead));
        EXPECT_GE(run.seconds, (soundtrackMs + 500) / 1000.0) << Show(run);
        if (c.linesRead == startUp.size()) {
            // The stream starts after "entering mainloop" is written; a small
            // allowance for the audio clock running ahead of the test's.
            EXPECT_GE(afterClose, (soundtrackMs + 500 - 100) / 1000.0) << Show(run);
        }
    }
}

// Event names that match nothing are logged. Names made of terminal escape
// sequences reach the console as the code page 437 glyphs of their control
// codes, so the script cannot retitle, clear or recolour the terminal: the
// whole console holds no control code but tab, line feed and carriage return.
TEST_P(PlayerRun, EscapeSequencesInEventNamesReachTheConsoleAsGlyphs)
{
    const struct {
        const char* name;
        const char* shown;
    } cases[] = {
        {"\x1B]0;retitled\x07", "←]0;retitled•"},           // OSC: window title, BEL-ended
        {"\x1B]2;titled\x1B\\", "←]2;titled←\\"},          // OSC ended by ST
        {"\x1B[2J\x1B[H", "←[2J←[H"},                         // CSI: clear, cursor home
        {"\x1B[31;1mred\x1B[0m", "←[31;1mred←[0m"},           // CSI: colours
        {"\x1B" "c reset", "←c reset"},                        // full reset
        {"bell\x07\x07 back\x08\x7F", "bell•• back◘⌂"},       // BEL, BS, DEL
        {"\x9B" "31m \x9D" "0;x", "¢31m ¥0;x"},                // C1 CSI and OSC bytes
    };
    std::vector<KvdEvent> events;
    for (const auto& c : cases) {
        KvdEvent event;
        event.start = 0;
        event.end = 600000;
        event.layer = 1;
        event.name = c.name;
        events.push_back(event);
    }
    ASSERT_TRUE(folder_.WriteFile("kelda.kvd", EncodeKvdFile(events)));
    ASSERT_TRUE(folder_.WriteSoundtrack(500));

    PlayerProcess player(folder_.Path(), GetParam());
    PlayerResult run = player.Wait(kTimeout);
    ASSERT_TRUE(run.exited) << Show(run);
    EXPECT_EQ(0, run.status) << Show(run);

    const std::vector<std::string> lines = ConsoleLines(run.console);
    for (const auto& c : cases) {
        const std::string line =
            std::string("Demo script: no plugin or command is named \"") + c.shown +
            "\"; its events do nothing";
        EXPECT_EQ(1, std::count(lines.begin(), lines.end(), line)) << line << "\n" << Show(run);
    }
    std::vector<char32_t> codes;
    ASSERT_TRUE(DecodeUtf8(run.console, codes)) << Show(run);
    for (char32_t code : codes)
        EXPECT_FALSE(IsTerminalControl(code)) << std::hex << static_cast<unsigned>(code);
}

// With every delivered library beside the player, exactly the five
// undelivered names fail, and the eight load in list order.
TEST_P(PlayerRun, LoadsTheDeliveredLibrariesAndLogsTheFiveOthersAsFailed)
{
    const std::string unbuilt = UnbuiltDeliveredPlugins();
    if (!unbuilt.empty())
        GTEST_SKIP() << "delivered libraries not in this build:" << unbuilt;
    ASSERT_NO_FATAL_FAILURE(AddDeliveredPlugins());
    ASSERT_TRUE(LinkProjectData(folder_));
    ASSERT_TRUE(folder_.WriteScript(""));
    ASSERT_TRUE(folder_.WriteSoundtrack(1000));

    PlayerProcess player(folder_.Path(), GetParam());
    PlayerResult run = player.Wait(kTimeout);
    ASSERT_TRUE(run.exited) << Show(run);
    EXPECT_EQ(0, run.status) << Show(run);

    const std::vector<std::string> lines = ConsoleLines(run.console);
    const std::vector<std::string> startUp = ExpectedStartUp(DeliveredPlugins(), Offscreen());
    ASSERT_GE(lines.size(), startUp.size()) << Show(run);
    EXPECT_EQ(startUp, std::vector<std::string>(lines.begin(), lines.begin() + startUp.size()))
        << Show(run);
    EXPECT_EQ(5, std::count(lines.begin(), lines.end(),
                            "Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - "
                            "LoadLibrary Failed!"));

    // What the plugins log from Init is theirs; each start-up message comes
    // in load order, and after them the rest of the run is exact.
    const std::vector<std::string> tail = Concat(ExpectedScriptAndSound(), ExpectedShutdown());
    auto scriptLoad = std::find(lines.begin() + startUp.size(), lines.end(), tail.front());
    ASSERT_NE(lines.end(), scriptLoad) << Show(run);
    auto at = lines.begin() + startUp.size();
    for (const std::string& name : DeliveredPlugins()) {
        at = std::find(at, scriptLoad, InitMessage(name));
        ASSERT_NE(scriptLoad, at) << name << " logged no start-up message in order\n" << Show(run);
        ++at;
    }
    // With the project's pictures in place every texture loads.
    for (auto line = lines.begin() + startUp.size(); line != scriptLoad; ++line)
        EXPECT_FALSE(IsErrorLine(*line)) << *line;
    EXPECT_EQ(tail, std::vector<std::string>(scriptLoad, lines.end())) << Show(run);
}

// The bundled demo with every effect: from the plugins' Init on it logs no
// error until the window is closed a few seconds in.
TEST_P(PlayerRun, PlaysTheBundledDemoCleanlyUntilClosed)
{
    const std::string unbuilt = UnbuiltDeliveredPlugins();
    if (!unbuilt.empty())
        GTEST_SKIP() << "delivered libraries not in this build:" << unbuilt;
    ASSERT_NO_FATAL_FAILURE(AddDeliveredPlugins());
    ASSERT_TRUE(LinkProjectData(folder_, true));
    ASSERT_TRUE(CopyProjectScript(folder_));
    std::unique_ptr<X11Client> x11;
    if (!Offscreen()) {
        x11.reset(new X11Client(getenv("KELDA_TEST_DISPLAY")));
        ASSERT_TRUE(x11->Connected());
    }

    PlayerProcess player(folder_.Path(), GetParam());
    ASSERT_TRUE(WaitForMainLoop(player)) << player.ConsoleSoFar();
    usleep(4000000);
    ASSERT_TRUE(player.Running()) << player.ConsoleSoFar();
    if (Offscreen()) {
        ASSERT_EQ(0, kill(player.Pid(), SIGTERM));
    } else {
        ASSERT_TRUE(x11->RequestClose(x11->FindWindowOf(player.Pid())));
    }
    PlayerResult run = player.Wait(kTimeout);
    ASSERT_TRUE(run.exited) << Show(run);
    EXPECT_EQ(0, run.status) << Show(run);

    // The five failed loads come before; from the plugins' Init on, nothing fails.
    const std::vector<std::string> lines = ConsoleLines(run.console);
    auto initAll = std::find(lines.begin(), lines.end(),
                             "Orvan_Plugin_Host::Orvan Plugin Host - InitAll()");
    ASSERT_NE(lines.end(), initAll) << Show(run);
    for (auto line = initAll; line != lines.end(); ++line)
        EXPECT_FALSE(IsErrorLine(*line)) << *line;
    std::vector<std::string> end = Concat({"entering mainloop"}, ExpectedShutdown());
    ASSERT_GE(lines.size(), end.size());
    EXPECT_EQ(end, std::vector<std::string>(lines.end() - end.size(), lines.end())) << Show(run);
}

// Under X the title is the X window's own name, read as any client reads it.
TEST_P(PlayerRunUnderX, WindowTitleStartsAsAnusAndTurnsToTheFrameRate)
{
    PrepareDemo(2500);
    X11Client x11(getenv("KELDA_TEST_DISPLAY"));
    ASSERT_TRUE(x11.Connected());

    PlayerProcess player(folder_.Path(), GetParam());
    std::vector<std::string> titles;
    unsigned long window = 0;
    const double deadline = MonotonicSeconds() + kTimeout;
    while (player.Running() && MonotonicSeconds() < deadline) {
        if (!window)
            window = x11.FindWindowOf(player.Pid());
        const std::string title = x11.Title(window);
        if (!title.empty() && (titles.empty() || titles.back() != title))
            titles.push_back(title);
        usleep(5000);
    }
    PlayerResult run = player.Wait(kTimeout);
    ASSERT_TRUE(run.exited) << Show(run);
    EXPECT_EQ(0, run.status) << Show(run);

    ASSERT_GE(titles.size(), 2u) << Show(run);
    EXPECT_EQ("anus", titles.front());
    for (size_t i = 1; i < titles.size(); i++) {
        double rate = 0.0;
        ASSERT_TRUE(ParseFrameRateTitle(titles[i], &rate)) << titles[i];
        EXPECT_GT(rate, 0.0) << titles[i];
    }
}

// Escape held down: the run ends long before its 20-second soundtrack.
TEST_P(PlayerRunUnderX, EscapeHeldEndsTheRunEarly)
{
    PrepareDemo(20000);
    X11Client x11(getenv("KELDA_TEST_DISPLAY"));
    ASSERT_TRUE(x11.Connected());
    if (!x11.HasXTest())
        GTEST_SKIP() << "the X server has no XTest extension";

    PlayerProcess player(folder_.Path(), GetParam());
    ASSERT_TRUE(WaitForMainLoop(player)) << player.ConsoleSoFar();
    const unsigned long window = x11.FindWindowOf(player.Pid());
    ASSERT_NE(0ul, window);
    ASSERT_TRUE(x11.HoldEscape(window));
    const double pressed = MonotonicSeconds();
    PlayerResult run = player.Wait(kTimeout);
    const double afterPress = MonotonicSeconds() - pressed;
    x11.ReleaseKey();

    ASSERT_TRUE(run.exited) << Show(run);
    EXPECT_EQ(0, run.status) << Show(run);
    EXPECT_LT(afterPress, 5.0) << Show(run);
    std::vector<std::string> lines = ConsoleLines(run.console);
    std::vector<std::string> end = Concat({"entering mainloop"}, ExpectedShutdown());
    ASSERT_GE(lines.size(), end.size());
    EXPECT_EQ(end, std::vector<std::string>(lines.end() - end.size(), lines.end())) << Show(run);
}

// A closed window ends the run: under X the window manager's close request;
// without X the request to quit that ends a session (SIGTERM), which the
// platform turns into the same close of the window.
TEST_P(PlayerRun, ClosingTheWindowEndsTheRun)
{
    PrepareDemo(20000);
    std::unique_ptr<X11Client> x11;
    if (!Offscreen()) {
        x11.reset(new X11Client(getenv("KELDA_TEST_DISPLAY")));
        ASSERT_TRUE(x11->Connected());
    }

    PlayerProcess player(folder_.Path(), GetParam());
    ASSERT_TRUE(WaitForMainLoop(player)) << player.ConsoleSoFar();
    if (Offscreen()) {
        ASSERT_EQ(0, kill(player.Pid(), SIGTERM));
    } else {
        const unsigned long window = x11->FindWindowOf(player.Pid());
        ASSERT_NE(0ul, window);
        ASSERT_TRUE(x11->RequestClose(window));
    }
    const double closed = MonotonicSeconds();
    PlayerResult run = player.Wait(kTimeout);

    ASSERT_TRUE(run.exited) << Show(run);
    EXPECT_EQ(0, run.status) << Show(run);
    EXPECT_LT(MonotonicSeconds() - closed, 5.0) << Show(run);
    std::vector<std::string> lines = ConsoleLines(run.console);
    std::vector<std::string> end = Concat({"entering mainloop"}, ExpectedShutdown());
    ASSERT_GE(lines.size(), end.size());
    EXPECT_EQ(end, std::vector<std::string>(lines.end() - end.size(), lines.end())) << Show(run);
}

// Started with standard descriptors closed, the player must not let the
// files it opens take their numbers: the log written to standard output
// would go into them. Offscreen the disk audio driver's file opens first
// and would take the sound; under X the X connection would, and the player
// would wait on it for ever.
struct ClosedDescriptors {
    const char* name;
    std::vector<int> closed;
};

const ClosedDescriptors kClosedDescriptors[] = {
    {"StandardOutput", {1}},
    {"AllThree", {0, 1, 2}},
};

TEST_P(PlayerRun, ClosedStandardDescriptorsTakeNoFileOfTheRun)
{
    constexpr int kSoundtrackMs = 1500;
    PrepareDemo(kSoundtrackMs);
    for (const ClosedDescriptors& c : kClosedDescriptors) {
        SCOPED_TRACE(c.name);
        const std::string audio = folder_.Path() + "/audio.raw";
        PlayerProcess player(folder_.Path(), GetParam(),
                             {{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", audio}},
                             ConsoleSink::File, c.closed);
        PlayerResult run = player.Wait(30.0);
        ASSERT_TRUE(run.exited) << Show(run);
        EXPECT_EQ(0, run.status) << Show(run);

        const std::string heard = FileContents(audio);
        for (const char* logged : {"Orvan", "Starting Global Timer", "entering mainloop"})
            EXPECT_EQ(std::string::npos, heard.find(logged)) << "the log went into the sound: " << logged;
        // 16-bit stereo at 44100 Hz, nearly the whole soundtrack.
        EXPECT_GT(heard.size(), size_t(kSoundtrackMs) * 44100 / 1000 * 4 * 3 / 4);
    }
}

// The early ends: each stops the player with status 1 after its own lines,
// without the shutdown steps.
struct EarlyEnd {
    const char* name;
    bool script;
    // "tone", "none", "text", "empty" or "folder" for data/mellot.mp3
    const char* soundtrack;
    std::map<std::string, std::string> environment;
    std::vector<std::string> lastLines;
    const char* errorText;  // expected on standard error, or null
};

const EarlyEnd kEarlyEnds[] = {
    {"MissingScript", false, "tone", {},
     {"Orvan_Plugin_Host::Orvan Plugin Host - InitAll()", "debug:[pravik plugin initalziation called]",
      "Loading and post-processing demo script..."},
     "ERROR: Missing File: Unable to find demoscript"},
    {"MissingSoundtrack", true, "none", {},
     {"Starting FMOD and Loading Sountrack...", "Error!", "File Not Found"}, nullptr},
    {"SoundtrackNotAnMp3", true, "text", {},
     {"Starting FMOD and Loading Sountrack...", "Error!", "Soundtrack Stream Cannot Be Opened"},
     nullptr},
    {"EmptySoundtrack", true, "empty", {},
     {"Starting FMOD and Loading Sountrack...", "Error!", "Soundtrack Stream Cannot Be Opened"},
     nullptr},
    {"UnreadableSoundtrack", true, "folder", {},
     {"Starting FMOD and Loading Sountrack...", "Error!", "Soundtrack Cannot Be Read"}, nullptr},
    {"NoSoundDevice", true, "tone", {{"SDL_AUDIODRIVER", "no-such-driver"}},
     {"Post Processing Script....", "Starting FMOD and Loading Sountrack...", "Error!"}, nullptr},
    {"NoWindow", true, "tone", {{"SDL_VIDEODRIVER", "no-such-driver"}},
     {"Registering window class and creating window...", "ERROR: Cannot go fullscreen!",
      "Window Creation Error."},
     nullptr},
    // No display and no driver asked for: SDL would fall back to drawing
    // offscreen, and the run would play unseen.
    {"NoDisplay", true, "tone", {{"SDL_VIDEODRIVER", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}},
     {"Registering window class and creating window...", "ERROR: Cannot go fullscreen!",
      "Window Creation Error."},
     "error: Error: Cannot go fullscreen properly"},
};

TEST_P(PlayerRun, EarlyEndsStopWithStatusOneAfterTheirOwnLines)
{
    for (const EarlyEnd& c : kEarlyEnds) {
        SCOPED_TRACE(c.name);
        // A machine with a graphics device has a display even without X.
        if (std::string(c.name) == "NoDisplay" && access("/dev/dri", F_OK) == 0)
            continue;
        PlayerFolder folder;
        ASSERT_TRUE(folder.AddPlayer());
        ASSERT_TRUE(folder.AddPlugin("pravik"));
        if (c.script) {
            ASSERT_TRUE(folder.WriteScript(kDrawingScript));
        }
        const std::string soundtrack = c.soundtrack;
        if (soundtrack == "tone") {
            ASSERT_TRUE(folder.WriteSoundtrack(1000));
        } else if (soundtrack == "text") {
            ASSERT_TRUE(folder.WriteFile("data/mellot.mp3", std::string(4000, 'x') + "not an mp3\n"));
        } else if (soundtrack == "empty") {
            ASSERT_TRUE(folder.WriteFile("data/mellot.mp3", ""));
        } else if (soundtrack == "folder") {
            ASSERT_TRUE(folder.MakeFolder("data/mellot.mp3"));
        }

        PlayerProcess player(folder.Path(), GetParam(), c.environment);
        PlayerResult run = player.Wait(kTimeout);
        ASSERT_TRUE(run.exited) << Show(run);
        EXPECT_EQ(1, run.status) << Show(run);

        const std::vector<std::string> lines = ConsoleLines(run.console);
        ASSERT_GE(lines.size(), c.lastLines.size()) << Show(run);
        EXPECT_EQ(c.lastLines,
                  std::vector<std::string>(lines.end() - c.lastLines.size(), lines.end()))
            << Show(run);
        EXPECT_EQ(lines.end(), std::find(lines.begin(), lines.end(), "entering mainloop"));
        if (c.errorText) {
            EXPECT_NE(std::string::npos, run.errors.find(c.errorText)) << Show(run);
        }
    }
}

std::string DriverName(const ::testing::TestParamInfo<VideoDriver>& info)
{
    return info.param == VideoDriver::Offscreen ? "offscreen" : "xvfb";
}

INSTANTIATE_TEST_SUITE_P(Offscreen, PlayerRun, ::testing::Values(VideoDriver::Offscreen), DriverName);
INSTANTIATE_TEST_SUITE_P(Xvfb, PlayerRun, ::testing::Values(VideoDriver::Xvfb), DriverName);
INSTANTIATE_TEST_SUITE_P(Xvfb, PlayerRunUnderX, ::testing::Values(VideoDriver::Xvfb), DriverName);

}  // namespace
