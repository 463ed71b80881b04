#include "pfunc/frame.h"

#include "PluginAPI/PluginAPI.h"
#include "err/failure.h"
#include "err/maps.h"
#include "numtext/format.h"
#include "numtext/parse.h"
#include "pfunc/fields.h"

namespace pfunc::frame {

using PluginAPI::FileText;

namespace {
dar scratch_dar;
idar scratch_idar;
varr scratch_varr;

std::string_view CutField() {
    std::string_view rest = FileText.View();
    std::string_view field = TakeField(rest, kFieldSeparator);
    FileText.DropFront(FileText.Length() - rest.size());
    // The cut is part of the state a failing parse leaves behind: keep it ahead of the parse.
    asm volatile("" ::: "memory");
    return field;  // still valid: dropping the front moves no characters
}

__attribute__((noinline)) void WriteBack(const char* text, std::size_t length) {
    if (!FileText.Assign(text, length, /*may_shrink=*/false))
        err::RunError(err::runtime_error::kOutOfMemory, __builtin_return_address(0));
}
}  // namespace

Extended CutFloat() { return numtext::TextToFloat(CutField()); }
int32_t CutInt() { return numtext::TextToInt(CutField()); }
Extended WholeFloat() { return numtext::TextToFloat(FileText.View()); }

const dar& WholeDar() {
    scratch_dar.Clear();
    TextToDar(FileText.View(), scratch_dar);
    return scratch_dar;
}

const idar& WholeIdar() {
    scratch_idar.Clear();
    TextToIdar(FileText.View(), scratch_idar);
    return scratch_idar;
}

const varr& WholeVarr() {
    scratch_varr.A.Clear();
    TextToVarr(FileText.View(), scratch_varr);
    return scratch_varr;
}

void WriteFloat(Extended value) {
    char text[numtext::kFloatTextCapacity];
    std::size_t length = numtext::FloatToText(x87::StoreDouble(value), text);
    WriteBack(text, length);
}

void WriteInteger(int32_t value) {
    char text[numtext::kIntTextCapacity];
    std::size_t length = numtext::IntToText(value, text);
    WriteBack(text, length);
}

void WritePair(Pair value) {
    char text[2 * numtext::kFloatTextCapacity];
    std::size_t length = numtext::FloatToText(x87::StoreDouble(value.first), text);
    text[length++] = '|';
    length += numtext::FloatToText(x87::StoreDouble(value.second), text + length);
    WriteBack(text, length);
}

void Finalize() {
    scratch_dar.Release();
    scratch_idar.Release();
    scratch_varr.A.Release();
}

}  // namespace pfunc::frame
