#include "script_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <limits.h>
#include <unistd.h>

#include "kvd_timeline.h"
#include "orvan_core.h"
#include "script_event.h"

ScriptFolder::ScriptFolder()
{
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd))
        savedCwd_ = cwd;
    char name[] = "/tmp/kelda_script_XXXXXX";
    if (!mkdtemp(name)) {
        ADD_FAILURE() << "cannot create a temporary folder";
        return;
    }
    path_ = name;
    if (chdir(path_.c_str()) != 0)
        ADD_FAILURE() << "cannot enter " << path_;
}

ScriptFolder::~ScriptFolder()
{
    if (!savedCwd_.empty() && chdir(savedCwd_.c_str()) != 0)
        ADD_FAILURE() << "cannot go back to " << savedCwd_;
    if (path_.empty())
        return;
    if (DIR* dir = opendir(path_.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string leaf = entry->d_name;
            if (leaf != "." && leaf != "..")
                unlink((path_ + "/" + leaf).c_str());
        }
        closedir(dir);
    }
    rmdir(path_.c_str());
}

void ScriptFolder::WriteTimeline(const std::string& text)
{
    std::vector<KvdEvent> events;
    std::string error;
    ASSERT_TRUE(ParseKvdTimeline(text, events, error)) << error;
    WriteBytes(EncodeKvdFile(events));
}

void ScriptFolder::WriteBytes(const std::string& bytes)
{
    std::string error;
    ASSERT_TRUE(WriteKvdBytes(path_ + "/kelda.kvd", bytes, error)) << error;
}

void EnsureLog()
{
    if (!g_core)
        Orvan_Core_Begin();
}

void ClearScriptEvents()
{
    for (ScriptEvent* event : g_scriptEvents)
        delete event;
    g_scriptEvents.clear();
}

RecorderHost::RecorderHost() {}

RecorderHost::~RecorderHost()
{
    for (Orvan_Plugin* plugin : host.plugins)
        delete plugin;
}

RecorderPlugin* RecorderHost::Load(const char* file)
{
    size_t before = host.plugins.size();
    host.LoadPlugin(file);
    if (host.plugins.size() != before + 1) {
        ADD_FAILURE() << file << " did not load";
        return nullptr;
    }
    return static_cast<RecorderPlugin*>(host.plugins.back());
}
