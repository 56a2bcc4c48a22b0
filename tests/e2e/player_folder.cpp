#include "player_folder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "mp3_writer.h"

namespace fs = std::filesystem;

namespace {

bool CopyExecutable(const std::string& from, const std::string& to)
{
    std::error_code error;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    if (error)
        return false;
    fs::permissions(to, fs::perms::owner_all, fs::perm_options::add, error);
    return !error;
}

// Runs argv to its end with its output discarded; true on status 0.
bool RunTool(const std::vector<std::string>& argv)
{
    pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        int sink = open("/dev/null", O_WRONLY);
        if (sink >= 0)
            dup2(sink, 1);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

PlayerFolder::PlayerFolder()
{
    std::string pattern = (fs::temp_directory_path() / "kelda-e2e-XXXXXX").string();
    if (mkdtemp(&pattern[0]))
        path_ = pattern;
}

PlayerFolder::~PlayerFolder()
{
    if (!path_.empty()) {
        std::error_code error;
        fs::remove_all(path_, error);
    }
}

bool PlayerFolder::AddPlayer()
{
    return !path_.empty() && CopyExecutable(KELDA_PLAYER, PlayerPath());
}

bool PlayerFolder::AddPlugin(const std::string& name)
{
    const std::string file = name + ".so";
    return CopyExecutable(std::string(KELDA_BIN_DIR) + "/" + file, path_ + "/" + file);
}

bool PlayerFolder::WriteScript(const std::string& timeline)
{
    const std::string text = path_ + "/timeline.txt";
    return WriteFile("timeline.txt", timeline) &&
           RunTool({KVD_MAKE, text, path_ + "/kelda.kvd"});
}

bool PlayerFolder::WriteSoundtrack(int milliseconds)
{
    const long frames = long(milliseconds) * 44100 / 1000;
    std::vector<unsigned char> image = EncodeMp3(MakeTone(44100, 2, frames, 440.0, 0.2));
    return !image.empty() && MakeFolder("data") &&
           WriteMp3File(path_ + "/data/mellot.mp3", image);
}

bool PlayerFolder::WriteFile(const std::string& relative, const std::string& bytes)
{
    const fs::path file = fs::path(path_) / relative;
    std::error_code error;
    fs::create_directories(file.parent_path(), error);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    return bool(out.flush());
}

bool PlayerFolder::MakeFolder(const std::string& relative)
{
    std::error_code error;
    fs::create_directories(fs::path(path_) / relative, error);
    return !error;
}

std::vector<std::string> BuiltDeliveredPlugins()
{
    std::vector<std::string> names;
    std::istringstream list(KELDA_BUILT_PLUGINS);
    std::string name;
    while (std::getline(list, name, ';'))
        if (!name.empty())
            names.push_back(name);
    return names;
}

bool LinkProjectData(PlayerFolder& folder, bool withSoundtrack)
{
    if (!folder.MakeFolder("data"))
        return false;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(KELDA_DATA_DIR, error)) {
        const std::string name = entry.path().filename().string();
        if (name == "tools" || name == "CMakeLists.txt" || (name == "mellot.mp3" && !withSoundtrack))
            continue;
        fs::create_symlink(entry.path(), fs::path(folder.Path()) / "data" / name, error);
        if (error)
            return false;
    }
    return !error;
}

bool CopyProjectScript(PlayerFolder& folder)
{
    std::error_code error;
    fs::copy_file(fs::path(KELDA_DATA_DIR) / "kelda.kvd", fs::path(folder.Path()) / "kelda.kvd",
                  fs::copy_options::overwrite_existing, error);
    return !error;
}
