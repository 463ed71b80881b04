#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pfunc/fields.h"
#include "pfunc/lists.h"

namespace {

TEST(TakeFieldTest, CutsBeforeTheFirstSeparator) {
    const struct {
        const char* text;
        const char* field;
        const char* rest;
    } cases[] = {
        {"3|4", "3", "4"}, {"3", "3", ""},   {"", "", ""},       {"|4", "", "4"},
        {"5|", "5", ""},   {"1||3", "1", "|3"}, {"a b|c", "a b", "c"}, {"|", "", ""},
    };
    for (const auto& c : cases) {
        std::string_view s = c.text;
        EXPECT_EQ(c.field, pfunc::TakeField(s, "|")) << c.text;
        EXPECT_EQ(c.rest, s) << c.text;
    }
}

TEST(TakeFieldTest, EveryCharacterOfTheSeparatorTextCounts) {
    std::string_view s = "1;2|3";
    EXPECT_EQ("1", pfunc::TakeField(s, "|;"));
    EXPECT_EQ("2|3", s);
}

std::vector<double> Doubles(std::string_view text) {
    pfunc::dar list;
    pfunc::TextToDar(text, list);
    std::vector<double> out(list.Data(), list.Data() + list.Length());
    list.Release();
    return out;
}

std::vector<int32_t> Ints(std::string_view text) {
    pfunc::idar list;
    pfunc::TextToIdar(text, list);
    std::vector<int32_t> out(list.Data(), list.Data() + list.Length());
    list.Release();
    return out;
}

TEST(ListParserTest, OneElementPerField) {
    const struct {
        const char* text;
        std::vector<double> floats;
        std::vector<int32_t> ints;
    } cases[] = {
        {"", {}, {}},
        {"5", {5}, {5}},
        {"1|2|3", {1, 2, 3}, {1, 2, 3}},
        {"1|2|3|", {1, 2, 3}, {1, 2, 3}},
        {"1||3", {1, 0, 3}, {1, 0, 3}},
        {"|1", {0, 1}, {0, 1}},
        {"|", {0}, {0}},
        {"||", {0, 0}, {0, 0}},
        {"1.5|2.5", {1.5, 2.5}, {1, 2}},
        {"1| 2", {1, 2}, {1, 0}},
        {"1,5|2", {15, 2}, {1, 2}},
        {"a|b", {0, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.floats, Doubles(c.text)) << c.text;
        EXPECT_EQ(c.ints, Ints(c.text)) << c.text;
    }
}

TEST(ListParserTest, VarrTakesTheFirstFieldApart) {
    const struct {
        const char* text;
        long double x;
        std::vector<double> a;
    } cases[] = {
        {"", 0, {}}, {"2", 2, {}}, {"2|1|0|3", 2, {1, 0, 3}}, {"2|1|0|3|", 2, {1, 0, 3}},
        {"|1|2", 0, {1, 2}}, {"0.5||4", 0.5, {0, 4}},
    };
    for (const auto& c : cases) {
        pfunc::varr record;
        pfunc::TextToVarr(c.text, record);
        EXPECT_EQ(c.x, record.X) << c.text;
        EXPECT_EQ(c.a, std::vector<double>(record.A.Data(), record.A.Data() + record.A.Length())) << c.text;
        record.A.Release();
    }
}

TEST(ListParserTest, AMillionSeparatorsGiveAMillionAndOneZeros) {
    std::string text(1000000, '|');
    text += "7";
    std::vector<double> values = Doubles(text);
    ASSERT_EQ(1000001u, values.size());
    EXPECT_EQ(0, values.front());
    EXPECT_EQ(7, values.back());
}

}  // namespace
