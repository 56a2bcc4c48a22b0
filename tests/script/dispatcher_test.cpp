// The frame dispatcher, on script files written by the script tool, recorder
// plugins loaded through the plugin host, and real GL through Mesa.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <climits>
#include <cmath>
#include <memory>

#include "demo_script.h"
#include "gl_trace.h"
#include "orvan_gl.h"
#include "player_globals.h"
#include "script_dispatcher.h"
#include "script_event.h"
#include "script_folder.h"
#include "stdout_capture.h"
#include "test_window.h"
#include "texture.h"
#include "texture_pool.h"

namespace {

using Call = RecorderPlugin::Call;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

const Rgb kRed = {255, 0, 0};
const Rgb kGreen = {0, 255, 0};
const Rgb kBlack = {0, 0, 0};

Rgb PixelAt(int x, int y)
{
    unsigned char p[4] = {};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

float DepthAt(int x, int y)
{
    float depth = -1.0f;
    glReadPixels(x, y, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    return depth;
}

// The window's framebuffer with one colour and depth everywhere.
void FillFramebuffer(float r, float g, float b, double depth)
{
    glClearColor(r, g, b, 1.0f);
    glClearDepth(depth);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureLog();
        ClearScriptEvents();
        ASSERT_TRUE(OpenTestWindow(window_));
        glViewport(0, 0, 640, 480);

        gl_ = std::make_unique<OrvanGL>();
        pool_ = std::make_unique<TexturePool>();
        gl_->SetTexturePool(pool_.get());
        // A record ahead of the host's targets, so that a target's number and
        // its pool index differ.
        pool_->CreateTexture("spacer", 64, 64, 32, false);
        for (int32_t& target : gl_->rttTargets)
            target = gl_->CreateRttTarget(1024, 512);

        plugins_ = std::make_unique<RecorderHost>();
        plugins_->host.glSystem = gl_.get();
        plugins_->host.texturePool = pool_.get();
        a_ = plugins_->Load("recorder_a.DLL");        // 0 "Recorder A"
        b_ = plugins_->Load("recorder_b.DLL");        // 1 "Recorder B"
        caps_ = plugins_->Load("recorder_caps.DLL");  // 2 "Trigger"
        word_ = plugins_->Load("recorder_word.DLL");  // 3 "clear buffer"
        ASSERT_TRUE(a_ && b_ && caps_ && word_);
        for (RecorderPlugin* plugin : {a_, b_, caps_, word_})
            plugin->journal = &journal_;

        g_host = &plugins_->host;
        g_gl = gl_.get();
    }

    void TearDown() override
    {
        ClearScriptEvents();
        g_host = nullptr;
        g_gl = nullptr;
        plugins_.reset();
        pool_.reset();
        gl_.reset();
        CloseTestWindow(window_);
    }

    void Script(const std::string& timeline)
    {
        ClearScriptEvents();
        folder_.WriteTimeline(timeline);
        StdoutCapture quiet;
        LoadDemoScript();
    }

    // Runs one frame with an empty journal; returns what the frame logged.
    std::string Frame(int timeMs)
    {
        journal_.clear();
        StdoutCapture capture;
        ProcessScriptFrame(timeMs);
        capturedLog_ = capture.Finish();
        return capturedLog_;
    }

    // Runs one frame like Frame, recording the GL calls made during it.
    std::vector<GlTraceCall> FrameGlCalls(int timeMs)
    {
        EXPECT_TRUE(GlTraceInterposing()) << "the GL tracer is not ahead of libGL";
        GlTraceRecording recording;
        Frame(timeMs);
        return GlTraceCalls();
    }

    GLuint TargetTexture(int k) { return gl_->GetTextureId(gl_->rttTargets[k]); }

    TestWindow window_;
    ScriptFolder folder_;
    std::unique_ptr<OrvanGL> gl_;
    std::unique_ptr<TexturePool> pool_;
    std::unique_ptr<RecorderHost> plugins_;
    RecorderPlugin* a_ = nullptr;
    RecorderPlugin* b_ = nullptr;
    RecorderPlugin* caps_ = nullptr;
    RecorderPlugin* word_ = nullptr;
    std::vector<Call> journal_;
    std::string capturedLog_;  // what the last frame logged
};

TEST_F(DispatcherTest, LastActiveEventWinsItsLayer)
{
    Script("1000 2000 0 0 0 - Recorder A\n"
           "1500 1600 0 0 0 - Recorder B\n"
           "3000 2999 0 0 0 - Recorder B\n"  // start after end: never active
           "2500 2500 0 0 0 - Recorder A\n"
           "4000 5000 1 0 0 - Recorder A\n"
           "4500 4600 1 3 0 - Nobody Here\n");  // names nothing: holds its layer, does nothing

    struct Case {
        int timeMs;
        RecorderPlugin* renders;  // nullptr: nothing runs
    } cases[] = {
        {999, nullptr}, {1000, a_}, {1499, a_}, {1500, b_}, {1600, b_}, {1601, a_},
        {2000, a_},     {2001, nullptr}, {2500, a_}, {2999, nullptr}, {3000, nullptr},
        {4000, a_},     {4500, nullptr}, {4600, nullptr}, {4601, a_},  {1550, b_},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.timeMs);
        Frame(c.timeMs);
        if (!c.renders) {
            EXPECT_TRUE(journal_.empty());
        } else {
            ASSERT_EQ(journal_.size(), 1u);
            EXPECT_EQ(journal_[0].kind, Call::kRender);
            EXPECT_EQ(journal_[0].plugin, c.renders);
        }
        EXPECT_FALSE(gl_->rttActive);  // the unmatched event is no capture start
    }
}

TEST_F(DispatcherTest, LayersRunInOrderWhateverTheFileOrder)
{
    Script("0 100 7 0 0 - Recorder A\n"
           "0 100 2 0 0 - Recorder B\n"
           "0 100 9 0 0 - Trigger\n"   // a plugin name, not the command
           "0 100 0 0 0 - Recorder B\n"
           "0 100 5 6 8 - TRIGGER\n");
    Frame(50);

    struct Expected {
        Call::Kind kind;
        RecorderPlugin* plugin;
    } expected[] = {
        {Call::kRender, b_},                                             // layer 0
        {Call::kRender, b_},                                             // layer 2
        {Call::kTrigger, a_}, {Call::kTrigger, b_},                      // layer 5, every
        {Call::kTrigger, caps_}, {Call::kTrigger, word_},                // plugin in load order
        {Call::kRender, a_},                                             // layer 7
        {Call::kRender, caps_},                                          // layer 9
    };
    ASSERT_EQ(journal_.size(), sizeof expected / sizeof expected[0]);
    for (size_t i = 0; i < journal_.size(); i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(journal_[i].kind, expected[i].kind);
        EXPECT_EQ(journal_[i].plugin, expected[i].plugin);
        if (journal_[i].kind == Call::kTrigger) {
            EXPECT_EQ(journal_[i].id, 6);
            EXPECT_EQ(journal_[i].value, 8);
            EXPECT_EQ(journal_[i].reserved, 0);
        }
    }
}

// Render time in hundredths, trigger time in tenths, both absolute.
TEST_F(DispatcherTest, PluginsGetStreamTimeInHundredthsAndTenths)
{
    Script("-2147483648 2147483647 0 0 0 - Recorder A\n"
           "100 2147483647 1 0 0 - TRIGGER\n");
    const int times[] = {100, 101, 115, 999, 1005, 123457, 3599999, 3600000, 16777217, 2147483647};
    for (int t : times) {
        SCOPED_TRACE(t);
        Frame(t);
        ASSERT_EQ(journal_.size(), 5u);  // A's render, then every plugin's trigger
        const Call& render = journal_.front();
        const Call& trigger = journal_.back();
        ASSERT_EQ(render.kind, Call::kRender);
        ASSERT_EQ(trigger.kind, Call::kTrigger);
        EXPECT_EQ(render.time, static_cast<float>(static_cast<double>(static_cast<float>(t)) / 1000.0 * 100.0));
        EXPECT_EQ(trigger.time, static_cast<float>(t) / 100.0f);
        if (t < 3600000) {
            EXPECT_EQ(render.time, static_cast<float>(t / 10.0));
        }
    }
    Frame(115);
    EXPECT_EQ(journal_.front().time, 11.5f);
    EXPECT_EQ(journal_.back().time, 1.15f);
}

TEST_F(DispatcherTest, TriggerRunsOnEveryFrameWhileActive)
{
    Script("2000 4000 4 7 -3 - TRIGGER\n");
    for (int t = 1990; t <= 4010; t += 10) {
        SCOPED_TRACE(t);
        Frame(t);
        size_t expected = (t >= 2000 && t <= 4000) ? 4 : 0;
        ASSERT_EQ(journal_.size(), expected);
        for (const Call& call : journal_) {
            EXPECT_EQ(call.kind, Call::kTrigger);
            EXPECT_EQ(call.id, 7);
            EXPECT_EQ(call.value, -3);
        }
    }
}

TEST_F(DispatcherTest, SendParamLogsOncePerFrame)
{
    Script("0 1000 4 0 0 - send param\n"
           "500 600 4 0 0 - send param\n");
    for (int t : {0, 10, 550, 1000})
        EXPECT_EQ(Frame(t), "parameter support undefined\n") << t;
    EXPECT_EQ(Frame(1001), "");
}

// The dispatcher draws nothing and sets no GL state of its own: plugin
// layers, a trigger, a parameter command and a capture start make no GL
// call besides what the plugins make (these recorders make none).
TEST_F(DispatcherTest, SetsNoGlStateBetweenLayers)
{
    Script("0 100 0 0 0 - Recorder A\n"
           "0 100 2 0 0 - Recorder B\n"
           "0 100 3 1 2 - TRIGGER\n"
           "0 100 4 0 0 - send param\n"
           "0 100 6 3 0 - rtt start\n"
           "0 100 9 0 0 - Recorder A\n");
    std::vector<GlTraceCall> calls = FrameGlCalls(50);
    EXPECT_EQ(journal_.size(), 2u + 4u + 1u);
    for (const GlTraceCall& call : calls)
        ADD_FAILURE() << call.name;
    EXPECT_TRUE(gl_->rttActive);
    gl_->EndRtt();
}

// "clear buffer" and "rtt end" clear by the same two flags; with no capture
// open the end is refused, and the clear still follows.
TEST_F(DispatcherTest, ClearFlagsPickTheBuffers)
{
    struct Case {
        const char* name;
        const char* flags;
        bool colour, depth;
    } cases[] = {
        {"clear buffer", "-", false, false}, {"clear buffer", "c", true, false},
        {"clear buffer", "d", false, true},  {"clear buffer", "cd", true, true},
        {"rtt end", "-", false, false},      {"rtt end", "c", true, false},
        {"rtt end", "d", false, true},       {"rtt end", "cd", true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.flags);
        Script(std::string("0 100 3 0 0 ") + c.flags + " " + c.name + "\n");
        FillFramebuffer(0, 1, 0, 0.25);
        glClearColor(1, 0, 0, 1);
        glClearDepth(1.0);

        std::vector<GlTraceCall> calls = FrameGlCalls(50);
        std::string log = capturedLog_;

        // At most one clear, with both bits when both flags are set.
        const double mask = (c.colour ? GL_COLOR_BUFFER_BIT : 0) | (c.depth ? GL_DEPTH_BUFFER_BIT : 0);
        ASSERT_EQ(calls.size(), mask ? 1u : 0u);
        if (mask) {
            EXPECT_EQ(calls[0].name, "glClear");
            EXPECT_EQ(calls[0].args, std::vector<double>{mask});
        }
        EXPECT_EQ(PixelAt(320, 240), c.colour ? kRed : kGreen);
        EXPECT_NEAR(DepthAt(320, 240), c.depth ? 1.0f : 0.25f, 1e-3);
        EXPECT_NEAR(DepthAt(5, 470), c.depth ? 1.0f : 0.25f, 1e-3);
        EXPECT_TRUE(word_->calls.empty());  // the command, not the plugin of its name
        bool refused = log.find("tried to end rtt but not in rtt mode") != std::string::npos;
        EXPECT_EQ(refused, std::string(c.name) == "rtt end") << log;
    }
}

TEST_F(DispatcherTest, RttStartCapturesIntoTheTargetOfItsId)
{
    struct Case {
        int id;
        int target;
    } cases[] = {{0, 0}, {1, 1}, {3, 3}, {4, 4}, {5, 0}, {-1, 0}, {INT_MIN, 0}, {INT_MAX, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        Script("0 100 6 " + std::to_string(c.id) + " 0 - rtt start\n");
        Frame(50);
        EXPECT_TRUE(gl_->rttActive);
        EXPECT_EQ(gl_->rttTexture, TargetTexture(c.target));
        EXPECT_EQ(gl_->rttWidth, 1024);
        EXPECT_EQ(gl_->rttHeight, 512);
        gl_->EndRtt();
    }
}

// Layer 0 paints red, layer 1 opens a capture, layer 2 ends it: the target
// holds the frame as drawn below the end; the end's flags clear only the
// window afterwards.
TEST_F(DispatcherTest, RttEndCopiesTheFrameBeforeItClears)
{
    a_->paint = true;
    a_->paintColour[0] = 1.0f;
    a_->paintColour[1] = 0.0f;
    a_->paintColour[2] = 0.0f;
    for (const char* flags : {"-", "cd"}) {
        SCOPED_TRACE(flags);
        Script(std::string("0 100 0 0 0 - Recorder A\n"
                           "0 100 1 2 0 - rtt start\n"
                           "0 100 2 0 0 ") + flags + " rtt end\n");
        FillFramebuffer(0, 0, 0, 1.0);
        std::vector<unsigned char> before(1024 * 512 * 4);
        glBindTexture(GL_TEXTURE_2D, TargetTexture(0));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, before.data());

        EXPECT_EQ(Frame(50), "");
        EXPECT_FALSE(gl_->rttActive);

        std::vector<unsigned char> texels(1024 * 512 * 4);
        glBindTexture(GL_TEXTURE_2D, TargetTexture(2));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        for (int xy : {0, 10 * 1024 + 10, 479 * 1024 + 639}) {
            const unsigned char* p = &texels[xy * 4];
            EXPECT_EQ((Rgb{p[0], p[1], p[2]}), kRed) << xy;
        }
        // Only the target of the event's id changed.
        std::vector<unsigned char> after(1024 * 512 * 4);
        glBindTexture(GL_TEXTURE_2D, TargetTexture(0));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, after.data());
        EXPECT_TRUE(before == after);

        EXPECT_EQ(PixelAt(320, 240), std::string(flags) == "cd" ? kBlack : kRed);
    }
}

