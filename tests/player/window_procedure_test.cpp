// The window procedure's message table, on a real platform window.
#include <gtest/gtest.h>

#include <cstring>

#include "player_globals.h"
#include "test_window.h"
#include "window_procedure.h"

namespace {

class WindowProcedure : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(OpenTestWindow(window_, WndProc));
        memset(g_keys, 0, sizeof g_keys);
        Drain();
    }
    void TearDown() override
    {
        Drain();
        CloseTestWindow(window_);
    }

    // Takes every pending message; true when a WM_QUIT with code 0 was among them.
    static bool Drain()
    {
        bool quit = false;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            quit = quit || (msg.message == WM_QUIT && msg.wParam == 0);
        return quit;
    }

    TestWindow window_;
};

struct MessageCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool postsQuit;
};

// Every row answers 0; the screen saver and monitor power-down are swallowed,
// while a close, whether direct or as the system command, ends the run.
const MessageCase kMessages[] = {
    {"activate", WM_ACTIVATE, WA_ACTIVE, false},
    {"size", WM_SIZE, SIZE_RESTORED, false},
    {"screen saver", WM_SYSCOMMAND, SC_SCREENSAVE, false},
    {"monitor power", WM_SYSCOMMAND, SC_MONITORPOWER, false},
    {"close", WM_CLOSE, 0, true},
    {"system close (Alt+F4)", WM_SYSCOMMAND, SC_CLOSE, true},
};

TEST_F(WindowProcedure, AnswersTheMessageTable)
{
    for (const MessageCase& c : kMessages) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(0, WndProc(window_.hwnd, c.message, c.wParam, 0));
        EXPECT_EQ(c.postsQuit, Drain());
    }
}

TEST_F(WindowProcedure, KeyMessagesKeepTheKeyTable)
{
    unsigned char expected[256] = {};
    EXPECT_EQ(0, WndProc(window_.hwnd, WM_KEYDOWN, VK_ESCAPE, 0));
    EXPECT_EQ(0, WndProc(window_.hwnd, WM_KEYDOWN, 'A', 0));
    EXPECT_EQ(0, WndProc(window_.hwnd, WM_KEYDOWN, 0xFF, 0));
    expected[VK_ESCAPE] = expected['A'] = expected[0xFF] = 1;
    EXPECT_EQ(0, memcmp(expected, g_keys, sizeof g_keys));

    // A repeated key-down changes nothing; a key-up clears just its entry.
    EXPECT_EQ(0, WndProc(window_.hwnd, WM_KEYDOWN, VK_ESCAPE, 0x40000001));
    EXPECT_EQ(0, WndProc(window_.hwnd, WM_KEYUP, VK_ESCAPE, 0));
    expected[VK_ESCAPE] = 0;
    EXPECT_EQ(0, memcmp(expected, g_keys, sizeof g_keys));
    EXPECT_FALSE(Drain());
}

// A code beyond the table's 256 entries is not written anywhere.
TEST_F(WindowProcedure, KeyCodesBeyondTheTableAreDropped)
{
    EXPECT_EQ(0, WndProc(window_.hwnd, WM_KEYDOWN, 256, 0));
    EXPECT_EQ(0, WndProc(window_.hwnd, WM_KEYDOWN, 0x1000 + VK_ESCAPE, 0));
    unsigned char none[256] = {};
    EXPECT_EQ(0, memcmp(none, g_keys, sizeof g_keys));
}

}  // namespace
