#include <gtest/gtest.h>
#include <malloc.h>

#include <cstring>
#include <string>

#include "support/exports.h"

namespace {

using testing_support::CallExport;

TEST(EntryPointTest, FileTextStartsEmptyAndIsCopied) {
    SetFile(nullptr);
    ASSERT_NE(nullptr, GetFile());
    EXPECT_STREQ("", GetFile());
    SetFile("");
    EXPECT_STREQ("", GetFile());
    char buffer[] = "12.5";
    SetFile(buffer);
    std::strcpy(buffer, "xxx");
    EXPECT_STREQ("12.5", GetFile());
}

TEST(EntryPointTest, SetFileOfItsOwnTextIsSafe) {
    SetFile("3|4|5");
    SetFile(GetFile() + 2);
    EXPECT_STREQ("4|5", GetFile());
    SetFile(GetFile());
    EXPECT_STREQ("4|5", GetFile());
}

TEST(EntryPointTest, TheThreeGlobalsAreIndependent) {
    SetFile("f");
    SetData(reinterpret_cast<void*>(0x1234));
    SetPath("C:\\some\\path");
    EXPECT_STREQ("f", GetFile());
    EXPECT_EQ(reinterpret_cast<void*>(0x1234), GetData());
    SetFile("g");
    EXPECT_EQ(reinterpret_cast<void*>(0x1234), GetData());
    EXPECT_EQ("C:\\some\\path", PluginAPI::PathText.View());
    SetData(nullptr);
    EXPECT_EQ(nullptr, GetData());
    Settings();
    SetParentWindow();
    Draw();
    EXPECT_STREQ("g", GetFile());
}

TEST(EntryPointTest, InformationTexts) {
    EXPECT_EQ(0, GetType());
    EXPECT_EQ(Copyright(), Copyright());
    EXPECT_EQ(GetInfo(), GetInfo());
    EXPECT_STREQ("Veltrano Brisk_addon", GetShortInfo());
    std::string info = GetInfo();
    std::size_t pairs = 0;
    for (std::size_t p = info.find("\r\n"); p != std::string::npos; p = info.find("\r\n", p + 2)) ++pairs;
    EXPECT_EQ(5u, pairs);
    EXPECT_EQ(0u, info.rfind("Veltrano test Brisk_addon:Row_Panel\r\n", 0));
    EXPECT_NE(std::string::npos, info.find("\r\n\xD1\xEC\xEE\xF2\xF0\xE8 \xEE\xEF\xE8\xF1\xE0\xED\xE8\xE5 \xED\xE0 \xF1\xE0\xE9\xF2\xE5\r\n"));
    EXPECT_NE(std::string::npos, info.find("\r\n          "));
    EXPECT_NE(std::string::npos, info.find("\r\nWRITTEN BY "));
    std::string last = info.substr(info.rfind("\r\n") + 2);
    EXPECT_EQ("C\xEF\xE5\xF6. \xEF\xEB\xE0\xE3\xE8\xED \xE4\xEB\xFF Kestoniva", last);
}

TEST(FrameTest, WhatFileTextHoldsAfterEachOutcome) {
    const struct {
        void (*function)();
        const char* text;
        host::Outcome outcome;
        const char* file_text;
    } cases[] = {
        {getLogN, "2|8", host::Outcome::kReturned, "3"},
        {getLogN, "2|8|99", host::Outcome::kReturned, "3"},
        {getLogN, "1|8", host::Outcome::kFault, ""},            // both fields cut before the kernel
        {getLogN, "1|8|5", host::Outcome::kFault, "5"},
        {getLdexp, "1e400|3|x", host::Outcome::kFault, "3|x"},   // the first field's parse failed
        {getLog2, "-1", host::Outcome::kFault, "-1"},            // single field: uncut
        {getall, "1|2", host::Outcome::kReturned, "1|2"},
        {getSqr, "1|2", host::Outcome::kReturned, "144"},
    };
    for (const auto& c : cases) {
        auto call = CallExport(c.function, c.text);
        EXPECT_EQ(c.outcome, call.raised.outcome) << c.text;
        EXPECT_EQ(c.file_text, call.file_text) << c.text;
    }
}

TEST(FrameTest, AResultIsTheNextArgument) {
    SetFile("16");
    EXPECT_EQ(host::Outcome::kReturned, host::GuardedCall(getSqrt, testing_support::kHostControlWord).outcome);
    EXPECT_EQ(host::Outcome::kReturned, host::GuardedCall(getSqrt, testing_support::kHostControlWord).outcome);
    EXPECT_STREQ("2", GetFile());
}

TEST(FrameTest, FaultsSurfaceUnderTheCallersControlWord) {
    auto call = CallExport(getCeil, "1e19");
    EXPECT_EQ(host::Outcome::kFault, call.raised.outcome);
    EXPECT_EQ(0xC0000090u, call.raised.fault_code);
    EXPECT_EQ(testing_support::kHostControlWord, call.raised.control_word);
}

TEST(FrameTest, MaskedConditionsGiveDefaultValues) {
    const struct {
        void (*function)();
        const char* text;
        const char* result;
    } cases[] = {{getSqrt, "-1", "0"}, {getLog2, "0", "-INF"}, {getExp, "710", "INF"}, {getCeil, "1e19", "0"}};
    for (const auto& c : cases) {
        auto call = CallExport(c.function, c.text, testing_support::kAllMasked);
        EXPECT_EQ(host::Outcome::kReturned, call.raised.outcome) << c.text;
        EXPECT_EQ(c.result, call.file_text) << c.text;
        EXPECT_EQ(testing_support::kAllMasked, call.raised.control_word);
    }
}

TEST(OutOfMemoryTest, SetFileThatCannotCopyKeepsThePreviousText) {
    SetFile("previous");
    std::string big(100000, '7');
    platform::FailAllocationsAfter(0);
    static const char* text;
    text = big.c_str();
    host::CallResult raised = host::GuardedCall([] { SetFile(text); }, testing_support::kHostControlWord);
    platform::FailAllocationsAfter(-1);
    EXPECT_EQ(host::Outcome::kModuleException, raised.outcome);
    EXPECT_EQ(2, raised.kind);
    EXPECT_EQ("Out of memory", raised.message);
    EXPECT_STREQ("previous", GetFile());
}

TEST(OutOfMemoryTest, AListThatCannotGrowRaisesAndTheTextStays) {
    // A list export is needed: any registered one will do; the frame's scratch list is emptied and
    // refilled, so a long list needs fresh memory.
    std::string text;
    for (int i = 0; i < 5000; ++i) text += "1|";
    SetFile(text.c_str());
    pfunc::frame::Finalize();
    platform::FailAllocationsAfter(0);
    static bool raised_kind_two;
    raised_kind_two = false;
    host::CallResult raised = host::GuardedCall([] { pfunc::frame::WholeDar(); }, testing_support::kHostControlWord);
    platform::FailAllocationsAfter(-1);
    EXPECT_EQ(host::Outcome::kModuleException, raised.outcome);
    EXPECT_EQ(2, raised.kind);
    EXPECT_EQ(text, GetFile());
}

#if !defined(__SANITIZE_ADDRESS__)
TEST(LeakTest, AbandonedCallsLeaveTheHeapWhereItWas) {
    auto heap_in_use = [] { return mallinfo2().uordblks; };
    std::string list;
    for (int i = 0; i < 200; ++i) list += "1.5|";
    // Warm up: the scratch storage and FileText reach their working size.
    for (int i = 0; i < 100; ++i) {
        CallExport(getLdexp, list + "1e400");
        CallExport(getPower, "-8|0.5");
    }
    std::size_t before = heap_in_use();
    for (int i = 0; i < 25000; ++i) {
        CallExport(getPower, "-8|0.5");     // fault in the kernel
        CallExport(getLdexp, "1e400|2");    // fault in the parse
        CallExport(getLog10, "0");          // fault, single field
        platform::FailAllocationsAfter(0);  // module exception: out of memory in the write-back
        SetFile("");
        host::GuardedCall(getExp, testing_support::kHostControlWord);
        platform::FailAllocationsAfter(-1);
    }
    EXPECT_EQ(before, heap_in_use());
}
#endif

}  // namespace
