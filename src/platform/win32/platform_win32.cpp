// Win32 implementation of the platform interface.
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "err/failure.h"
#include "err/maps.h"
#include "platform/platform.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace platform {

static_assert(sizeof(err::OsExceptionRecord) == sizeof(EXCEPTION_RECORD));
static_assert(offsetof(err::OsExceptionRecord, ExceptionAddress) == offsetof(EXCEPTION_RECORD, ExceptionAddress));
static_assert(offsetof(err::OsExceptionRecord, ExceptionInformation) ==
              offsetof(EXCEPTION_RECORD, ExceptionInformation));

// ---- formatting ---------------------------------------------------------------------------------

// wvsprintfA reads its arguments from a va_list, which on both Windows ABIs is a plain pointer to
// pointer-sized slots: the argument array is one.
std::size_t FormatText(char* buffer, const char* format, const uintptr_t* arguments, int count) {
    static const uintptr_t kNoArguments[1] = {0};
    const uintptr_t* slots = count > 0 ? arguments : kNoArguments;
    int length = wvsprintfA(buffer, format, reinterpret_cast<va_list>(const_cast<uintptr_t*>(slots)));
    if (length < 0) length = 0;
    if (static_cast<std::size_t>(length) >= kFormatLimit) length = kFormatLimit - 1;
    buffer[length] = '\0';
    return static_cast<std::size_t>(length);
}

// ---- exceptions ---------------------------------------------------------------------------------

#if defined(__i386__)
// RtlRaiseException takes the exception address (and the context's Eip) from its return address,
// and RaiseException would put its own code there. Entering RtlRaiseException with the raise
// address as the return address makes the record's address the raise address. Frame-based
// handlers on 32-bit Windows are found through the FS:[0] chain, not by unwinding from Eip, so
// the substituted return address misleads nothing.
extern "C" [[noreturn]] void FuncplugRaiseFrom(EXCEPTION_RECORD* record, const void* address, void* raise);
asm(".text\n"
    ".globl _FuncplugRaiseFrom\n"
    "_FuncplugRaiseFrom:\n"
    "    movl 4(%esp), %ecx\n"
    "    movl 8(%esp), %edx\n"
    "    movl 12(%esp), %eax\n"
    "    pushl %ecx\n"  // the record, RtlRaiseException's one argument
    "    pushl %edx\n"  // the raise address as its return address
    "    jmp *%eax\n");

namespace {
void* RtlRaise() {
    static void* raise = reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlRaiseException"));
    return raise;
}
}  // namespace
#endif

// On 64-bit Windows the dispatcher finds handlers by unwinding from the context's Rip and Rsp, so
// a substituted return address would break every frame-based handler above: there the record's
// exception address is the one RaiseException sets, and parameter [0] carries the raise address.
void RaiseException(uint32_t code, uint32_t flags, uint32_t count, const uintptr_t* parameters,
                    const void* address) {
    if (count > EXCEPTION_MAXIMUM_PARAMETERS) count = EXCEPTION_MAXIMUM_PARAMETERS;
#if defined(__i386__)
    if (void* raise = RtlRaise()) {
        EXCEPTION_RECORD record = {};
        record.ExceptionCode = code;
        record.ExceptionFlags = flags & EXCEPTION_NONCONTINUABLE;
        record.ExceptionAddress = const_cast<void*>(address);
        record.NumberParameters = count;
        for (uint32_t i = 0; i < count; ++i) record.ExceptionInformation[i] = parameters[i];
        FuncplugRaiseFrom(&record, address, raise);
    }
#else
    (void)address;
#endif
    ::RaiseException(code, flags, count, reinterpret_cast<const ULONG_PTR*>(parameters));
    __builtin_unreachable();
}

// ---- modules ------------------------------------------------------------------------------------

bool ModuleOfAddress(const void* address, char* name, std::size_t name_size, const void** base) {
    MEMORY_BASIC_INFORMATION region;
    if (address == nullptr || VirtualQuery(address, &region, sizeof(region)) == 0) return false;
    if (region.State != MEM_COMMIT || region.AllocationBase == nullptr) return false;
    DWORD length = GetModuleFileNameA(static_cast<HMODULE>(region.AllocationBase), name, static_cast<DWORD>(name_size));
    if (length == 0) return false;
    *base = region.AllocationBase;
    return true;
}

bool OwnModuleName(char* name, std::size_t name_size) {
    return GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), name, static_cast<DWORD>(name_size)) != 0;
}

// ---- floating-point unit ------------------------------------------------------------------------

namespace {
constexpr char kMaskKey[] = "SOFTWARE\\Veltrano\\funcplug\\Runtime";
constexpr char kMaskValue[] = "FPUMaskValue";
}  // namespace

// Only machines of keyboard type 7 with subtype 0x0Dxx or 0x04xx consult the registry.
bool FpuMaskOverride(uint32_t* mask_value) {
    if (GetKeyboardType(0) != 7) return false;
    int subtype_high = (GetKeyboardType(1) >> 8) & 0xFF;
    if (subtype_high != 0x0D && subtype_high != 0x04) return false;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMaskKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    DWORD type = 0, value = 0, size = sizeof(value);
    bool found = RegQueryValueExA(key, kMaskValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                     ERROR_SUCCESS &&
                 type == REG_DWORD && size == sizeof(value);
    RegCloseKey(key);
    if (found) *mask_value = value;
    return found;
}

// ---- reporting ----------------------------------------------------------------------------------

void ShowMessage(const char* text) { MessageBoxA(nullptr, text, nullptr, MB_OK | MB_SYSTEMMODAL); }

}  // namespace platform

// ---- operator new -------------------------------------------------------------------------------
// The module's own texts and lists never throw; should module code ever use new, a request that
// cannot be met ends the same way as theirs: run-time error 1, a module exception of kind 2.
// These replace the C++ library's operators inside the DLL only.

namespace {
__attribute__((noinline)) void* NewBlock(std::size_t size, const void* caller) {
    void* block = platform::Allocate(size == 0 ? 1 : size);
    if (block == nullptr) err::RunError(err::runtime_error::kOutOfMemory, caller);
    return block;
}
}  // namespace

void* operator new(std::size_t size) { return NewBlock(size, __builtin_return_address(0)); }
void* operator new[](std::size_t size) { return NewBlock(size, __builtin_return_address(0)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return platform::Allocate(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return platform::Allocate(size == 0 ? 1 : size);
}
void operator delete(void* block) noexcept { platform::Release(block); }
void operator delete[](void* block) noexcept { platform::Release(block); }
void operator delete(void* block, std::size_t) noexcept { platform::Release(block); }
void operator delete[](void* block, std::size_t) noexcept { platform::Release(block); }
