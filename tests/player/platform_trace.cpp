#include "platform_trace.h"

#include <cstdint>
#include <initializer_list>
#include <utility>

#include "fsound.h"
#include "win_console.h"
#include "win_time.h"
#include "win_window.h"

namespace {

bool s_recording = false;
std::vector<PlatformCall> s_calls;

const size_t kNotRecorded = static_cast<size_t>(-1);

// The index of the new record, or kNotRecorded while recording is off.
size_t Record(const char* name, std::initializer_list<long long> args)
{
    if (!s_recording)
        return kNotRecorded;
    PlatformCall call;
    call.name = name;
    call.args.assign(args.begin(), args.end());
    s_calls.push_back(call);
    return s_calls.size() - 1;
}

void SetResult(size_t index, long long result)
{
    if (index < s_calls.size())
        s_calls[index].result = result;
}

void SetText(size_t index, std::string text)
{
    if (index < s_calls.size())
        s_calls[index].text = std::move(text);
}

long long Given(const void* pointer) { return pointer ? 1 : 0; }

long long Address(const void* pointer)
{
    return static_cast<long long>(reinterpret_cast<intptr_t>(pointer));
}

}  // namespace

void PlatformTraceStart()
{
    s_calls.clear();
    s_recording = true;
}

void PlatformTraceStop() { s_recording = false; }

const std::vector<PlatformCall>& PlatformTraceCalls() { return s_calls; }

std::vector<std::string> PlatformTraceNames()
{
    std::vector<std::string> names;
    for (const PlatformCall& call : s_calls)
        names.push_back(call.name);
    return names;
}

// Each wrapper takes the linker's name for the wrapped function (the mangled
// name behind __wrap_ and __real_), records, and forwards.
#define PLATFORM_TRACE_PAIR(ret, mangled, params) \
    ret Real##mangled params __asm__("__real_" #mangled); \
    ret Wrap##mangled params __asm__("__wrap_" #mangled)

PLATFORM_TRACE_PAIR(void, _Z5Sleepj, (DWORD));
void Wrap_Z5Sleepj(DWORD milliseconds)
{
    Record("Sleep", {milliseconds});
    Real_Z5Sleepj(milliseconds);
}

PLATFORM_TRACE_PAIR(BOOL, _Z11SwapBuffersP5HDC__, (HDC));
BOOL Wrap_Z11SwapBuffersP5HDC__(HDC dc)
{
    const size_t call = Record("SwapBuffers", {Given(dc)});
    const BOOL result = Real_Z11SwapBuffersP5HDC__(dc);
    SetResult(call, result);
    return result;
}

PLATFORM_TRACE_PAIR(BOOL, _Z23QueryPerformanceCounterP13LARGE_INTEGER, (LARGE_INTEGER*));
BOOL Wrap_Z23QueryPerformanceCounterP13LARGE_INTEGER(LARGE_INTEGER* count)
{
    Record("QueryPerformanceCounter", {});
    return Real_Z23QueryPerformanceCounterP13LARGE_INTEGER(count);
}

PLATFORM_TRACE_PAIR(BOOL, _Z12PeekMessageAP3MSGP6HWND__jjj, (MSG*, HWND, UINT, UINT, UINT));
BOOL Wrap_Z12PeekMessageAP3MSGP6HWND__jjj(MSG* msg, HWND window, UINT first, UINT last,
                                          UINT remove)
{
    const size_t call = Record("PeekMessageA", {Given(window), first, last, remove});
    const BOOL result = Real_Z12PeekMessageAP3MSGP6HWND__jjj(msg, window, first, last, remove);
    SetResult(call, result);
    return result;
}

PLATFORM_TRACE_PAIR(BOOL, _Z16TranslateMessagePK3MSG, (const MSG*));
BOOL Wrap_Z16TranslateMessagePK3MSG(const MSG* msg)
{
    Record("TranslateMessage", {msg ? static_cast<long long>(msg->message) : -1});
    return Real_Z16TranslateMessagePK3MSG(msg);
}

PLATFORM_TRACE_PAIR(LRESULT, _Z16DispatchMessageAPK3MSG, (const MSG*));
LRESULT Wrap_Z16DispatchMessageAPK3MSG(const MSG* msg)
{
    Record("DispatchMessageA", {msg ? static_cast<long long>(msg->message) : -1});
    return Real_Z16DispatchMessageAPK3MSG(msg);
}

PLATFORM_TRACE_PAIR(BOOL, _Z14SetWindowTextAP6HWND__PKc, (HWND, LPCSTR));
BOOL Wrap_Z14SetWindowTextAP6HWND__PKc(HWND window, LPCSTR text)
{
    SetText(Record("SetWindowTextA", {Given(window)}), text ? text : "");
    return Real_Z14SetWindowTextAP6HWND__PKc(window, text);
}

PLATFORM_TRACE_PAIR(int, _Z10ShowCursori, (BOOL));
int Wrap_Z10ShowCursori(BOOL show)
{
    const size_t call = Record("ShowCursor", {show});
    const int result = Real_Z10ShowCursori(show);
    SetResult(call, result);
    return result;
}

