// Runs a test from a fresh folder whose data/ holds the bundled pictures, as
// the player runs from its staging folder: effects open "data//name.jpg"
// relative to the working directory. The earlier working directory comes back
// at the end.
#pragma once

#include <initializer_list>
#include <string>

class DemoDataDirectory {
public:
    // data/ is the repository's data folder itself.
    DemoDataDirectory();
    // data/ is a folder of its own holding links to these files only.
    explicit DemoDataDirectory(std::initializer_list<const char*> files);
    ~DemoDataDirectory();
    DemoDataDirectory(const DemoDataDirectory&) = delete;
    DemoDataDirectory& operator=(const DemoDataDirectory&) = delete;

    bool ok() const { return ok_; }

private:
    void Enter();

    std::string saved_;
    std::string folder_;
    bool ok_ = false;
};

// The repository's data folder.
std::string RepositoryDataFolder();
