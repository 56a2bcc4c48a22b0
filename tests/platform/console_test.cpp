#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "stdout_capture.h"
#include "win_console.h"

namespace {

HANDLE OpenConsole()
{
    AllocConsole();
    HANDLE console = CreateConsoleScreenBuffer(GENERIC_WRITE, 0, nullptr,
                                               CONSOLE_TEXTMODE_BUFFER, nullptr);
    SetConsoleActiveScreenBuffer(console);
    return console;
}

// What the terminal receives for the given code page 437 bytes.
std::string Written(HANDLE console, const std::string& bytes, DWORD* written, BOOL* result)
{
    StdoutCapture capture;
    *result = WriteConsoleA(console, bytes.data(), static_cast<DWORD>(bytes.size()), written,
                            nullptr);
    return capture.Finish();
}

}  // namespace

TEST(Console, CodePage437ReachesTheTerminalAsUtf8)
{
    HANDLE console = OpenConsole();
    ASSERT_NE(nullptr, console);
    const struct {
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {"plain text\n", "plain text\n"},
        {"\x8F\x8E\x99\x86\x84\x94", "ÅÄÖåäö"},  // the log's six letters
        {"\x80\x81\x9E\x9F", "Çü₧ƒ"},
        {"\xA9\xB0\xC5\xDB", "⌐░┼█"},
        {"\xE0\xE1\xEC\xF8\xFB", "αß∞°√"},
        {"\xFE\xFF", "■\u00A0"},
        {"\x7F\t\x01", "\x7F\t\x01"},  // below 0x80 bytes pass unchanged
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        DWORD written = 0;
        BOOL result = FALSE;
        EXPECT_EQ(c.utf8, Written(console, c.bytes, &written, &result));
        EXPECT_TRUE(result);
        EXPECT_EQ(c.bytes.size(), written) << "written counts the console's own bytes";
    }
}

TEST(Console, EveryUpperByteBecomesOneCharacter)
{
    HANDLE console = OpenConsole();
    std::string all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all += static_cast<char>(b);
    DWORD written = 0;
    BOOL result = FALSE;
    std::string utf8 = Written(console, all, &written, &result);
    EXPECT_EQ(128u, written);
    size_t characters = 0;
    for (unsigned char c : utf8) {
        EXPECT_GE(c, 0x80) << "no byte maps to ASCII";
        if ((c & 0xC0) != 0x80)
            ++characters;
    }
    EXPECT_EQ(128u, characters);
}

TEST(Console, InvalidHandleWritesNothing)
{
    int notAConsole = 0;
    DWORD written = 99;
    BOOL result = TRUE;
    EXPECT_EQ("", Written(&notAConsole, "lost", &written, &result));
    EXPECT_FALSE(result);
    EXPECT_EQ(0u, written);
    EXPECT_FALSE(SetConsoleActiveScreenBuffer(&notAConsole));
}

// Standard output is a pipe whose reader has gone: the write fails, nothing
// counts as written, and the process is not ended by the broken pipe.
TEST(Console, WriteWithItsReaderGoneFailsQuietly)
{
    HANDLE console = OpenConsole();
    int ends[2];
    ASSERT_EQ(0, pipe(ends));
    close(ends[0]);
    fflush(stdout);
    const int saved = dup(STDOUT_FILENO);
    dup2(ends[1], STDOUT_FILENO);
    close(ends[1]);

    DWORD written = 99;
    const BOOL first = WriteConsoleA(console, "lost\n", 5, &written, nullptr);
    const DWORD firstWritten = written;
    const BOOL second = WriteConsoleA(console, "also lost\n", 10, &written, nullptr);

    dup2(saved, STDOUT_FILENO);
    close(saved);
    EXPECT_FALSE(first);
    EXPECT_EQ(0u, firstWritten);
    EXPECT_FALSE(second);
    EXPECT_EQ(0u, written);
}

TEST(Console, WindowIsFoundByItsTitleOnceTitled)
{
    HANDLE console = OpenConsole();
    EXPECT_TRUE(SetConsoleScreenBufferSize(console, COORD{80, 600}));
    const char* title = "Console Title Probe";
    EXPECT_EQ(nullptr, FindWindowA(nullptr, title));

    StdoutCapture capture;  // no terminal here, so no title sequence either
    EXPECT_TRUE(SetConsoleTitleA(title));
    EXPECT_EQ("", capture.Finish());

    HWND window = FindWindowA(nullptr, title);
    ASSERT_NE(nullptr, window);
    for (HWND after : {HWND_TOPMOST, HWND_TOP, HWND_NOTOPMOST})
        EXPECT_TRUE(SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "Some Other Title"));
}
