// The committed kelda.kvd is exactly what kvd_make makes of the committed
// timeline, so the two never drift apart.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "data_paths.h"
#include "file_contents.h"

TEST(Timeline, CompilesToTheCommittedScript)
{
    char folder[] = "/tmp/kelda_data_test_XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    std::string out = std::string(folder) + "/kelda.kvd";
    std::string command = "'" + KvdMakePath() + "' '" + DataPath("kelda.timeline") + "' '" + out + "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    std::string made = FileContents(out);
    std::string committed = FileContents(DataPath("kelda.kvd"));
    std::remove(out.c_str());
    std::remove(folder);
    ASSERT_FALSE(made.empty());
    EXPECT_EQ(made.size(), committed.size());
    EXPECT_TRUE(made == committed) << "data/kelda.kvd is stale: run data/tools/regenerate.sh";
}
