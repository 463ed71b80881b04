// The frame every function export follows: read the arguments from FileText, call one
// computation, format the result, write it back.
//
// FileText is cut in place, field by field, each field parsed right after its cut; so when a
// parse, the computation or the formatting fails, FileText holds the argument text without the
// fields cut so far (the whole text for single-field and list arguments) and no result.
// Nothing the frame holds needs releasing: fields are views into FileText, numbers live on the
// stack and in the x87 registers, results are formatted into a stack buffer, and the lists are
// session-long scratch storage emptied at the start of each call. A call abandoned by a fault or
// an exception at any instruction therefore leaks nothing.
#pragma once

#include <cstdint>

#include "pfunc/lists.h"
#include "rodived/x87.h"

namespace pfunc {

using x87::Extended;

// Two results written as "first|second".
struct Pair {
    Extended first;
    Extended second;
};

namespace frame {
// Cut fields: the next field of FileText, read as a float or an integer.
Extended CutFloat();
int32_t CutInt();
// Single-field argument: the whole of FileText, uncut, read as a float ("1|2" reads as 12).
Extended WholeFloat();
// List arguments: the whole of FileText, uncut, parsed into the frame's scratch list.
const dar& WholeDar();
const idar& WholeIdar();
const varr& WholeVarr();

// Write-back: FileText becomes the formatted result. A float result is rounded to a 64-bit float
// first, which is where an extended value beyond the 64-bit range signals overflow.
void WriteFloat(Extended value);
void WriteInteger(int32_t value);
void WritePair(Pair value);

// Releases the scratch lists at unload.
void Finalize();
}  // namespace frame

}  // namespace pfunc
