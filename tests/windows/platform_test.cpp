// Checks of the Win32 platform layer that need Windows itself: wvsprintfA formatting, the module
// name from VirtualQuery/GetModuleFileNameA, the form of a raised module exception, the
// out-of-memory path through SetFile, and the control word across LoadLibrary of the DLL.
// Linked with the module's objects; run under Wine by scripts/test_windows.sh. Prints one line per
// failed check and a summary; exit code 0 when all pass.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "PluginAPI/PluginAPI.h"
#include "err/failure.h"
#include "err/maps.h"
#include "funcplug/host_abi.h"
#include "platform/platform.h"
#include "rodived/x87.h"

namespace {

int checks = 0, failures = 0;

void Check(bool ok, const std::string& what, const std::string& detail = "") {
    ++checks;
    if (!ok) {
        ++failures;
        std::printf("FAIL %s %s\n", what.c_str(), detail.c_str());
    }
}

void CheckText(const std::string& expected, const std::string& actual, const std::string& what) {
    Check(expected == actual, what, "\n  expected: " + expected + "\n  actual:   " + actual);
}

std::string Pointer(uintptr_t value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%0*llX", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(value));
    return text;
}

std::string OwnPath() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    return std::string(path, n);
}

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of("\\/:") + 1); }

// ---- catching a raise ---------------------------------------------------------------------------

void* jump_buffer[5];
volatile bool armed = false;
EXCEPTION_RECORD caught;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    if (!armed) return EXCEPTION_CONTINUE_SEARCH;
    armed = false;
    caught = *info->ExceptionRecord;
    __builtin_longjmp(jump_buffer, 1);
}

// True when `step` raised; the record is in `caught`.
__attribute__((noinline)) bool Raises(void (*step)()) {
    if (__builtin_setjmp(jump_buffer) != 0) return true;
    armed = true;
    step();
    armed = false;
    return false;
}

const err::Exception* CaughtObject() {
    return reinterpret_cast<const err::Exception*>(caught.ExceptionInformation[funcplug::kExceptionObjectParameter]);
}

// ---- checks -------------------------------------------------------------------------------------

void FormatsThroughWvsprintf() {
    struct Case {
        const char* expected;
        const char* format;
        uintptr_t argument;
    } cases[] = {
        {"e0000001", "%x", 0xE0000001},
        {"-12", "%d", static_cast<uintptr_t>(static_cast<intptr_t>(-12))},
        {"unit1", "%s", reinterpret_cast<uintptr_t>("unit1")},
    };
    for (const Case& c : cases) {
        char buffer[platform::kFormatBufferSize];
        std::size_t length = platform::FormatText(buffer, c.format, &c.argument, 1);
        CheckText(c.expected, buffer, std::string("FormatText ") + c.format);
        Check(length == std::strlen(c.expected), std::string("FormatText length ") + c.format);
    }
    char buffer[platform::kFormatBufferSize];
    uintptr_t address = 0x00401234;
    platform::FormatText(buffer, "%p", &address, 1);
    CheckText(Pointer(address), buffer, "FormatText %p");
    // wvsprintfA stops at 1024 bytes, the NUL included.
    std::string long_text(3000, 'a');
    uintptr_t text = reinterpret_cast<uintptr_t>(long_text.c_str());
    Check(platform::FormatText(buffer, "%s", &text, 1) == 1023 && std::strlen(buffer) == 1023, "FormatText limit");
}

void MapsOperatingSystemExceptions() {
    err::OsExceptionRecord record = {};
    record.ExceptionCode = err::status::kAccessViolation;
    record.ExceptionAddress = reinterpret_cast<const void*>(&FormatsThroughWvsprintf);
    record.NumberParameters = 2;
    record.ExceptionInformation[0] = 1;
    record.ExceptionInformation[1] = 0x10;
    err::Exception* inside = err::OsToException(&record);
    CheckText("Access violation at address " + Pointer(reinterpret_cast<uintptr_t>(record.ExceptionAddress)) +
                  " in module '" + BaseName(OwnPath()) + "'. Write of address " + Pointer(0x10),
              inside->Message, "OsToException inside this module");
    Check(inside->Kind == err::kind::kAccessViolation && inside->OsRecord == &record, "OsToException kind, OsRecord");
    delete inside;

    record.ExceptionAddress = reinterpret_cast<const void*>(0x10);
    record.ExceptionInformation[0] = 0;
    err::Exception* outside = err::OsToException(&record);
    CheckText("Access violation at address " + Pointer(0x10) + ". Read of address " + Pointer(0x10), outside->Message,
              "OsToException outside any module");
    delete outside;

    record.ExceptionCode = 0xE0000001;
    err::Exception* external = err::OsToException(&record);
    CheckText("External exception e0000001", external->Message, "OsToException unmapped code");
    delete external;
}

