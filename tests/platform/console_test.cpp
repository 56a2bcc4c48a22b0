#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "stdout_capture.h"
#include "utf8_text.h"
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
        {"\x7F\t\x01 ~", "⌂\t☺ ~"},  // controls show as glyphs, layout codes act
        {"\r\n", "\r\n"},
        {std::string("a\0b", 3), "a b"},  // 0x00 is a blank cell
    };
    for (const auto& c : cases) {
        DWORD written = 0;
        BOOL result = FALSE;
        EXPECT_EQ(c.utf8, Written(console, c.bytes, &written, &result));
        EXPECT_TRUE(result);
        EXPECT_EQ(c.bytes.size(), written) << "written counts the console's own bytes";
    }
}

// The code page 437 chart's glyphs for the control codes: the console shows
// them and acts on none but tab, line feed and carriage return.
TEST(Console, ControlCodesShowTheirCodePage437Glyphs)
{
    HANDLE console = OpenConsole();
    const struct {
        unsigned char byte;
        const char* shown;
    } chart[] = {
        {0x00, " "}, {0x01, "☺"}, {0x02, "☻"}, {0x03, "♥"}, {0x04, "♦"}, {0x05, "♣"},
        {0x06, "♠"}, {0x07, "•"}, {0x08, "◘"}, {0x09, "\t"}, {0x0A, "\n"}, {0x0B, "♂"},
        {0x0C, "♀"}, {0x0D, "\r"}, {0x0E, "♫"}, {0x0F, "☼"}, {0x10, "►"}, {0x11, "◄"},
        {0x12, "↕"}, {0x13, "‼"}, {0x14, "¶"}, {0x15, "§"}, {0x16, "▬"}, {0x17, "↨"},
        {0x18, "↑"}, {0x19, "↓"}, {0x1A, "→"}, {0x1B, "←"}, {0x1C, "∟"}, {0x1D, "↔"},
        {0x1E, "▲"}, {0x1F, "▼"}, {0x7F, "⌂"},
    };
    for (const auto& c : chart) {
        SCOPED_TRACE(static_cast<int>(c.byte));
        DWORD written = 0;
        BOOL result = FALSE;
        EXPECT_EQ(c.shown, Written(console, std::string(1, static_cast<char>(c.byte)), &written,
                                   &result));
        EXPECT_TRUE(result);
        EXPECT_EQ(1u, written);
    }
}

// Whatever the bytes, the terminal gets well-formed UTF-8 with no control
// code but tab, line feed and carriage return: no C0 code, no DEL and no C1
// code (U+0080 to U+009F), one character for every byte.
TEST(Console, NoByteReachesTheTerminalAsAControlCode)
{
    HANDLE console = OpenConsole();
    std::string all;
    for (int b = 0; b <= 0xFF; ++b)
        all += static_cast<char>(b);
    DWORD written = 0;
    BOOL result = FALSE;
    const std::string utf8 = Written(console, all, &written, &result);
    EXPECT_EQ(256u, written);

    std::vector<char32_t> codes;
    ASSERT_TRUE(DecodeUtf8(utf8, codes));
    EXPECT_EQ(256u, codes.size());
    for (char32_t code : codes)
        EXPECT_FALSE(IsTerminalControl(code)) << std::hex << static_cast<unsigned>(code);
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
    DWORD written = 99, firstWritten;
    BOOL first, second;
    {
        StdoutReaderGone gone;
        first = WriteConsoleA(console, "lost\n", 5, &written, nullptr);
        firstWritten = written;
        second = WriteConsoleA(console, "also lost\n", 10, &written, nullptr);
    }
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
