#include <map>
#include <string>

#include "win_handles.h"

namespace {

struct RegisteredClass {
    WNDCLASSA windowClass;
    std::string name;  // owns the name windowClass.lpszClassName points to
};

std::map<std::string, RegisteredClass>& Classes()
{
    static std::map<std::string, RegisteredClass> classes;
    return classes;
}

}  // namespace

ATOM RegisterClassA(const WNDCLASSA* windowClass)
{
    if (!windowClass || !windowClass->lpszClassName || !windowClass->lpfnWndProc)
        return 0;
    std::string name = windowClass->lpszClassName;
    if (name.empty() || Classes().count(name))
        return 0;
    RegisteredClass& entry = Classes()[name];
    entry.windowClass = *windowClass;
    entry.name = name;
    entry.windowClass.lpszClassName = entry.name.c_str();
    entry.windowClass.lpszMenuName = nullptr;
    // Atoms start where Windows starts its string atoms.
    return static_cast<ATOM>(0xC000 + Classes().size() - 1);
}

const WNDCLASSA* PlatformFindClass(const char* className)
{
    if (!className)
        return nullptr;
    auto found = Classes().find(className);
    return found == Classes().end() ? nullptr : &found->second.windowClass;
}
