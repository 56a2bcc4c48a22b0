#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "unattended.h"
#include "win_window.h"

namespace {

// Runs the box with standard error captured; what it printed.
std::string Stderr(const char* text, const char* caption, int* result)
{
    fflush(stderr);
    FILE* file = tmpfile();
    int saved = dup(STDERR_FILENO);
    dup2(fileno(file), STDERR_FILENO);
    *result = MessageBoxA(nullptr, text, caption, MB_OK);
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::string printed;
    rewind(file);
    for (int c; (c = fgetc(file)) != EOF;)
        printed += static_cast<char>(c);
    fclose(file);
    return printed;
}

}  // namespace

TEST(MessageBox, UnattendedPrintsAndAnswersAtOnce)
{
    // The offscreen driver alone makes the run unattended; the variable too.
    for (const char* declared : {"", "1"}) {
        setenv("KELDA_UNATTENDED", declared, 1);
        ASSERT_TRUE(PlatformIsUnattended());
        int result = 0;
        auto start = std::chrono::steady_clock::now();
        std::string printed = Stderr("pixel format error!", "error!", &result);
        auto took = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(IDOK, result);
        EXPECT_EQ("error!: pixel format error!\n", printed);
        EXPECT_LT(took, std::chrono::seconds(2));
    }
    unsetenv("KELDA_UNATTENDED");
}

TEST(MessageBox, NoVideoDriverMeansNoOneCanAnswer)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process, video not started
    EXPECT_EXIT(
        {
            setenv("SDL_VIDEODRIVER", "no_such_driver", 1);
            unsetenv("KELDA_UNATTENDED");
            bool answered = MessageBoxA(nullptr, "File Not Found", "kelda.kvd", MB_OK) == IDOK;
            std::exit(answered && PlatformIsUnattended() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "kelda.kvd: File Not Found\n");
}
