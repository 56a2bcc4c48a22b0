#include "console_lines.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace {

// The thirteen library names the player asks for, in its load order; written
// out here so that a wrong name or order in the player's own list shows.
const char* const kLoadList[] = {
    "zanthe.DLL",  "brulane.DLL", "tessik.DLL", "morvet.DLL",  "sorvel.DLL",
    "quillet.DLL", "pravik.DLL",  "dunmore2.DLL", "sorvel2.DLL", "dunmore.DLL",
    "yastrel.DLL", "nembra.DLL",  "quenfal.DLL",
};

const char* const kNumberedPrefixes[] = {
    "Orvan_Plugin_Host::modh=",
    "Orvan_Plugin_Host::modfunc=",
    "Orvan_Plugin_Host::newplug=",
};

std::string Mask(const std::string& line)
{
    for (const char* prefix : kNumberedPrefixes) {
        const std::string p = prefix;
        if (line.compare(0, p.size(), p) == 0) {
            std::string rest = line.substr(p.size());
            size_t digits = 0;
            if (digits < rest.size() && rest[digits] == '-')
                digits++;
            while (digits < rest.size() && isdigit(static_cast<unsigned char>(rest[digits])))
                digits++;
            if (digits > 0)
                return p + "#" + rest.substr(digits);
        }
    }
    return line;
}

// "zanthe.DLL" -> "zanthe"
std::string Library(const char* file)
{
    std::string name = file;
    return name.substr(0, name.find('.'));
}

}  // namespace

std::vector<std::string> ConsoleLines(const std::string& console)
{
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < console.size()) {
        size_t end = console.find('\n', from);
        if (end == std::string::npos) {
            lines.push_back(Mask(console.substr(from)) + "<no line end>");
            break;
        }
        lines.push_back(Mask(console.substr(from, end - from)));
        from = end + 1;
    }
    return lines;
}

std::vector<std::string> ExpectedStartUp(const std::vector<std::string>& presentPlugins,
                                         bool fullscreenFails)
{
    std::vector<std::string> lines = {
        "Orvan_Core::Orvan_Core() Debug Console Created Successfully",
        "Orvan Demo Player VORNEX",
        "OrvanGL System Created",
        "Registering window class and creating window...",
    };
    if (fullscreenFails)
        lines.push_back("ERROR: Cannot go fullscreen!");
    for (const char* line : {
             "Existing window bound, about to call initgl",
             "OrvanGL::InitGL() called",
             "InitGL Returned ok, calling ReSizeGL",
             "ResizeGL returned ok, calling showwindow",
             "Creating GL Texture Pool...",
             "Creating RTT Targets...",
             "Creating Plugin Host...",
             "Orvan_Plugin_Host::Orvan Plugin Host Created",
             "Loading Effect Plugins...",
         })
        lines.push_back(line);
    for (const char* file : kLoadList) {
        lines.push_back(std::string("Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin(\"") + file +
                        "\")");
        const bool present = std::find(presentPlugins.begin(), presentPlugins.end(),
                                       Library(file)) != presentPlugins.end();
        if (!present) {
            lines.push_back("Orvan_Plugin_Host::Orvan Plugin Host - LoadPlugin() ERROR - LoadLibrary Failed!");
            continue;
        }
        lines.push_back("Orvan_Plugin_Host::modh=#");
        lines.push_back("Orvan_Plugin_Host::modfunc=#");
        lines.push_back("Orvan_Plugin_Host::newplug=#");
        lines.push_back("Orvan_Plugin_Host:: assigning host to plugin...ok");
        lines.push_back("Orvan_Plugin_Host:: Pushing plugin into plugin list...");
    }
    lines.push_back("Initializing Plugins...");
    lines.push_back("Orvan_Plugin_Host::Orvan Plugin Host - InitAll()");
    return lines;
}

std::string InitMessage(const std::string& plugin)
{
    static const std::map<std::string, std::string> messages = {
        {"zanthe", "plasma plugin initalziation called"},
        {"brulane", "brulane plugin initalziation called"},
        {"tessik", "tessik plugin called"},
        {"morvet", "kimbel plugin initalziation called"},
        {"quillet", "pravik plugin initalziation called"},
        {"pravik", "pravik plugin initalziation called"},
        {"dunmore2", "blur plugin initalziation called"},
        {"sorvel2", "sorvels 2 plugin initalziation called"},
    };
    auto found = messages.find(plugin);
    return found == messages.end() ? std::string() : "debug:[" + found->second + "]";
}

std::vector<std::string> ExpectedScriptAndSound()
{
    return {
        "Loading and post-processing demo script...",
        "Post Processing Script....",
        "Starting FMOD and Loading Sountrack...",
        "Starting Global Timer...",
        "entering mainloop",
    };
}

std::vector<std::string> ExpectedShutdown()
{
    return {
        "mainloop exited",
        "Destroying Plugin Host...",
        "Orvan_Plugin_Host::Orvan Plugin Host Destroyed",
        "OrvanGL System Destroyed",
    };
}

const std::vector<std::string>& DeliveredPlugins()
{
    static const std::vector<std::string> names = {"zanthe", "brulane", "tessik", "morvet",
                                                   "quillet", "pravik", "dunmore2", "sorvel2"};
    return names;
}

const std::vector<std::string>& UndeliveredPlugins()
{
    static const std::vector<std::string> names = {"sorvel", "dunmore", "yastrel", "nembra",
                                                   "quenfal"};
    return names;
}
