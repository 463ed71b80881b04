// The plug-in's exports as the tests call them: linked in, by their exported names.
#pragma once

#include <cstdint>
#include <string>

#include "PluginAPI/PluginAPI.h"
#include "host/loader.h"
#include "pfunc/catalogue.h"
#include "pfunc/frame.h"
#include "platform/platform.h"
#include "rodived/x87.h"
#include "support/fpu.h"

#define FUNCPLUG_TEST_DECLARE_EXPORT(name, ...) extern "C" void name();
FUNCPLUG_CATALOGUE(FUNCPLUG_TEST_DECLARE_EXPORT)
#undef FUNCPLUG_TEST_DECLARE_EXPORT

namespace testing_support {

constexpr uint16_t kHostControlWord = 0x1372;  // invalid, zero divide, overflow unmasked

// SetFile(text), the export under the control word, and what became of it.
struct ExportCall {
    host::CallResult raised;
    std::string file_text;
};

inline ExportCall CallExport(void (*function)(), const std::string& text, uint16_t control_word = kHostControlWord) {
    SetFile(text.c_str());
    ExportCall call{host::GuardedCall(function, control_word), GetFile()};
    x87::fnclex();
    x87::fldcw(0x037F);
    return call;
}

}  // namespace testing_support
