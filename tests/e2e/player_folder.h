// A throw-away folder laid out as the player expects to find its world:
// the player itself with the chosen plugin libraries beside it (it loads
// plugins from its own folder first), kelda.kvd and data/mellot.mp3.
#pragma once

#include <string>
#include <vector>

class PlayerFolder {
public:
    PlayerFolder();   // an empty folder under the temp directory
    ~PlayerFolder();  // removes it with everything in it
    PlayerFolder(const PlayerFolder&) = delete;
    PlayerFolder& operator=(const PlayerFolder&) = delete;

    const std::string& Path() const { return path_; }

    // Copies the built player into the folder.
    bool AddPlayer();
    // Copies <name>.so from the build's output folder; false when missing.
    bool AddPlugin(const std::string& name);
    // Writes kelda.kvd from a text timeline with the project's kvd_make.
    bool WriteScript(const std::string& timeline);
    // A generated MP3 of the given length as data/mellot.mp3.
    bool WriteSoundtrack(int milliseconds);
    // Any bytes as the file at relative path (folders made as needed).
    bool WriteFile(const std::string& relative, const std::string& bytes);
    bool MakeFolder(const std::string& relative);

    std::string PlayerPath() const { return path_ + "/kelda"; }

private:
    std::string path_;
};

// The plugin libraries delivered with the player that this build made.
std::vector<std::string> BuiltDeliveredPlugins();

// Links every entry of the project's data folder but the tools into
// folder/data, so the effects find their pictures; the bundled soundtrack
// only when asked for.
bool LinkProjectData(PlayerFolder& folder, bool withSoundtrack = false);

// The bundled demo's script as folder/kelda.kvd.
bool CopyProjectScript(PlayerFolder& folder);