// The end below the start: each frame's end runs before its start. On the
// first frame the end finds no capture and is refused, and the start opens
// one; on the next frame the end closes it, copying the frame as its lower
// layers have drawn it into the target the previous frame's start chose.
TEST_F(DispatcherTest, RttEndBelowItsStartClosesTheCaptureOfThePreviousFrame)
{
    Script("0 100 0 0 0 - Recorder A\n"
           "0 100 2 0 0 - rtt end\n"
           "0 100 5 1 0 - rtt start\n"
           "0 100 7 0 0 - Recorder B\n");
    a_->paint = true;
    b_->paint = true;
    b_->paintColour[0] = 0.0f;
    b_->paintColour[1] = 1.0f;
    b_->paintColour[2] = 0.0f;
    auto targetTexel = [&](int k) {
        std::vector<unsigned char> texels(1024 * 512 * 4);
        glBindTexture(GL_TEXTURE_2D, TargetTexture(k));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
        const unsigned char* p = &texels[(240 * 1024 + 320) * 4];
        return Rgb{p[0], p[1], p[2]};
    };
    const Rgb grey = {64, 64, 64};
    std::vector<unsigned char> greyTexels(1024 * 512 * 4, 64);
    glBindTexture(GL_TEXTURE_2D, TargetTexture(1));
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1024, 512, GL_RGBA, GL_UNSIGNED_BYTE, greyTexels.data());
    FillFramebuffer(0, 0, 0, 1.0);

    // First frame: red below the end, green on top.
    a_->paintColour[0] = 1.0f;
    a_->paintColour[1] = 0.0f;
    a_->paintColour[2] = 0.0f;
    EXPECT_EQ(Frame(10), "OrvanGL Render To Texture Error - tried to end rtt but not in rtt mode\n");
    EXPECT_TRUE(gl_->rttActive);
    EXPECT_EQ(gl_->rttTexture, TargetTexture(1));
    EXPECT_EQ(PixelAt(320, 240), kGreen);
    EXPECT_EQ(targetTexel(1), grey);  // the refused end copied nothing

    // Next frame: the end copies this frame's layer 0 (now blue), not the
    // previous frame's top, then the start opens the capture again.
    a_->paintColour[0] = 0.0f;
    a_->paintColour[1] = 0.0f;
    a_->paintColour[2] = 1.0f;
    EXPECT_EQ(Frame(20), "");
    EXPECT_EQ(targetTexel(1), (Rgb{0, 0, 255}));
    EXPECT_TRUE(gl_->rttActive);
    EXPECT_EQ(gl_->rttTexture, TargetTexture(1));
    EXPECT_EQ(PixelAt(320, 240), kGreen);
    gl_->EndRtt();
}

// Whatever else fills the list, an event off the ten layers has no slot.
TEST_F(DispatcherTest, EventsOffTheTenLayersAreIgnored)
{
    Script("0 100 9 0 0 - Recorder B\n");
    for (int32_t layer : {-1, 10, INT_MAX, INT_MIN}) {
        ScriptEvent* event = new ScriptEvent();
        event->start = 0;
        event->end = 100;
        event->layer = layer;
        event->target = 0;
        g_scriptEvents.push_back(event);
    }
    Frame(50);
    ASSERT_EQ(journal_.size(), 1u);
    EXPECT_EQ(journal_[0].plugin, b_);
}

}  // namespace
