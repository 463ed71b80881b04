#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "err/controlword.h"
#include "err/failure.h"
#include "err/maps.h"
#include "funcplug/host_abi.h"
#include "platform/platform.h"

namespace {

std::string Pointer(uintptr_t value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%0*llX", static_cast<int>(2 * sizeof(void*)),
                  static_cast<unsigned long long>(value));
    return text;
}

err::OsExceptionRecord Record(uint32_t code, uintptr_t address = 0, uintptr_t access = 0, uintptr_t target = 0) {
    err::OsExceptionRecord record{};
    record.ExceptionCode = code;
    record.ExceptionAddress = reinterpret_cast<const void*>(address);
    record.NumberParameters = 2;
    record.ExceptionInformation[0] = access;
    record.ExceptionInformation[1] = target;
    return record;
}

// Runs a raise and hands back its record.
template <typename F>
funcplug::ModuleRaise Raised(F raise) {
    try {
        raise();
    } catch (const funcplug::ModuleRaise& r) {
        return r;
    }
    ADD_FAILURE() << "nothing raised";
    return {};
}

const err::Exception* ObjectOf(const funcplug::ModuleRaise& r) {
    return reinterpret_cast<const err::Exception*>(r.parameters[funcplug::kExceptionObjectParameter]);
}

TEST(OsToExceptionTest, CodesMapToKindsAndMessages) {
    const struct {
        uint8_t kind;
        const char* message;
        uint32_t code;
    } cases[] = {
        {4, "External exception e0000001", 0xE0000001},
        {14, "Floating point underflow", err::status::kFloatDenormalOperand},
        {14, "Floating point underflow", err::status::kFloatUnderflow},
        {11, "Invalid floating point operation", err::status::kFloatInexactResult},
        {11, "Invalid floating point operation", err::status::kFloatStackCheck},
        {12, "Division by zero", err::status::kFloatDivideByZero},
        {13, "Floating point overflow", err::status::kFloatOverflow},
        {6, "Division by zero", err::status::kIntegerDivideByZero},
        {7, "Range check error", err::status::kArrayBoundsExceeded},
        {8, "Integer overflow", err::status::kIntegerOverflow},
        {19, "Privileged instruction", err::status::kPrivilegedInstruction},
        {20, "Stack overflow", err::status::kStackOverflow},
        {4, "External exception c0000097", 0xC0000097},  // in range, not in the map
        {4, "External exception c00000fe", 0xC00000FE},  // beyond the range
        {4, "External exception c0010005", 0xC0010005},  // low byte of an access violation, out of range
    };
    for (const auto& c : cases) {
        err::OsExceptionRecord record = Record(c.code);
        err::Exception* object = err::OsToException(&record);
        EXPECT_EQ(c.kind, object->Kind) << std::hex << c.code;
        EXPECT_STREQ(c.message, object->Message);
        EXPECT_EQ(&record, object->OsRecord);
        delete object;
    }
}

TEST(OsToExceptionTest, AccessViolationNamesTheModuleFile) {
    const struct {
        std::string expected;
        const char* module_file;
        uintptr_t access;
    } cases[] = {
        {"Access violation at address " + Pointer(0x401234) + " in module 'host.exe'. Read of address " + Pointer(0),
         "C:\\app\\host.exe", 0},
        {"Access violation at address " + Pointer(0x401234) + " in module 'lib.so'. Write of address " + Pointer(0),
         "/usr/lib/lib.so", 1},
        {"Access violation at address " + Pointer(0x401234) + " in module 'a.dll'. Read of address " + Pointer(0),
         "D:a.dll", 0},
        {"Access violation at address " + Pointer(0x401234) + ". Read of address " + Pointer(0), nullptr, 0},
    };
    for (const auto& c : cases) {
        err::OsExceptionRecord record = Record(err::status::kAccessViolation, 0x401234, c.access, 0);
        err::Exception* object = err::AccessViolationObject(&record, c.module_file);
        EXPECT_EQ(18, object->Kind);
        EXPECT_EQ(c.expected, object->Message);
        delete object;
    }
}

TEST(OsToExceptionTest, AccessViolationLooksUpTheAddress) {
    err::OsExceptionRecord record =
        Record(err::status::kAccessViolation, reinterpret_cast<uintptr_t>(&Pointer), 1, 0x10);
    err::Exception* inside = err::OsToException(&record);
    EXPECT_NE(nullptr, std::strstr(inside->Message, " in module 'funcplug_tests'. Write of address ")) << inside->Message;
    EXPECT_EQ(&record, inside->OsRecord);
    delete inside;
    record.ExceptionAddress = reinterpret_cast<const void*>(0x10);
    err::Exception* outside = err::OsToException(&record);
    EXPECT_EQ("Access violation at address " + Pointer(0x10) + ". Write of address " + Pointer(0x10),
              outside->Message);
    delete outside;
}

