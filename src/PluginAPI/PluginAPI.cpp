#include "PluginAPI/PluginAPI.h"

#include <cstring>

#include "err/failure.h"
#include "err/maps.h"

namespace PluginAPI {

runtime::Text FileText;
runtime::Text PathText;
void* DataPtr = nullptr;

const char kCopyrightText[] = "Copyright (c) 2026 Veltrano. funcplug function plug-in.";
const char kShortInfoText[] = "Veltrano Brisk_addon";
// Six lines joined by CR LF; the first letter of the last line is the Latin C (0x43).
const char kInfoText[] =
    "Veltrano test Brisk_addon:Row_Panel\r\n"
    "\xD1\xEC\xEE\xF2\xF0\xE8 \xEE\xEF\xE8\xF1\xE0\xED\xE8\xE5 \xED\xE0 \xF1\xE0\xE9\xF2\xE5\r\n"
    "Look the description at a site\r\n"
    "          https://veltrano.example/funcplug\r\n"
    "WRITTEN BY MARTA KOVAL, VELTRANO.\r\n"
    "C"
    "\xEF\xE5\xF6. \xEF\xEB\xE0\xE3\xE8\xED \xE4\xEB\xFF"
    " Kestoniva";

void Finalize() {
    FileText.Release();
    PathText.Release();
}

namespace {
// The host's characters up to the first NUL; null reads as the empty text.
void CopyHostText(runtime::Text& target, const char* text, const void* caller) {
    std::size_t length = text == nullptr ? 0 : std::strlen(text);
    if (!target.Assign(text == nullptr ? "" : text, length))
        err::RunError(err::runtime_error::kOutOfMemory, caller);
}
}  // namespace

}  // namespace PluginAPI

using namespace PluginAPI;

FUNCPLUG_API void Settings() {}
FUNCPLUG_API const char* Copyright() { return kCopyrightText; }
FUNCPLUG_API const char* GetShortInfo() { return kShortInfoText; }
FUNCPLUG_API const char* GetInfo() { return kInfoText; }
FUNCPLUG_API int32_t GetType() { return 0; }
FUNCPLUG_API void SetParentWindow() {}
FUNCPLUG_API void Draw() {}
FUNCPLUG_API void SetPath(const char* text) { CopyHostText(PathText, text, __builtin_return_address(0)); }
FUNCPLUG_API void SetFile(const char* text) { CopyHostText(FileText, text, __builtin_return_address(0)); }
FUNCPLUG_API const char* GetFile() { return FileText.Chars(); }
FUNCPLUG_API void SetData(void* value) { DataPtr = value; }
FUNCPLUG_API void* GetData() { return DataPtr; }
