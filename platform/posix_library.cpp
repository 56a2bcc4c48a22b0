#include <dlfcn.h>
#include <limits.h>
#include <strings.h>
#include <unistd.h>

#include <string>

#include "elf_image_check.h"
#include "host_path.h"
#include "win_library.h"
#include "win_window.h"

namespace {

// "name.DLL" (any case) names the shared library "name.so".
std::string SharedLibraryName(const char* fileName)
{
    std::string name = PosixPath(fileName);
    const std::string::size_type n = name.size();
    if (n > 4 && strcasecmp(name.c_str() + n - 4, ".dll") == 0)
        name.replace(n - 4, 4, ".so");
    return name;
}

std::string ExecutableFolder()
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return std::string();
    std::string folder(path, static_cast<size_t>(length));
    return folder.substr(0, folder.rfind('/') + 1);
}

std::string WorkingFolder()
{
    char path[PATH_MAX];
    if (!getcwd(path, sizeof path))
        return std::string();
    return std::string(path) + "/";
}

// The first existing file on the search path; dlopen is always handed a path
// with a slash, so its own search (LD_LIBRARY_PATH, the system folders) never
// takes part.
std::string Locate(const std::string& name)
{
    if (name.empty())
        return std::string();
    if (name[0] == '/')
        return access(name.c_str(), F_OK) == 0 ? name : std::string();
    for (const std::string& folder : {ExecutableFolder(), WorkingFolder()}) {
        if (folder.empty())
            continue;
        std::string path = folder + name;
        if (access(path.c_str(), F_OK) == 0)
            return path;
    }
    return std::string();
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR fileName)
{
    std::string path = Locate(SharedLibraryName(fileName));
    // A file that does not hold what its headers declare fails here rather
    // than fault inside dlopen; one changed between the check and dlopen is
    // not guarded against.
    if (path.empty() || !IsWholeElfSharedObject(path))
        return nullptr;
    return static_cast<HMODULE>(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL));
}

FARPROC GetProcAddress(HMODULE module, LPCSTR procName)
{
    if (!module || !procName)
        return nullptr;
    return reinterpret_cast<FARPROC>(dlsym(module, procName));
}

// Only the executable's own handle is asked for.
HMODULE GetModuleHandleA(LPCSTR moduleName)
{
    if (moduleName)
        return nullptr;
    static void* const executable = dlopen(nullptr, RTLD_NOW);
    return static_cast<HMODULE>(executable);
}
