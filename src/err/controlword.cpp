#include "err/controlword.h"

#include "platform/platform.h"
#include "rodived/x87.h"

namespace err {

uint16_t RecordedControlWord = kBuiltInControlWord;

void RecordControlWord() { RecordedControlWord = x87::fnstcw(); }

void ResetFpu() {
    x87::fninit();
    x87::fldcw(RecordedControlWord);
}

void StartUpFpu() {
    uint32_t mask_value;
    if (platform::FpuMaskOverride(&mask_value)) RecordedControlWord = WithMaskValue(RecordedControlWord, mask_value);
    ResetFpu();
}

}  // namespace err
