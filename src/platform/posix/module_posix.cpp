// Load and unload of the shared library: the units' start-up and shut-down, in order and in
// reverse.
#include "PluginAPI/PluginAPI.h"
#include "pfunc/frame.h"

namespace {

__attribute__((destructor)) void FinalizeUnits() {
    pfunc::frame::Finalize();
    PluginAPI::Finalize();
}

}  // namespace
