// render_frame end to end: a real script through the real player pieces and
// plugin libraries, the frames written as PNG files; and its PNG writer.
#include <GL/gl.h>
#include <IL/il.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "back_buffer_png.h"
#include "kvd_timeline.h"
#include "test_window.h"

namespace {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba;  // top row first

    const unsigned char* At(int x, int y) const { return &rgba[(size_t(y) * width + x) * 4]; }
};

void StartImageLibrary()
{
    static bool started = false;
    if (!started) {
        ilInit();
        started = true;
    }
}

bool LoadPng(const std::string& file, Image& image)
{
    StartImageLibrary();
    ilEnable(IL_ORIGIN_SET);
    ilOriginFunc(IL_ORIGIN_UPPER_LEFT);
    ILuint name = 0;
    ilGenImages(1, &name);
    ilBindImage(name);
    const bool ok = ilLoad(IL_PNG, file.c_str()) == IL_TRUE;
    if (ok) {
        image.width = ilGetInteger(IL_IMAGE_WIDTH);
        image.height = ilGetInteger(IL_IMAGE_HEIGHT);
        image.rgba.resize(size_t(image.width) * image.height * 4);
        ilCopyPixels(0, 0, 0, image.width, image.height, 1, IL_RGBA, IL_UNSIGNED_BYTE,
                     image.rgba.data());
    }
    ilDeleteImages(1, &name);
    return ok;
}