PLATFORM_TRACE_PAIR(LONG, _Z22ChangeDisplaySettingsAP8DEVMODEAj, (DEVMODEA*, DWORD));
LONG Wrap_Z22ChangeDisplaySettingsAP8DEVMODEAj(DEVMODEA* mode, DWORD flags)
{
    Record("ChangeDisplaySettingsA", {Given(mode), flags});
    return Real_Z22ChangeDisplaySettingsAP8DEVMODEAj(mode, flags);
}

PLATFORM_TRACE_PAIR(BOOL, _Z13WriteConsoleAPvPKvjPjS_, (HANDLE, const void*, DWORD, DWORD*, LPVOID));
BOOL Wrap_Z13WriteConsoleAPvPKvjPjS_(HANDLE console, const void* text, DWORD count,
                                     DWORD* written, LPVOID reserved)
{
    SetText(Record("WriteConsoleA", {count}),
            text ? std::string(static_cast<const char*>(text), count) : std::string());
    return Real_Z13WriteConsoleAPvPKvjPjS_(console, text, count, written, reserved);
}

PLATFORM_TRACE_PAIR(signed char, _Z16FSOUND_SetPausedia, (int, signed char));
signed char Wrap_Z16FSOUND_SetPausedia(int channel, signed char paused)
{
    Record("FSOUND_SetPaused", {channel, paused});
    return Real_Z16FSOUND_SetPausedia(channel, paused);
}

PLATFORM_TRACE_PAIR(int, _Z21FSOUND_Stream_GetTimeP13FSOUND_STREAM, (FSOUND_STREAM*));
int Wrap_Z21FSOUND_Stream_GetTimeP13FSOUND_STREAM(FSOUND_STREAM* stream)
{
    const size_t call = Record("FSOUND_Stream_GetTime", {Given(stream)});
    const int result = Real_Z21FSOUND_Stream_GetTimeP13FSOUND_STREAM(stream);
    SetResult(call, result);
    return result;
}

PLATFORM_TRACE_PAIR(ATOM, _Z14RegisterClassAPK9WNDCLASSA, (const WNDCLASSA*));
ATOM Wrap_Z14RegisterClassAPK9WNDCLASSA(const WNDCLASSA* windowClass)
{
    if (windowClass) {
        const WNDCLASSA& c = *windowClass;
        SetText(Record("RegisterClassA",
                       {c.style, Address(reinterpret_cast<const void*>(c.lpfnWndProc)),
                        c.cbClsExtra, c.cbWndExtra, Given(c.hInstance), Given(c.hIcon),
                        Given(c.hCursor), Given(c.hbrBackground), Given(c.lpszMenuName)}),
                c.lpszClassName ? c.lpszClassName : "");
    }
    return Real_Z14RegisterClassAPK9WNDCLASSA(windowClass);
}

PLATFORM_TRACE_PAIR(HWND, _Z15CreateWindowExAjPKcS0_jiiiiP6HWND__P7HMENU__P11HINSTANCE__Pv,
                    (DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE,
                     LPVOID));
HWND Wrap_Z15CreateWindowExAjPKcS0_jiiiiP6HWND__P7HMENU__P11HINSTANCE__Pv(
    DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
    int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param)
{
    // The class name, then the window name, one line each.
    const size_t call = Record("CreateWindowExA", {exStyle, style, x, y, width, height,
                                                   Given(parent), Given(menu), Given(param)});
    SetText(call, std::string(className ? className : "") + "\n" + (windowName ? windowName : ""));
    HWND window = Real_Z15CreateWindowExAjPKcS0_jiiiiP6HWND__P7HMENU__P11HINSTANCE__Pv(
        exStyle, className, windowName, style, x, y, width, height, parent, menu, instance, param);
    SetResult(call, Address(window));
    return window;
}

PLATFORM_TRACE_PAIR(BOOL, _Z10ShowWindowP6HWND__i, (HWND, int));
BOOL Wrap_Z10ShowWindowP6HWND__i(HWND window, int command)
{
    Record("ShowWindow", {Address(window), command});
    return Real_Z10ShowWindowP6HWND__i(window, command);
}

PLATFORM_TRACE_PAIR(BOOL, _Z19SetForegroundWindowP6HWND__, (HWND));
BOOL Wrap_Z19SetForegroundWindowP6HWND__(HWND window)
{
    Record("SetForegroundWindow", {Address(window)});
    return Real_Z19SetForegroundWindowP6HWND__(window);
}

PLATFORM_TRACE_PAIR(HWND, _Z8SetFocusP6HWND__, (HWND));
HWND Wrap_Z8SetFocusP6HWND__(HWND window)
{
    Record("SetFocus", {Address(window)});
    return Real_Z8SetFocusP6HWND__(window);
}

// The host's frame dispatcher and the log core's end.
PLATFORM_TRACE_PAIR(void, _Z18ProcessScriptFramei, (int));
void Wrap_Z18ProcessScriptFramei(int timeMs)
{
    Record("ProcessScriptFrame", {timeMs});
    Real_Z18ProcessScriptFramei(timeMs);
}

PLATFORM_TRACE_PAIR(int, _Z14Orvan_Core_Endv, ());
int Wrap_Z14Orvan_Core_Endv()
{
    Record("Orvan_Core_End", {});
    return Real_Z14Orvan_Core_Endv();
}
