#include "demo_data_directory.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

std::string RepositoryDataFolder()
{
    // This file lives in <repository>/tests/effects.
    return (fs::path(__FILE__).parent_path().parent_path().parent_path() / "data").string();
}

DemoDataDirectory::DemoDataDirectory()
{
    Enter();
    std::error_code error;
    fs::create_directory_symlink(RepositoryDataFolder(), fs::path(folder_) / "data", error);
    ok_ = ok_ && !error;
}

DemoDataDirectory::DemoDataDirectory(std::initializer_list<const char*> files)
{
    Enter();
    std::error_code error;
    const fs::path data = fs::path(folder_) / "data";
    fs::create_directory(data, error);
    for (const char* file : files) {
        if (!error)
            fs::create_symlink(fs::path(RepositoryDataFolder()) / file, data / file, error);
    }
    ok_ = ok_ && !error;
}

void DemoDataDirectory::Enter()
{
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof cwd))
        return;
    saved_ = cwd;
    std::string pattern = (fs::temp_directory_path() / "kelda_effect_XXXXXX").string();
    if (!mkdtemp(&pattern[0]))
        return;
    folder_ = pattern;
    ok_ = chdir(folder_.c_str()) == 0;
}

DemoDataDirectory::~DemoDataDirectory()
{
    if (!saved_.empty() && chdir(saved_.c_str()) != 0)
        abort();  // every later test would run in the wrong folder
    if (!folder_.empty()) {
        std::error_code error;
        fs::remove_all(folder_, error);  // links only, never their targets
    }
}
