// One macro decides how an entry point leaves the module: unmangled, C calling convention, and
// visible (POSIX) or named in the generated .def file (Windows).
#pragma once

#if defined(_WIN32)
#define FUNCPLUG_API extern "C" __cdecl
#else
#define FUNCPLUG_API extern "C" __attribute__((visibility("default")))
#endif
