#include "err/exception.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/platform.h"

namespace err {

static_assert(offsetof(Exception, Kind) == offsetof(funcplug::ExceptionLayout, Kind));
static_assert(offsetof(Exception, IoResultCode) == offsetof(funcplug::ExceptionLayout, IoResultCode));
static_assert(offsetof(Exception, Message) == offsetof(funcplug::ExceptionLayout, Message));
static_assert(offsetof(Exception, OsRecord) == offsetof(funcplug::ExceptionLayout, OsRecord));
static_assert(offsetof(Exception, Reserved) == offsetof(funcplug::ExceptionLayout, Reserved));
static_assert(offsetof(Exception, DestroyNotify) == offsetof(funcplug::ExceptionLayout, DestroyNotify));
static_assert(offsetof(Exception, DestroyNotifyContext) ==
              offsetof(funcplug::ExceptionLayout, DestroyNotifyContext));
static_assert(sizeof(Exception) == sizeof(funcplug::ExceptionLayout));

namespace {
alignas(Exception) unsigned char reserve_storage[sizeof(Exception)];
Exception* reserve_object = nullptr;
}  // namespace

Exception::~Exception() {
    if (DestroyNotify != nullptr) DestroyNotify(DestroyNotifyContext, this);
    // The message lives in the object's own block and goes with it.
}

void Exception::operator delete(void* object) {
    if (object != reserve_storage) std::free(object);
}

Exception* Exception::ReserveOutOfMemory() {
    if (reserve_object == nullptr) reserve_object = new (reserve_storage) Exception(kind::kOutOfMemory, "Out of memory");
    return reserve_object;
}

Exception* Exception::Create(uint8_t kind, const char* message) {
    std::size_t length = std::strlen(message);
    void* block = platform::Allocate(sizeof(Exception) + length + 1);
    if (block == nullptr) return ReserveOutOfMemory();
    char* characters = static_cast<char*>(block) + sizeof(Exception);
    std::memcpy(characters, message, length + 1);
    return new (block) Exception(kind, characters);
}

Exception* Exception::CreateFmt(uint8_t kind, const char* format, const uintptr_t* arguments, int count) {
    char buffer[platform::kFormatBufferSize];
    platform::FormatText(buffer, format, arguments, count);
    return Create(kind, buffer);
}

void RaiseModuleException(Exception* object, const void* raise_address) {
    uintptr_t parameters[funcplug::kModuleExceptionParameters] = {};
    parameters[funcplug::kRaiseAddressParameter] = reinterpret_cast<uintptr_t>(raise_address);
    parameters[funcplug::kExceptionObjectParameter] = reinterpret_cast<uintptr_t>(object);
    platform::RaiseException(funcplug::kModuleExceptionCode, funcplug::kNonContinuable,
                             funcplug::kModuleExceptionParameters, parameters, raise_address);
}

__attribute__((noinline)) void RaiseArgumentError(const char* routine_name) {
    RaiseModuleException(Exception::Create(kind::kArgumentError, routine_name), __builtin_return_address(0));
}

}  // namespace err
