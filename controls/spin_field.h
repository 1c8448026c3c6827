// Spin fields: an edit N and its up-down partner N + 10000, whose template
// text "min,max,def" gives the range and the starting arrow position.
//
//   gw::SpinRange r = gw::parseSpinRange("1,1000,10");
//   int32_t v = gw::spinValueOf("9999", r);   // 1000; the edit keeps "9999"
#pragma once

#include <cstdint>
#include <string>

#include "platform/dialog_facade.h"

namespace gw {

struct SpinRange {
  int32_t min = 0;  // without a range in the text, values clamp to 0..100
  int32_t max = 100;
  bool hasRange = false;  // the text gave both min and max
  int32_t pos = 0;
  bool hasPos = false;    // the text gave the third number
};

// Reads up to three signed decimals separated by commas, in the manner of
// sscanf "%d,%d,%d": parsing stops at the first piece that does not fit.
SpinRange parseSpinRange(const std::string& text);

// The number an edit holds, read as a dialog reads an integer from a
// control: blanks, an optional "-" (only when `allowSign`), digits, blanks.
// False for anything else or a value out of 32 bits.
bool readEditNumber(const std::string& text, bool allowSign, int64_t* out);

// The field's value: the edit's number clamped to the range, read as signed
// only when min is negative; an edit without a number gives 0, clamped.
int32_t spinValueOf(const std::string& editText, const SpinRange& range);

// The same through a dialog: the edit's text and the partner's range text.
int32_t spinFieldValue(const DialogFacade& dialog, uint32_t id);
SpinRange spinFieldRange(const DialogFacade& dialog, uint32_t id);

}  // namespace gw
