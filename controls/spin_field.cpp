#include "controls/spin_field.h"

#include <cctype>

#include "controls/control_kind.h"

namespace gw {
namespace {

// One "%d": optional white space, a sign, at least one digit. Values beyond
// 32 bits saturate rather than overflow.
bool scanInt(const std::string& s, size_t* at, int32_t* out) {
  size_t i = *at;
  while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  size_t digits = i;
  int64_t v = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    if (v <= INT64_C(0x100000000)) v = v * 10 + (s[i] - '0');
    ++i;
  }
  if (i == digits) return false;
  if (negative) v = -v;
  if (v > INT32_MAX) v = INT32_MAX;
  if (v < INT32_MIN) v = INT32_MIN;
  *out = int32_t(v);
  *at = i;
  return true;
}

}  // namespace

SpinRange parseSpinRange(const std::string& text) {
  int32_t values[3] = {};
  int count = 0;
  size_t at = 0;
  while (count < 3) {
    if (count > 0) {
      if (at >= text.size() || text[at] != ',') break;
      ++at;
    }
    if (!scanInt(text, &at, &values[count])) break;
    ++count;
  }
  SpinRange r;
  if (count >= 2) {
    r.min = values[0];
    r.max = values[1];
    r.hasRange = true;
  }
  if (count == 3) {
    r.pos = values[2];
    r.hasPos = true;
  }
  return r;
}

bool readEditNumber(const std::string& text, bool allowSign, int64_t* out) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (allowSign && i < text.size() && text[i] == '-') {
    negative = true;
    ++i;
  }
  size_t digits = i;
  int64_t v = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    v = v * 10 + (text[i] - '0');
    if (v > INT64_C(0xFFFFFFFF)) return false;
    ++i;
  }
  if (i == digits) return false;
  while (i < text.size() && text[i] == ' ') ++i;
  if (i != text.size()) return false;
  if (negative) v = -v;
  if (allowSign ? (v < INT32_MIN || v > INT32_MAX) : v > INT64_C(0xFFFFFFFF)) return false;
  *out = v;
  return true;
}

int32_t spinValueOf(const std::string& editText, const SpinRange& range) {
  int64_t v = 0;
  if (!readEditNumber(editText, range.min < 0, &v)) v = 0;
  // A reversed range in a template clamps to its lower end, like the min test first.
  if (v > range.max) v = range.max;
  if (v < range.min) v = range.min;
  return int32_t(v);
}

SpinRange spinFieldRange(const DialogFacade& dialog, uint32_t id) {
  return parseSpinRange(dialog.text(id + kSpinPartnerOffset));
}

int32_t spinFieldValue(const DialogFacade& dialog, uint32_t id) {
  return spinValueOf(dialog.text(id), spinFieldRange(dialog, id));
}

}  // namespace gw
