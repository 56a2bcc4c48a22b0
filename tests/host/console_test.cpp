// The log core and its console: what reaches standard output, byte for byte.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "orvan_core.h"
#include "stdout_capture.h"
#include "win_console.h"

namespace {

const char kFirstLine[] = "Orvan_Core::Orvan_Core() Debug Console Created Successfully\n";

// The console outlives the core; each test ends the core it began.
class ConsoleTest : public ::testing::Test {
protected:
    void TearDown() override { Orvan_Core_End(); }

    // Opens the console (once per process) and leaves a core running.
    static void Begin()
    {
        StdoutCapture quiet;
        Orvan_Core_Begin();
    }
};

// Declared first: it needs a process in which no console has been opened.
TEST_F(ConsoleTest, PrintBeforeTheConsoleExistsIsDropped)
{
    if (g_console)
        GTEST_SKIP() << "a console was opened earlier in this process";
    StdoutCapture capture;
    EXPECT_EQ(0, Orvan_Core_Print("lost %d\n", 1));
    EXPECT_EQ("", capture.Finish());
}

TEST_F(ConsoleTest, BeginOpensTheConsoleAndLogsTheFirstLine)
{
    StdoutCapture capture;
    EXPECT_EQ(1, Orvan_Core_Begin());
    EXPECT_EQ(kFirstLine, capture.Finish());
    EXPECT_NE(nullptr, g_core);
    EXPECT_NE(nullptr, g_console);
    // The console's window carries its title.
    EXPECT_NE(nullptr, FindWindowA(nullptr, "Orvan_Core Debug Console"));
}

TEST_F(ConsoleTest, RedundantBeginKeepsTheRunningCore)
{
    Begin();
    Orvan_Core* running = g_core;
    HANDLE console = g_console;

    StdoutCapture capture;
    EXPECT_EQ(0, Orvan_Core_Begin());
    EXPECT_EQ("Redundant Orvan_Core_Begin\n", capture.Finish());
    EXPECT_EQ(running, g_core);
    EXPECT_EQ(console, g_console);
}

TEST_F(ConsoleTest, SecondCoreObjectIsNotRegistered)
{
    Begin();
    Orvan_Core* running = g_core;

    StdoutCapture capture;
    Orvan_Core* second = new Orvan_Core;
    EXPECT_EQ("Orvan_Core::Orvan_Core() -- Core already exists!\n", capture.Finish());
    EXPECT_EQ(running, g_core);
    delete second;
    EXPECT_EQ(running, g_core);
}

TEST_F(ConsoleTest, PrintsAfterEndStillReachTheConsole)
{
    Begin();
    EXPECT_EQ(1, Orvan_Core_End());
    EXPECT_EQ(nullptr, g_core);

    StdoutCapture capture;
    EXPECT_EQ(1, Orvan_Core_End());  // no core: nothing to do
    EXPECT_NE(0, Orvan_Core_Print("after end %s\n", "still"));
    EXPECT_EQ("after end still\n", capture.Finish());

    // The next start opens a core again.
    StdoutCapture restart;
    EXPECT_EQ(1, Orvan_Core_Begin());
    EXPECT_EQ(kFirstLine, restart.Finish());
}

TEST_F(ConsoleTest, SixLatin1LettersBecomeCodePage437)
{
    Begin();
    StdoutCapture capture;
    // The console shows code page 437 as UTF-8: the six letters mapped, then
    // two other high bytes left as they are (0xE9 and 0xB0 in code page 437).
    EXPECT_NE(0, Orvan_Core_Print("%s|\xE9\xB0\n", "\xC5\xC4\xD6\xE5\xE4\xF6"));
    EXPECT_EQ(u8"\u00C5\u00C4\u00D6\u00E5\u00E4\u00F6|\u0398\u2591\n", capture.Finish());
}

TEST_F(ConsoleTest, TwoPrintsWithoutLineEndShareOneLine)
{
    Begin();
    StdoutCapture capture;
    Orvan_Core_Print("left ");
    Orvan_Core_Print("right %d\n", 2);
    EXPECT_EQ("left right 2\n", capture.Finish());
}

TEST_F(ConsoleTest, ArgumentsReachTheFormatter)
{
    Begin();
    StdoutCapture capture;
    Orvan_Core_Print("%d %u %s %.3f %c %lld %x %d %d %d|\n", -7, 4000000000u, "text", 2.5, 'q',
                     static_cast<long long>(1) << 40, 0xbeef, 8, 9, 10);
    EXPECT_EQ("-7 4000000000 text 2.500 q 1099511627776 beef 8 9 10|\n", capture.Finish());

    // The core object's own print forwards to the same function.
    StdoutCapture method;
    EXPECT_NE(0, g_core->Print("%s %d\xC5\n", "method", 11));
    EXPECT_EQ("method 11\u00C5\n", method.Finish());
}

// A print whose write fails reports the console's failure and loses the
// message; the next print, once the console can be written again, arrives.
TEST_F(ConsoleTest, PrintWhoseWriteFailsReturnsZero)
{
    Begin();
    int result;
    {
        StdoutReaderGone gone;
        result = Orvan_Core_Print("lost %d\n", 1);
    }
    EXPECT_EQ(0, result);

    StdoutCapture capture;
    EXPECT_NE(0, Orvan_Core_Print("kept %d\n", 2));
    EXPECT_EQ("kept 2\n", capture.Finish());
}

struct LengthCase {
    size_t length;    // characters in the formatted message
    size_t expected;  // characters that reach the console
};

void PrintTo(const LengthCase& c, std::ostream* os)
{
    *os << c.length;
}


class ConsoleLengthTest : public ConsoleTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(ConsoleLengthTest, MessageIsCutAt255Characters)
{
    Begin();
    std::string message;
    for (size_t i = 0; i < GetParam().length; ++i)
        message += static_cast<char>('a' + i % 26);

    StdoutCapture capture;
    EXPECT_NE(0, Orvan_Core_Print("%s", message.c_str()));
    EXPECT_EQ(message.substr(0, GetParam().expected), capture.Finish());
}

INSTANTIATE_TEST_SUITE_P(Lengths, ConsoleLengthTest,
                         ::testing::Values(LengthCase{254, 254}, LengthCase{255, 255},
                                           LengthCase{256, 255}, LengthCase{4000, 255}),
                         [](const ::testing::TestParamInfo<LengthCase>& info) {
                             return "Length" + std::to_string(info.param.length);
                         });

TEST_F(ConsoleTest, LongFormatStringIsCutToo)
{
    Begin();
    const std::string format(300, 'z');
    StdoutCapture capture;
    Orvan_Core_Print(format.c_str(), 0);
    EXPECT_EQ(std::string(255, 'z'), capture.Finish());
}

}  // namespace
