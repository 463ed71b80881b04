// The x87 control word the module records at every loader notification and loads whenever it
// resets the unit. Recording the loading thread's own word (instead of imposing a fixed one) is
// what lets every export run under its host thread's settings.
#pragma once

#include <cstdint>

namespace err {

// Invalid operation, division by zero and overflow unmasked; 64-bit precision; round to nearest.
// Replaced by the loading thread's word before its first use.
constexpr uint16_t kBuiltInControlWord = 0x1332;

extern uint16_t RecordedControlWord;

// RecordedControlWord := the calling thread's control word.
void RecordControlWord();

// The word with its six mask bits replaced by bits 0 to 5 of the mask value.
constexpr uint16_t WithMaskValue(uint16_t control_word, uint32_t mask_value) {
    return static_cast<uint16_t>((control_word & ~0x3Fu) | (mask_value & 0x3Fu));
}

// FNINIT, then RecordedControlWord loaded.
void ResetFpu();

// The run-time's start-up at process attach, after the recording: the machine's mask override,
// if it has one, then the reset.
void StartUpFpu();

}  // namespace err
