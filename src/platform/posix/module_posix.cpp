// Load and unload of the shared library: the units' start-up and shut-down, in order and in
// reverse.
//
// Start-up runs under a top-level handler: a module exception that escapes it is shown through
// the unhandled-exception hook, which halts the process with exit code 1 (a shared object has no
// way to make dlopen fail from its constructor).
#include "PluginAPI/PluginAPI.h"
#include "err/controlword.h"
#include "err/failure.h"
#include "funcplug/host_abi.h"
#include "pfunc/frame.h"

namespace {

void RunUnderTopLevelHandler(void (*units)()) {
    try {
        units();
    } catch (const funcplug::ModuleRaise& raise) {
        err::ResetFpu();
        auto* object = reinterpret_cast<err::Exception*>(raise.parameters[funcplug::kExceptionObjectParameter]);
        const void* address = reinterpret_cast<const void*>(raise.parameters[funcplug::kRaiseAddressParameter]);
        if (err::Hooks.ExceptProc != nullptr) err::Hooks.ExceptProc(object, address);
        err::ShowAndHalt(object, address);
    }
}

void InitializeUnitsInOrder() { err::InstallHooks(); }

void FinalizeUnitsInReverse() {
    pfunc::frame::Finalize();
    PluginAPI::Finalize();
    err::RemoveHooks();
}

__attribute__((constructor)) void InitializeUnits() {
    err::RecordControlWord();
    err::StartUpFpu();
    RunUnderTopLevelHandler(InitializeUnitsInOrder);
}

__attribute__((destructor)) void FinalizeUnits() {
    err::RecordControlWord();
    RunUnderTopLevelHandler(FinalizeUnitsInReverse);
}

}  // namespace
