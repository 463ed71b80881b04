// The host's loader on Windows: LoadLibrary/GetProcAddress, and structured exceptions caught as a
// host written in C would with __try/__except. MinGW g++ has no __try, so a vectored handler,
// armed only around the guarded call, records the exception and jumps back into GuardedCall.
#include <windows.h>

#include <string>

#include "funcplug/host_abi.h"
#include "host/loader.h"
#include "host/status.h"
#include "rodived/x87.h"

namespace host {

namespace {
HMODULE plugin = nullptr;
std::string plugin_path;

void* jump_buffer[5];
volatile bool armed = false;
DWORD guarded_thread = 0;
volatile DWORD caught_code = 0;
volatile uint16_t caught_control_word = 0;
void* volatile caught_object = nullptr;

uint16_t ControlWordOf(const CONTEXT* context) {
#if defined(__x86_64__)
    return context->FltSave.ControlWord;
#else
    return static_cast<uint16_t>(context->FloatSave.ControlWord);
#endif
}

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    if (!armed || GetCurrentThreadId() != guarded_thread) return EXCEPTION_CONTINUE_SEARCH;
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    DWORD code = record->ExceptionCode;
    if (code == funcplug::kModuleExceptionCode && record->NumberParameters > funcplug::kExceptionObjectParameter) {
        caught_object = reinterpret_cast<void*>(record->ExceptionInformation[funcplug::kExceptionObjectParameter]);
    } else if (code >= 0xC0000000u) {
        caught_object = nullptr;
        caught_control_word = ControlWordOf(info->ContextRecord);
    } else {
        return EXCEPTION_CONTINUE_SEARCH;  // informational: debug output and the like
    }
    caught_code = code;
    armed = false;
    __builtin_longjmp(jump_buffer, 1);
}

std::string BesideExecutable(const char* file) {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    if (n == 0 || n == sizeof(path)) return file;
    std::string dir(path, n);
    dir.erase(dir.find_last_of("\\/") + 1);
    return dir + file;
}

__attribute__((noinline)) bool RunGuarded(void (*function)()) {
    if (__builtin_setjmp(jump_buffer) != 0) return false;
    guarded_thread = GetCurrentThreadId();
    armed = true;
    function();
    armed = false;
    return true;
}
}  // namespace

bool LoadPlugin(const std::string& path, std::string& error) {
    plugin_path = path.empty() ? BesideExecutable(sizeof(void*) == 8 ? "funcplug64.dll" : "funcplug.dll") : path;
    plugin = LoadLibraryA(plugin_path.c_str());
    if (plugin == nullptr) {
        error = "cannot load " + plugin_path + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    static PVOID handler = AddVectoredExceptionHandler(1, OnException);
    (void)handler;
    return true;
}

void UnloadPlugin() {
    if (plugin != nullptr) FreeLibrary(plugin);
    plugin = nullptr;
}

bool ReloadPlugin(std::string& error) {
    UnloadPlugin();
    return LoadPlugin(plugin_path, error);
}

void* FindExport(const char* name) {
    return plugin == nullptr ? nullptr : reinterpret_cast<void*>(GetProcAddress(plugin, name));
}

CallResult GuardedCall(void (*function)(), uint16_t control_word) {
    CallResult result;
    x87::fnclex();
    x87::fldcw(control_word);
    if (RunGuarded(function)) {
        result.control_word = x87::fnstcw();
        return result;
    }
    if (caught_code == funcplug::kModuleExceptionCode) {
        result.control_word = x87::fnstcw();
        result.outcome = Outcome::kModuleException;
        auto* object = static_cast<const funcplug::ExceptionLayout*>(caught_object);
        result.kind = object->Kind;
        result.message = object->Message != nullptr ? object->Message : "";
        funcplug::DestroyException(object);
        return result;
    }
    result.outcome = Outcome::kFault;
    result.fault_code = caught_code;
    result.control_word = caught_control_word;
    x87::fninit();
    return result;
}

}  // namespace host
