#include "err/failure.h"

#include <cstring>

#include "err/maps.h"
#include "platform/platform.h"

namespace err {

namespace {
struct OsCodeMapping {
    uint8_t low_byte;
    uint8_t index;
};
// Looked up by the low byte, and only for codes 0xC0000000 to 0xC00000FD.
constexpr OsCodeMapping kOsCodeMap[] = {
    {0x94, 3}, {0x8C, 4}, {0x95, 5}, {0x8F, 6}, {0x90, 6}, {0x92, 6}, {0x8E, 7},
    {0x91, 8}, {0x8D, 9}, {0x93, 9}, {0x05, 11}, {0x96, 12}, {0xFD, 14},
};
constexpr uint8_t kExternalExceptionIndex = 22;
constexpr uint8_t kAccessViolationIndex = 11;

uintptr_t Argument(const void* pointer) { return reinterpret_cast<uintptr_t>(pointer); }

// The part after the last ':', '\' or '/'.
const char* FileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p != '\0'; ++p)
        if (*p == ':' || *p == '\\' || *p == '/') name = p + 1;
    return name;
}
}  // namespace

uint8_t OsCodeToIndex(uint32_t code) {
    if (code < 0xC0000000u || code > 0xC00000FDu) return kExternalExceptionIndex;
    for (const OsCodeMapping& m : kOsCodeMap)
        if (m.low_byte == (code & 0xFF)) return m.index;
    return kExternalExceptionIndex;
}

Exception* AccessViolationObject(const OsExceptionRecord* record, const char* module_file) {
    const char* access = record->ExceptionInformation[0] == 0 ? "Read" : "Write";
    uintptr_t target = record->ExceptionInformation[1];
    if (module_file != nullptr) {
        const uintptr_t arguments[] = {Argument(record->ExceptionAddress), Argument(FileNameOf(module_file)),
                                       Argument(access), target};
        return Exception::CreateFmt(kind::kAccessViolation,
                                    "Access violation at address %p in module '%s'. %s of address %p", arguments, 4);
    }
    const uintptr_t arguments[] = {Argument(record->ExceptionAddress), Argument(access), target};
    return Exception::CreateFmt(kind::kAccessViolation, "Access violation at address %p. %s of address %p",
                                arguments, 3);
}

Exception* OsToException(const OsExceptionRecord* record) {
    uint8_t index = OsCodeToIndex(record->ExceptionCode);
    Exception* object;
    if (index == kAccessViolationIndex) {
        char module_file[261];
        const void* base;
        bool in_module = platform::ModuleOfAddress(record->ExceptionAddress, module_file, sizeof(module_file), &base);
        object = AccessViolationObject(record, in_module ? module_file : nullptr);
    } else if (index >= 3 && index <= 21) {
        const TExceptMapRec& entry = kExceptMap[index - 1];
        object = Exception::Create(entry.Kind, entry.Message);
    } else {
        const uintptr_t argument = record->ExceptionCode;
        object = Exception::CreateFmt(kind::kExternalException, "External exception %x", &argument, 1);
    }
    // Not on the shared out-of-memory object that stands in when this one cannot be made.
    if (object->Kind != kind::kOutOfMemory) object->OsRecord = record;
    return object;
}

void AssertToException(const char* message, const char* file, int32_t line, const void* caller) {
    const char* text = message != nullptr && *message != '\0' ? message : "Assertion failed";
    const uintptr_t arguments[] = {Argument(text), Argument(file != nullptr ? file : ""),
                                   static_cast<uintptr_t>(static_cast<intptr_t>(line))};
    RaiseModuleException(Exception::CreateFmt(kind::kAssertionFailed, "%s (%s, line %d)", arguments, 3), caller);
}

std::size_t FailureText(const Exception* object, const void* address, char* buffer, std::size_t size) {
    char module_file[261] = "";
    const void* base = nullptr;
    uintptr_t offset;
    if (platform::ModuleOfAddress(address, module_file, sizeof(module_file), &base)) {
        offset = Argument(address) - Argument(base);
    } else {
        if (!platform::OwnModuleName(module_file, sizeof(module_file))) module_file[0] = '\0';
        offset = address == nullptr ? 0 : Argument(address) - 0x1000;
    }
    const char* class_name = object != nullptr ? Exception::ClassName() : "unknown";
    const char* message = object != nullptr && object->Message != nullptr ? object->Message : "";
    const uintptr_t arguments[] = {Argument(class_name), Argument(module_file), offset, Argument(message),
                                   Argument("")};
    char text[platform::kFormatBufferSize];
    std::size_t length = platform::FormatText(text, "Exception %s in module %s at %p.\n%s%s", arguments, 5);
    if (size == 0) return 0;
    if (length >= size) length = size - 1;
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return length;
}

void ShowFailure(const Exception* object, const void* address) {
    char text[platform::kFormatLimit];
    FailureText(object, address, text, sizeof(text));
    platform::ShowMessage(text);
}

void ShowAndHalt(Exception* object, const void* address) {
    ShowFailure(object, address);
    platform::Halt(1);
}

// ---- hooks --------------------------------------------------------------------------------------

RunTimeHooks Hooks = {};

namespace {
ClassRef ExceptionClassOf(const OsExceptionRecord*) { return &Exception::ClassName; }
}  // namespace

void InstallHooks() {
    Hooks.ErrorProc = &ErrorToException;
    Hooks.ExceptObjProc = &OsToException;
    Hooks.ExceptClsProc = &ExceptionClassOf;
    Hooks.ExceptionClass = &Exception::ClassName;
    Hooks.ExceptProc = &ShowAndHalt;
    Hooks.AssertErrorProc = &AssertToException;
}

void RemoveHooks() { Hooks = {}; }

void RunError(uint8_t index, const void* error_address) {
    if (Hooks.ErrorProc != nullptr) {
        Hooks.ErrorProc(index, error_address);
        __builtin_unreachable();
    }
    const uintptr_t arguments[] = {index, Argument(error_address)};
    char text[platform::kFormatBufferSize];
    platform::FormatText(text, "Runtime error %d at %p", arguments, 2);
    platform::ShowMessage(text);
    platform::Halt(index);
}

void Assert(const char* message, const char* file, int32_t line, const void* caller) {
    if (Hooks.AssertErrorProc != nullptr) {
        Hooks.AssertErrorProc(message, file, line, caller);
        __builtin_unreachable();
    }
    RunError(runtime_error::kAssertionFailed, caller);
}

}  // namespace err
