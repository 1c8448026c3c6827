// The kinds of bound control, and the six-letter tag each writes in effect
// documents. Labels, group boxes and push buttons are kinds too so that a page
// table can list every control of a page.
#pragma once

#include <cstdint>

namespace gw {

enum class ControlKind : uint8_t {
  kNone,              // not bound
  kLabel,             // static text; never serialised
  kGroupBox,
  kPushButton,
  kCheckBox,          // CHKBOX
  kSpinField,         // SPNBTN: edit N and its up-down N + 10000
  kColourButton,      // CLRBTN
  kTextField,         // TXTFLD
  kDropDownList,      // CMBBOX
  kFontList,          // FNTBOX
  kShadowPad,         // SDWDIR
  kScroll4Pad,        // SCRL4D
  kScroll2Pad,        // SCRL2D
  kScrollHVPad,       // SCRLHV
  kFountainButton,    // FOUNTB
  kMaterialButton,    // MATLBT
  kAnimationSelector, // ANMCTL
};

// The document tag of a kind, or null for kinds that write no line.
const char* controlTag(ControlKind kind);
bool isPad(ControlKind kind);

// Up-down partners of spin fields carry this offset on their edit's id.
constexpr uint32_t kSpinPartnerOffset = 10000;

}  // namespace gw
