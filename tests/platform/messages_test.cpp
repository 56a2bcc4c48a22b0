#include <gtest/gtest.h>

#include <vector>

#include "test_window.h"
#include "win_handles.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
};

std::vector<Seen> s_seen;

// Behaves as the player's window procedure does for the messages it tests.
LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    s_seen.push_back({message, wParam});
    if (message == WM_CLOSE) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class Messages : public ::testing::Test {
protected:
    void SetUp() override
    {
        s_seen.clear();
        ASSERT_TRUE(OpenTestWindow(window_, RecordingProc));
        Drain();
        s_seen.clear();
    }
    void TearDown() override { CloseTestWindow(window_); }

    // Takes and dispatches messages as the main loop does, until the queue is
    // empty or a quit message arrives; true for the quit message.
    bool Drain(MSG* quit = nullptr)
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (quit)
                    *quit = msg;
                return true;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        return false;
    }

    void PushKey(Uint32 type, SDL_Keycode key, SDL_Scancode scancode)
    {
        SDL_Event event = {};
        event.type = type;
        event.key.windowID = SDL_GetWindowID(window_.hwnd->sdlWindow);
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = scancode;
        ASSERT_EQ(1, SDL_PushEvent(&event));
    }

    std::vector<Seen> KeyMessages() const
    {
        std::vector<Seen> keys;
        for (const Seen& seen : s_seen)
            if (seen.message == WM_KEYDOWN || seen.message == WM_KEYUP)
                keys.push_back(seen);
        return keys;
    }

    TestWindow window_;
};

}  // namespace

TEST_F(Messages, KeysArriveAsVirtualKeyCodes)
{
    struct Case {
        SDL_Keycode key;
        SDL_Scancode scancode;
        WPARAM virtualKey;
    };
    const Case cases[] = {
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 0x1B}, {SDLK_a, SDL_SCANCODE_A, 'A'},
        {SDLK_z, SDL_SCANCODE_Z, 'Z'},           {SDLK_0, SDL_SCANCODE_0, '0'},
        {SDLK_9, SDL_SCANCODE_9, '9'},           {SDLK_F1, SDL_SCANCODE_F1, 0x70},
        {SDLK_F12, SDL_SCANCODE_F12, 0x7B},      {SDLK_SPACE, SDL_SCANCODE_SPACE, 0x20},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 0x0D}, {SDLK_LEFT, SDL_SCANCODE_LEFT, 0x25},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, 0x28},    {SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, 0x10},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 0x11},  {SDLK_LALT, SDL_SCANCODE_LALT, 0x12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        s_seen.clear();
        PushKey(SDL_KEYDOWN, c.key, c.scancode);
        PushKey(SDL_KEYUP, c.key, c.scancode);
        EXPECT_FALSE(Drain());
        std::vector<Seen> keys = KeyMessages();
        ASSERT_EQ(2u, keys.size());
        EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), keys[0].message);
        EXPECT_EQ(c.virtualKey, keys[0].wParam);
        EXPECT_EQ(static_cast<UINT>(WM_KEYUP), keys[1].message);
        EXPECT_EQ(c.virtualKey, keys[1].wParam);
    }
}

TEST_F(Messages, OneMessagePerPeekAndUnknownKeysDropped)
{
    PushKey(SDL_KEYDOWN, SDLK_PRINTSCREEN, SDL_SCANCODE_PRINTSCREEN);
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    PushKey(SDL_KEYUP, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    MSG again;
    ASSERT_TRUE(PeekMessageA(&again, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), again.message) << "the peeked message stays first";
    EXPECT_EQ(static_cast<WPARAM>(VK_ESCAPE), again.wParam);
    EXPECT_EQ(window_.hwnd, again.hwnd);
    EXPECT_EQ(msg.message, again.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_KEYUP), msg.message);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Messages, CloseRequestBecomesCloseThroughDefWindowProc)
{
    SDL_Event windowClose = {};
    windowClose.type = SDL_WINDOWEVENT;
    windowClose.window.event = SDL_WINDOWEVENT_CLOSE;
    windowClose.window.windowID = SDL_GetWindowID(window_.hwnd->sdlWindow);
    SDL_Event quit = {};
    quit.type = SDL_QUIT;

    for (SDL_Event event : {windowClose, quit}) {
        SCOPED_TRACE(event.type == SDL_QUIT ? "SDL_QUIT" : "window close");
        s_seen.clear();
        ASSERT_EQ(1, SDL_PushEvent(&event));
        MSG msg = {};
        ASSERT_TRUE(Drain(&msg)) << "the window procedure's quit message arrives";
        EXPECT_EQ(nullptr, msg.hwnd);
        EXPECT_EQ(0u, msg.wParam);

        ASSERT_EQ(2u, s_seen.size());
        EXPECT_EQ(static_cast<UINT>(WM_SYSCOMMAND), s_seen[0].message);
        EXPECT_EQ(static_cast<WPARAM>(SC_CLOSE), s_seen[0].wParam);
        EXPECT_EQ(static_cast<UINT>(WM_CLOSE), s_seen[1].message);
    }
}

TEST_F(Messages, PostedQuitComesBeforeWaitingEvents)
{
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE, SDL_SCANCODE_ESCAPE);
    PostQuitMessage(3);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_QUIT), msg.message);
    EXPECT_EQ(3u, msg.wParam);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_KEYDOWN), msg.message);
}

TEST_F(Messages, DefWindowProcClosesOnlyOnSystemClose)
{
    const struct {
        UINT message;
        WPARAM wParam;
        size_t calls;
    } cases[] = {
        {WM_SYSCOMMAND, SC_CLOSE, 1},
        {WM_SYSCOMMAND, SC_CLOSE | 0x2, 1},  // the low bits are the system's own
        {WM_SYSCOMMAND, SC_SCREENSAVE, 0},
        {WM_KEYDOWN, VK_ESCAPE, 0},
        {WM_ACTIVATE, WA_ACTIVE, 0},
    };
    for (const auto& c : cases) {
        s_seen.clear();
        EXPECT_EQ(0, DefWindowProcA(window_.hwnd, c.message, c.wParam, 0));
        EXPECT_EQ(c.calls, s_seen.size()) << std::hex << c.message << " " << c.wParam;
        if (c.calls) {
            EXPECT_EQ(static_cast<UINT>(WM_CLOSE), s_seen[0].message);
        }
    }
    // The close posted a quit message; take it so it does not leak.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}
