// Test helpers for the demo script: a working folder holding a kelda.kvd,
// and a plugin host filled with recorder plugins.
#pragma once

#include <string>
#include <vector>

#include "orvan_plugin_host.h"
#include "recorder_plugin.h"

// A fresh folder that is the working directory for as long as the object
// lives; it is removed with whatever was written into it.
class ScriptFolder {
public:
    ScriptFolder();
    ~ScriptFolder();
    ScriptFolder(const ScriptFolder&) = delete;
    ScriptFolder& operator=(const ScriptFolder&) = delete;

    // Writes kelda.kvd from a text timeline through the script tool's own
    // conversion; a malformed line fails the test.
    void WriteTimeline(const std::string& text);
    // Writes kelda.kvd as given, for files the tool would refuse to make.
    void WriteBytes(const std::string& bytes);

    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string savedCwd_;
};

// Starts the log once per process, so its lines reach standard output.
void EnsureLog();

// Empties g_scriptEvents and frees its records.
void ClearScriptEvents();

// A plugin host whose plugins are recorder libraries; deletes the plugins
// (through their own destructors) when it goes.
class RecorderHost {
public:
    RecorderHost();
    ~RecorderHost();

    // Loads a recorder library through the host; fails the test if it does
    // not load. The result is the plugin, read through its shared class.
    RecorderPlugin* Load(const char* file);

private:
    // The host logs from its constructor: the log starts first.
    struct LogStarted {
        LogStarted() { EnsureLog(); }
    } logStarted_;

public:
    Orvan_Plugin_Host host;
};
