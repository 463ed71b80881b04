// POSIX implementation of the platform interface.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "funcplug/host_abi.h"
#include "platform/platform.h"

namespace platform {

namespace {
// Appends to a bounded buffer, keeping room for the terminating NUL.
struct BoundedWriter {
    char* out;
    std::size_t length = 0;
    void Put(char c) {
        if (length + 1 < kFormatLimit) out[length++] = c;
    }
    void Put(const char* s) {
        while (*s != '\0') Put(*s++);
    }
    void Unsigned(uintptr_t value, unsigned base, bool upper, int min_digits) {
        char digits[2 * sizeof(uintptr_t) * 4];
        int n = 0;
        const char* alphabet = upper ? "0123456789ABCDEF" : "0123456789abcdef";
        do {
            digits[n++] = alphabet[value % base];
            value /= base;
        } while (value != 0 || n < min_digits);
        while (n > 0) Put(digits[--n]);
    }
};
}  // namespace

std::size_t FormatText(char* buffer, const char* format, const uintptr_t* arguments, int count) {
    BoundedWriter w{buffer};
    int next = 0;
    auto argument = [&]() -> uintptr_t { return next < count ? arguments[next++] : 0; };
    for (const char* f = format; *f != '\0'; ++f) {
        if (*f != '%' || f[1] == '\0') {
            w.Put(*f);
            continue;
        }
        switch (*++f) {
            case 's': {
                const char* text = reinterpret_cast<const char*>(argument());
                w.Put(text != nullptr ? text : "");
                break;
            }
            case 'd': {
                int32_t value = static_cast<int32_t>(argument());
                uint32_t magnitude = static_cast<uint32_t>(value);
                if (value < 0) {
                    w.Put('-');
                    magnitude = 0u - magnitude;
                }
                w.Unsigned(magnitude, 10, false, 1);
                break;
            }
            case 'x': w.Unsigned(static_cast<uint32_t>(argument()), 16, false, 1); break;
            case 'p': w.Unsigned(argument(), 16, true, 2 * static_cast<int>(sizeof(void*))); break;
            default: w.Put(*f); break;
        }
    }
    buffer[w.length] = '\0';
    return w.length;
}

void RaiseException(uint32_t code, uint32_t flags, uint32_t count, const uintptr_t* parameters,
                    const void* address) {
    funcplug::ModuleRaise raise{code, flags, address, count, {}};
    for (uint32_t i = 0; i < count && i < 15; ++i) raise.parameters[i] = parameters[i];
    throw raise;
}

bool ModuleOfAddress(const void* address, char* name, std::size_t name_size, const void** base) {
    Dl_info info;
    if (address == nullptr || dladdr(address, &info) == 0 || info.dli_fname == nullptr) return false;
    std::snprintf(name, name_size, "%s", info.dli_fname);
    *base = info.dli_fbase;
    return true;
}

bool OwnModuleName(char* name, std::size_t name_size) {
    const void* base;
    return ModuleOfAddress(reinterpret_cast<const void*>(&OwnModuleName), name, name_size, &base);
}

bool FpuMaskOverride(uint32_t*) { return false; }

void ShowMessage(const char* text) { std::fprintf(stderr, "%s\n", text); }

void Halt(int exit_code) { _exit(exit_code); }

}  // namespace platform
