#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "err/exception.h"
#include "funcplug/host_abi.h"
#include "platform/platform.h"

namespace {

using funcplug::ExceptionLayout;

TEST(ExceptionTest, AHostReadsKindAndMessageThroughTheLayout) {
    err::Exception* object = err::Exception::Create(err::kind::kArgumentError, "SLNDepreciation");
    auto* layout = reinterpret_cast<const ExceptionLayout*>(object);
    EXPECT_EQ(10, layout->Kind);
    EXPECT_STREQ("SLNDepreciation", layout->Message);
    EXPECT_EQ(0u, layout->IoResultCode);
    EXPECT_EQ(nullptr, layout->OsRecord);
    EXPECT_STREQ("Exception", err::Exception::ClassName());
    funcplug::DestroyException(object);
}

TEST(ExceptionTest, DestroyingRunsDestroyNotifyFirst) {
    static const void* notified_object;
    static void* notified_context;
    notified_object = nullptr;
    err::Exception* object = err::Exception::Create(err::kind::kIntegerOverflow, "Integer overflow");
    int context;
    object->DestroyNotify = [](void* c, void* o) {
        notified_context = c;
        notified_object = o;
    };
    object->DestroyNotifyContext = &context;
    funcplug::DestroyException(object);
    EXPECT_EQ(object, notified_object);
    EXPECT_EQ(&context, notified_context);
}

TEST(ExceptionTest, CreateFmtFormatsItsArguments) {
    const struct {
        const char* expected;
        const char* format;
        uintptr_t arguments[3];
        int count;
    } cases[] = {
        {"I/O error 42", "I/O error %d", {42}, 1},
        {"I/O error -7", "I/O error %d", {static_cast<uintptr_t>(-7)}, 1},
        {"External exception e0000001", "External exception %x", {0xE0000001u}, 1},
        {"unit1 (x, line 12)", "%s (%s, line %d)",
         {reinterpret_cast<uintptr_t>("unit1"), reinterpret_cast<uintptr_t>("x"), 12}, 3},
        {"100% sure", "100%% sure", {}, 0},
    };
    for (const auto& c : cases) {
        err::Exception* object = err::Exception::CreateFmt(err::kind::kInOutError, c.format, c.arguments, c.count);
        EXPECT_STREQ(c.expected, object->Message);
        funcplug::DestroyException(object);
    }
}

TEST(ExceptionTest, PointersAreUpperCaseHexOfTheFullWidth) {
    char text[platform::kFormatBufferSize];
    uintptr_t argument = 0x401234;
    platform::FormatText(text, "%p", &argument, 1);
    EXPECT_EQ(std::string(2 * sizeof(void*) - 6, '0') + "401234", text);
}

TEST(ExceptionTest, FormattingStopsAtItsLimit) {
    std::string long_text(5000, 'a');
    uintptr_t argument = reinterpret_cast<uintptr_t>(long_text.c_str());
    char text[platform::kFormatBufferSize];
    EXPECT_EQ(platform::kFormatLimit - 1, platform::FormatText(text, "%s", &argument, 1));
}

TEST(ExceptionTest, WithoutMemoryCreateStillAnswersOutOfMemory) {
    platform::FailAllocationsAfter(0);
    err::Exception* object = err::Exception::Create(err::kind::kArgumentError, "Mean");
    platform::FailAllocationsAfter(-1);
    EXPECT_EQ(err::kind::kOutOfMemory, object->Kind);
    EXPECT_STREQ("Out of memory", object->Message);
    funcplug::DestroyException(object);  // the static reserve: deleting it frees nothing
    err::Exception* again = err::Exception::Create(err::kind::kArgumentError, "Mean");
    EXPECT_STREQ("Mean", again->Message);
    funcplug::DestroyException(again);
}

__attribute__((noinline)) void RaiseFromHere() { err::RaiseArgumentError("InternalRateOfReturn"); }

TEST(ExceptionTest, AModuleExceptionCarriesItsRecord) {
    try {
        RaiseFromHere();
        FAIL() << "RaiseArgumentError returned";
    } catch (const funcplug::ModuleRaise& raise) {
        EXPECT_EQ(0x0EEDFADEu, raise.code);
        EXPECT_EQ(1u, raise.flags);
        EXPECT_EQ(7u, raise.parameter_count);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(raise.address), raise.parameters[0]);
        // The raise address is the return address of the raise inside the refusing routine.
        auto address = reinterpret_cast<uintptr_t>(raise.address);
        auto routine = reinterpret_cast<uintptr_t>(&RaiseFromHere);
        EXPECT_GT(address, routine);
        EXPECT_LT(address, routine + 64);
        auto* layout = reinterpret_cast<const ExceptionLayout*>(raise.parameters[1]);
        EXPECT_EQ(10, layout->Kind);
        EXPECT_STREQ("InternalRateOfReturn", layout->Message);
        funcplug::DestroyException(layout);
    }
}

}  // namespace
