#include "err/maps.h"

namespace err {

const TExceptMapRec kExceptMap[kRunTimeErrorCount] = {
    {kind::kOutOfMemory, "Out of memory"},
    {kind::kInvalidPointer, "Invalid pointer operation"},
    {kind::kDivisionByZero, "Division by zero"},
    {kind::kRangeError, "Range check error"},
    {kind::kIntegerOverflow, "Integer overflow"},
    {kind::kInvalidOperation, "Invalid floating point operation"},
    {kind::kFloatDivisionByZero, "Division by zero"},
    {kind::kFloatOverflow, "Floating point overflow"},
    {kind::kFloatUnderflow, "Floating point underflow"},
    {kind::kInvalidCast, "Invalid class typecast"},
    {kind::kAccessViolation, "Access violation at address %p. %s of address %p"},
    {kind::kPrivilegedInstruction, "Privileged instruction"},
    {kind::kControlC, "^C"},
    {kind::kStackOverflow, "Stack overflow"},
    {kind::kVariantError, "EVariant"},
    {kind::kVariantError, "EVariant"},
    {kind::kVariantError, "EVariant"},
    {kind::kVariantError, "EVariant"},
    {kind::kVariantError, "EVariant"},
    {kind::kVariantError, "EVariant"},
    {kind::kAssertionFailed, "Assertion failed"},
    {kind::kExternalException, "External exception %x"},
    {kind::kInterfaceNotSupported, "Interface not supported"},
    {kind::kSafecallException, "Exception in safecall method"},
};

const TErrorRec kIoErrorMap[kIoErrorCount] = {
    {2, "File not found"}, {3, "Invalid filename"}, {4, "Too many open files"},
    {5, "File access denied"}, {100, "End of file"}, {101, "Disk full"},
};

namespace {
thread_local uint32_t pending_io_result = 0;
}  // namespace

void SetPendingIoResult(uint32_t code) { pending_io_result = code; }
uint32_t PendingIoResult() { return pending_io_result; }

void ErrorToException(uint8_t index, const void* error_address) {
    Exception* object;
    if (index >= 1 && index <= kRunTimeErrorCount) {
        const TExceptMapRec& entry = kExceptMap[index - 1];
        object = Exception::Create(entry.Kind, entry.Message);
    } else {
        uint32_t code = pending_io_result;
        pending_io_result = 0;
        const char* message = nullptr;
        for (const TErrorRec& entry : kIoErrorMap)
            if (entry.Code == code) message = entry.Message;
        if (message != nullptr) {
            object = Exception::Create(kind::kInOutError, message);
        } else {
            uintptr_t argument = code;
            object = Exception::CreateFmt(kind::kInOutError, "I/O error %d", &argument, 1);
        }
        // The shared out-of-memory object stands in when even this object cannot be made.
        if (object->Kind == kind::kInOutError) object->IoResultCode = code;
    }
    RaiseModuleException(object, error_address);
}

}  // namespace err
