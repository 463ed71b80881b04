// The host-facing shell: the twelve plug-in entry points and the three module globals behind them.
#pragma once

#include <cstdint>

#include "PluginAPI/export.h"
#include "runtime/text.h"

namespace PluginAPI {

// The exchange text of every function export: the host's argument text after SetFile, the result
// text after an export.
extern runtime::Text FileText;
// Stored by SetPath, read by nothing.
extern runtime::Text PathText;
// The host's opaque value; never dereferenced.
extern void* DataPtr;

// The constant texts, Windows-1251 bytes.
extern const char kCopyrightText[];
extern const char kShortInfoText[];
extern const char kInfoText[];

// Unit finalisation at unload: FileText first, then PathText.
void Finalize();

}  // namespace PluginAPI

FUNCPLUG_API void Settings();
FUNCPLUG_API const char* Copyright();
FUNCPLUG_API const char* GetShortInfo();
FUNCPLUG_API const char* GetInfo();
FUNCPLUG_API int32_t GetType();
FUNCPLUG_API void SetParentWindow();
FUNCPLUG_API void Draw();
FUNCPLUG_API void SetPath(const char* text);
FUNCPLUG_API void SetFile(const char* text);
FUNCPLUG_API const char* GetFile();
FUNCPLUG_API void SetData(void* value);
FUNCPLUG_API void* GetData();
