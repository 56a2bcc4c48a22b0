// The plugin interface: the contract between the player and every effect
// library. The host calls these operations by their position in the table, so
// the slot order is fixed and shared by all separately built libraries.
#pragma once

class Orvan_Plugin_Host;

class Orvan_Plugin {
public:
    Orvan_Plugin() {}

    virtual void Render(float time) = 0;                                  // slot 0
    virtual void Init() = 0;                                              // slot 1
    virtual int Trigger(float time, int id, int value, int reserved) = 0;  // slot 2
    virtual int Reserved3() = 0;                                          // slot 3
    virtual int SetHost(Orvan_Plugin_Host* host) = 0;                     // slot 4
    virtual int Reserved5(int a, int b) = 0;                              // slot 5
    virtual int Reserved6(int a) = 0;                                     // slot 6
    // out is the caller's buffer; the host's holds 5000 bytes.
    virtual int GetName(char* out) = 0;                                   // slot 7
    virtual ~Orvan_Plugin() {}                                            // slot 8
};

// The one function a plugin library exports.
extern "C" Orvan_Plugin* NewPlugin();
typedef Orvan_Plugin* (*NewPluginFunction)();