TEST(ErrorToExceptionTest, RaisesTheMappedObjectAtTheErrorAddress) {
    const struct {
        uint8_t kind;
        const char* message;
        uint8_t index;
    } cases[] = {
        {2, "Out of memory", 1},
        {7, "Range check error", 4},
        {18, "Access violation at address %p. %s of address %p", 11},  // as stored, not formatted
        {4, "External exception %x", 22},
    };
    const void* address = reinterpret_cast<const void*>(0x00401234);
    for (const auto& c : cases) {
        funcplug::ModuleRaise r = Raised([&] { err::ErrorToException(c.index, address); });
        EXPECT_EQ(funcplug::kModuleExceptionCode, r.code);
        EXPECT_EQ(address, r.address);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(address), r.parameters[funcplug::kRaiseAddressParameter]);
        EXPECT_EQ(c.kind, ObjectOf(r)->Kind);
        EXPECT_STREQ(c.message, ObjectOf(r)->Message);
        delete ObjectOf(r);
    }
}

TEST(ErrorToExceptionTest, InputOutputFailuresTakeThePendingCode) {
    const struct {
        const char* message;
        uint32_t code;
    } cases[] = {{"Disk full", 101}, {"I/O error 7", 7}};
    for (const auto& c : cases) {
        err::SetPendingIoResult(c.code);
        funcplug::ModuleRaise r = Raised([] { err::ErrorToException(100, nullptr); });
        EXPECT_EQ(3, ObjectOf(r)->Kind);
        EXPECT_STREQ(c.message, ObjectOf(r)->Message);
        EXPECT_EQ(c.code, ObjectOf(r)->IoResultCode);
        EXPECT_EQ(0u, err::PendingIoResult());
        delete ObjectOf(r);
    }
}

TEST(AssertToExceptionTest, FormatsMessageFileAndLine) {
    const struct {
        const char* expected;
        const char* message;
    } cases[] = {{"Assertion failed (unit1, line 12)", ""}, {"x > 0 (unit1, line 12)", "x > 0"}};
    const void* caller = reinterpret_cast<const void*>(0x1000);
    for (const auto& c : cases) {
        funcplug::ModuleRaise r = Raised([&] { err::AssertToException(c.message, "unit1", 12, caller); });
        EXPECT_EQ(caller, r.address);
        EXPECT_EQ(25, ObjectOf(r)->Kind);
        EXPECT_STREQ(c.expected, ObjectOf(r)->Message);
        delete ObjectOf(r);
    }
}

TEST(HooksTest, TheRunTimeReachesTheMapsOnlyWhileInstalled) {
    err::InstallHooks();
    EXPECT_EQ(&err::ErrorToException, err::Hooks.ErrorProc);
    EXPECT_EQ(&err::OsToException, err::Hooks.ExceptObjProc);
    EXPECT_EQ(&err::ShowAndHalt, err::Hooks.ExceptProc);
    EXPECT_STREQ("Exception", err::Hooks.ExceptionClass());
    EXPECT_STREQ("Exception", err::Hooks.ExceptClsProc(nullptr)());
    funcplug::ModuleRaise r = Raised([] { err::Assert("", "unit1", 3, nullptr); });
    EXPECT_STREQ("Assertion failed (unit1, line 3)", ObjectOf(r)->Message);
    delete ObjectOf(r);
    r = Raised([] { err::RunError(1, nullptr); });
    EXPECT_EQ(2, ObjectOf(r)->Kind);
    delete ObjectOf(r);
    err::RemoveHooks();
    EXPECT_EQ(nullptr, err::Hooks.ErrorProc);
    EXPECT_EQ(nullptr, err::Hooks.AssertErrorProc);
    err::InstallHooks();
}

TEST(FailureTextTest, NamesClassModuleOffsetAndMessage) {
    err::Exception* object = err::Exception::Create(err::kind::kArgumentError, "InternalRateOfReturn");
    const void* base = nullptr;
    char module[261];
    const void* address = reinterpret_cast<const void*>(&Pointer);
    ASSERT_TRUE(platform::ModuleOfAddress(address, module, sizeof(module), &base));
    char text[1024];
    std::size_t length = err::FailureText(object, address, text, sizeof(text));
    std::string expected = std::string("Exception Exception in module ") + module + " at " +
                           Pointer(reinterpret_cast<uintptr_t>(address) - reinterpret_cast<uintptr_t>(base)) +
                           ".\nInternalRateOfReturn";
    EXPECT_EQ(expected, text);
    EXPECT_EQ(expected.size(), length);
    delete object;
}

TEST(FailureTextTest, AnAddressOutsideAnyModuleCountsFromTheModulesOwnFile) {
    char own[261];
    ASSERT_TRUE(platform::OwnModuleName(own, sizeof(own)));
    char text[1024];
    err::FailureText(nullptr, nullptr, text, sizeof(text));
    EXPECT_EQ(std::string("Exception unknown in module ") + own + " at " + Pointer(0) + ".\n", text);
    err::FailureText(nullptr, reinterpret_cast<const void*>(0x1010), text, sizeof(text));
    EXPECT_EQ(std::string("Exception unknown in module ") + own + " at " + Pointer(0x10) + ".\n", text);
}

TEST(ControlWordTest, TheMaskOverrideReplacesOnlyTheSixMaskBits) {
    const struct {
        uint16_t expected;
        uint16_t control_word;
        uint32_t mask_value;
    } cases[] = {
        {0x137F, 0x1372, 0x3F},
        {0x1340, 0x1372, 0x00},
        {0x027F, 0x027F, 0xFFFFFFFF},
        {0x1312, 0x133F, 0x12},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, err::WithMaskValue(c.control_word, c.mask_value));
    EXPECT_EQ(0x1332, err::kBuiltInControlWord);
}

}  // namespace