void ShowsFailureText() {
    err::Exception* object = err::Exception::Create(err::kind::kArgumentError, "InternalRateOfReturn");
    const char* address = reinterpret_cast<const char*>(GetModuleHandleA(nullptr)) + 0x1234;
    char text[1024];
    std::size_t length = err::FailureText(object, address, text, sizeof(text));
    std::string expected = "Exception Exception in module " + OwnPath() + " at " + Pointer(0x1234) +
                           ".\nInternalRateOfReturn";
    CheckText(expected, text, "FailureText");
    Check(length == expected.size(), "FailureText length");
    delete object;
}

void RaiseArgument() { err::RaiseArgumentError("SLNDepreciation"); }

void RaisesModuleExceptions() {
    Check(Raises(RaiseArgument), "RaiseArgumentError raises");
    Check(caught.ExceptionCode == funcplug::kModuleExceptionCode && caught.ExceptionFlags == 1 &&
              caught.NumberParameters == 7,
          "module exception code, flags, parameter count");
    const err::Exception* object = CaughtObject();
    Check(object->Kind == 10 && std::strcmp(object->Message, "SLNDepreciation") == 0, "argument error object");
    // The raise address: the return address in RaiseArgument, inside this module.
    uintptr_t raise = caught.ExceptionInformation[funcplug::kRaiseAddressParameter];
    uintptr_t start = reinterpret_cast<uintptr_t>(&RaiseArgument);
    Check(raise > start && raise < start + 64, "parameter [0] is the raise address", Pointer(raise));
#if defined(__i386__)
    Check(reinterpret_cast<uintptr_t>(caught.ExceptionAddress) == raise, "exception address is the raise address",
          Pointer(reinterpret_cast<uintptr_t>(caught.ExceptionAddress)));
#endif
    delete object;
}

void SetFileOfTwelvePointFive() { SetFile("12.5"); }
const std::string long_text(100000, '7');
void SetFileOfLongText() { SetFile(long_text.c_str()); }

void RunsOutOfMemoryInSetFile() {
    Check(!Raises(SetFileOfTwelvePointFive), "SetFile 12.5");
    platform::FailAllocationsAfter(0);
    bool raised = Raises(SetFileOfLongText);
    platform::FailAllocationsAfter(-1);
    Check(raised && caught.ExceptionCode == funcplug::kModuleExceptionCode, "SetFile out of memory raises");
    if (raised) {
        const err::Exception* object = CaughtObject();
        Check(object->Kind == 2 && std::strcmp(object->Message, "Out of memory") == 0, "out-of-memory object");
        delete object;
    }
    CheckText("12.5", GetFile(), "FileText kept after out of memory");
}

void KeepsControlWordAcrossLoad() {
    std::string dll = OwnPath();
    dll.erase(dll.find_last_of("\\/") + 1);
    dll += sizeof(void*) == 8 ? "funcplug64.dll" : "funcplug.dll";
    for (uint16_t word : {uint16_t(0x1372), uint16_t(0x027F)}) {
        x87::fldcw(word);
        HMODULE module = LoadLibraryA(dll.c_str());
        uint16_t after_load = x87::fnstcw();
        Check(module != nullptr, "LoadLibrary " + dll);
        if (module != nullptr) FreeLibrary(module);
        uint16_t after_unload = x87::fnstcw();
        Check(after_load == word && after_unload == word, "control word kept across load and unload",
              Pointer(word) + " " + Pointer(after_load) + " " + Pointer(after_unload));
    }
    x87::fldcw(0x1372);
}

}  // namespace

int main() {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    err::InstallHooks();
    AddVectoredExceptionHandler(1, OnException);
    FormatsThroughWvsprintf();
    MapsOperatingSystemExceptions();
    ShowsFailureText();
    RaisesModuleExceptions();
    RunsOutOfMemoryInSetFile();
    KeepsControlWordAcrossLoad();
    std::printf("platform: %d checks, %d failed\n", checks, failures);
    return failures == 0 ? 0 : 1;
}
