// How the command-line host loads the plug-in and calls into it, one implementation per platform.
#pragma once

#include <cstdint>
#include <string>

namespace host {

// Loads the plug-in from `path` (empty: the one built beside the host). On false, `error` says why.
bool LoadPlugin(const std::string& path, std::string& error);
void UnloadPlugin();
// The address of an export by its name, or null.
void* FindExport(const char* name);

enum class Outcome { kReturned, kModuleException, kFault };

struct CallResult {
    Outcome outcome = Outcome::kReturned;
    uint8_t kind = 0;          // module exception: the object's Kind
    std::string message;       // module exception: the object's Message
    uint32_t fault_code = 0;   // fault: the Windows status code
    uint16_t control_word = 0; // after the call, or at the fault
};

// Calls `function` with the x87 control word `control_word` loaded (flags cleared first), and
// survives whatever it raises: a module exception (whose object is read and destroyed) or a fault.
CallResult GuardedCall(void (*function)(), uint16_t control_word);

// What the batch's reload means on this platform: unload the plug-in, load it again.
bool ReloadPlugin(std::string& error);

}  // namespace host
