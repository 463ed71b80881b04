// DllMain: the control word at every loader notification, the units' start-up and shut-down, and
// the top-level handler around them.
//
// The top-level handler exists only while a notification runs the units. MinGW g++ has no __try,
// so it is a vectored handler armed for the notifying thread plus a jump back into the
// notification: an exception there is unwound to the notification, the unit is reset, and the
// unhandled-exception hook runs; its halt ends the notification with FALSE, so a failing start-up
// fails the load.
#include <windows.h>

#include "PluginAPI/PluginAPI.h"
#include "err/controlword.h"
#include "err/failure.h"
#include "funcplug/host_abi.h"
#include "pfunc/frame.h"
#include "platform/platform.h"

namespace {

void InitializeUnitsInOrder() { err::InstallHooks(); }

void FinalizeUnitsInReverse() {
    pfunc::frame::Finalize();
    PluginAPI::Finalize();
    err::RemoveHooks();
}

// ---- top-level handler --------------------------------------------------------------------------

enum class Landing { kNone, kException, kHalt };

void* jump_buffer[5];
volatile bool handler_armed = false;
volatile bool in_notification = false;
DWORD notifying_thread = 0;
volatile Landing landing = Landing::kNone;
err::OsExceptionRecord caught;

LONG CALLBACK TopLevelHandler(EXCEPTION_POINTERS* info) {
    if (!handler_armed || GetCurrentThreadId() != notifying_thread) return EXCEPTION_CONTINUE_SEARCH;
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    // Informational codes (debug output, C++ exceptions on their way to a catch) are not failures.
    if (record->ExceptionCode != funcplug::kModuleExceptionCode && record->ExceptionCode < 0xC0000000u)
        return EXCEPTION_CONTINUE_SEARCH;
    if (!IsDebuggerPresent() && UnhandledExceptionFilter(info) == EXCEPTION_CONTINUE_SEARCH)
        return EXCEPTION_CONTINUE_SEARCH;
    caught = *reinterpret_cast<const err::OsExceptionRecord*>(record);
    caught.ExceptionRecord = nullptr;
    handler_armed = false;
    landing = Landing::kException;
    __builtin_longjmp(jump_buffer, 1);
}

// Runs `step` with the jump armed; false when it was left by an exception or a halt.
__attribute__((noinline)) bool RunJumpable(void (*step)(), bool armed) {
    landing = Landing::kNone;
    if (__builtin_setjmp(jump_buffer) != 0) return false;
    handler_armed = armed;
    step();
    handler_armed = false;
    return true;
}

err::Exception* caught_object;
const void* caught_address;
void RunExceptProc() {
    if (err::Hooks.ExceptProc != nullptr) err::Hooks.ExceptProc(caught_object, caught_address);
    platform::Halt(1);
}

BOOL RunNotification(void (*units)()) {
    notifying_thread = GetCurrentThreadId();
    in_notification = true;
    PVOID handler = AddVectoredExceptionHandler(1, TopLevelHandler);
    bool completed = RunJumpable(units, handler != nullptr);
    if (handler != nullptr) RemoveVectoredExceptionHandler(handler);
    if (!completed && landing == Landing::kException) {
        err::ResetFpu();
        if (caught.ExceptionCode == funcplug::kModuleExceptionCode) {
            caught_object = reinterpret_cast<err::Exception*>(caught.ExceptionInformation[1]);
            caught_address = reinterpret_cast<const void*>(caught.ExceptionInformation[0]);
        } else {
            caught_object = err::Hooks.ExceptObjProc != nullptr ? err::Hooks.ExceptObjProc(&caught) : nullptr;
            caught_address = caught.ExceptionAddress;
        }
        RunJumpable(RunExceptProc, false);
    }
    in_notification = false;
    return completed ? TRUE : FALSE;
}

}  // namespace

namespace platform {

// Inside a loader notification the module stops by failing the notification; elsewhere the
// process ends.
void Halt(int exit_code) {
    if (in_notification) {
        handler_armed = false;
        landing = Landing::kHalt;
        __builtin_longjmp(jump_buffer, 1);
    }
    ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace platform

// The C run-time's start-up (static constructors of the C++ library) runs before this and leaves
// the x87 unit alone, so the word recorded here is still the loading thread's own.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    err::RecordControlWord();
    switch (reason) {
        case DLL_PROCESS_ATTACH:
            err::StartUpFpu();
            return RunNotification(InitializeUnitsInOrder);
        case DLL_PROCESS_DETACH: return RunNotification(FinalizeUnitsInReverse);
        default: return TRUE;
    }
}