class TempFolder {
public:
    TempFolder()
    {
        char name[] = "/tmp/kelda_render_frame_XXXXXX";
        path_ = mkdtemp(name) ? name : "";
    }
    ~TempFolder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Runs render_frame in folder with the arguments; its exit status.
int RunRenderFrame(const std::string& folder, const std::string& arguments)
{
    const std::string command = "cd '" + folder + "' && '" RENDER_FRAME_PATH "' " + arguments +
                                " > render_frame.log 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void WriteScript(const std::string& folder, const std::string& timeline)
{
    std::vector<KvdEvent> events;
    std::string error;
    ASSERT_TRUE(ParseKvdTimeline(timeline, events, error)) << error;
    ASSERT_TRUE(WriteKvdBytes(folder + "/kelda.kvd", EncodeKvdFile(events), error)) << error;
}

bool Exists(const std::string& file)
{
    return access(file.c_str(), F_OK) == 0;
}

}  // namespace

TEST(BackBufferPngTest, WritesTheTopRowFirstAndOpaque)
{
    StartImageLibrary();  // in the player, the GL system starts it
    TestWindow window;
    ASSERT_TRUE(OpenTestWindow(window));
    glDisable(GL_SCISSOR_TEST);
    glClearColor(1.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // The upper half blue, and one green pixel at the upper left corner.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 240, 640, 240);
    glClearColor(0.0f, 0.0f, 1.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glScissor(0, 479, 1, 1);
    glClearColor(0.0f, 1.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);

    TempFolder folder;
    const std::string file = folder.Path() + "/frame.png";
    ASSERT_TRUE(WriteBackBufferPng(file.c_str(), 640, 480));
    CloseTestWindow(window);

    Image image;
    ASSERT_TRUE(LoadPng(file, image));
    ASSERT_EQ(image.width, 640);
    ASSERT_EQ(image.height, 480);
    const unsigned char* corner = image.At(0, 0);
    EXPECT_EQ(std::vector<int>(corner, corner + 4), (std::vector<int>{0, 255, 0, 255}));
    const unsigned char* top = image.At(320, 10);
    EXPECT_EQ(std::vector<int>(top, top + 4), (std::vector<int>{0, 0, 255, 255}));
    const unsigned char* bottom = image.At(320, 470);
    EXPECT_EQ(std::vector<int>(bottom, bottom + 4), (std::vector<int>{255, 0, 0, 255}));
}

TEST(RenderFrameTest, WritesEachScriptedFrameInTurn)
{
    TempFolder folder;
    WriteScript(folder.Path(),
                "0 10000 0 0 0 - Interference Plugin\n"
                "20000 30000 0 0 0 cd clear buffer\n");
    // Output names relative to the folder the tool starts in.
    ASSERT_EQ(RunRenderFrame(folder.Path(), "'" + folder.Path() + "' 0 a.png 5000 b.png 25000 c.png"),
              0);

    Image a, b, c;
    ASSERT_TRUE(LoadPng(folder.Path() + "/a.png", a));
    ASSERT_TRUE(LoadPng(folder.Path() + "/b.png", b));
    ASSERT_TRUE(LoadPng(folder.Path() + "/c.png", c));
    ASSERT_EQ(a.width, 640);
    ASSERT_EQ(a.height, 480);

    // Time 0: the three gratings coincide in vertical stripes 0.25 wide at
    // ten units' distance. The stripe right of the centre is a bar, the next
    // one a gap (x = 0.125 and 0.375 fall on columns 327 and 341).
    for (int y : {60, 240, 420}) {
        EXPECT_NEAR(a.At(327, y)[0], 252, 2) << y;
        EXPECT_EQ(a.At(341, y)[0], 0) << y;
    }
    // Five seconds on the gratings have turned apart.
    EXPECT_NE(a.rgba, b.rgba);
    // A clear event alone leaves the frame black.
    bool black = true;
    for (size_t i = 0; i < c.rgba.size(); i += 4)
        black = black && c.rgba[i] == 0 && c.rgba[i + 1] == 0 && c.rgba[i + 2] == 0;
    EXPECT_TRUE(black);
}

TEST(RenderFrameTest, RefusesAFolderWithoutAScriptAndBadArguments)
{
    TempFolder folder;
    EXPECT_EQ(RunRenderFrame(folder.Path(), ". 0 a.png"), 1);
    EXPECT_FALSE(Exists(folder.Path() + "/a.png"));

    WriteScript(folder.Path(), "0 10 0 0 0 - Interference Plugin\n");
    EXPECT_EQ(RunRenderFrame(folder.Path(), ". 0"), 2);
    EXPECT_EQ(RunRenderFrame(folder.Path(), ". soon a.png"), 2);
    EXPECT_FALSE(Exists(folder.Path() + "/a.png"));
}

// The bundled demo as scripts/play.sh stages it: every event names a
// delivered effect or a command word, and at 3 s, where the timeline runs the
// interference effect over a cleared frame, the moire is on the screen.
TEST(RenderFrameTest, BundledDemoResolvesEveryEventAndDrawsTheMoire)
{
    TempFolder folder;
    ASSERT_EQ(symlink(KELDA_DATA_DIR, (folder.Path() + "/data").c_str()), 0);
    ASSERT_EQ(std::system(("cp '" KELDA_DATA_DIR "/kelda.kvd' '" + folder.Path() + "/'").c_str()),
              0);
    ASSERT_EQ(RunRenderFrame(folder.Path(), ". 3000 moire.png"), 0);

    std::string log;
    if (FILE* f = fopen((folder.Path() + "/render_frame.log").c_str(), "rb")) {
        char chunk[4096];
        for (size_t n; (n = fread(chunk, 1, sizeof chunk, f)) > 0;)
            log.append(chunk, n);
        fclose(f);
    }
    EXPECT_NE(log.find("Post Processing Script....\n"), std::string::npos) << log;
    // The loader names every record it skips and every name it cannot resolve.
    EXPECT_EQ(log.find("Demo script:"), std::string::npos) << log;
    // Every picture the effects ask for is there.
    EXPECT_EQ(log.find("Import Failed"), std::string::npos) << log;

    Image frame;
    ASSERT_TRUE(LoadPng(folder.Path() + "/moire.png", frame));
    size_t bright = 0, dark = 0;
    for (size_t i = 0; i < frame.rgba.size(); i += 4) {
        const int grey = frame.rgba[i] + frame.rgba[i + 1] + frame.rgba[i + 2];
        bright += grey > 600;
        dark += grey < 60;
    }
    const size_t pixels = frame.rgba.size() / 4;
    EXPECT_GT(bright, pixels / 10);
    EXPECT_GT(dark, pixels / 10);
}
