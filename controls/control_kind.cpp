#include "controls/control_kind.h"

namespace gw {

const char* controlTag(ControlKind kind) {
  switch (kind) {
    case ControlKind::kCheckBox: return "CHKBOX";
    case ControlKind::kSpinField: return "SPNBTN";
    case ControlKind::kColourButton: return "CLRBTN";
    case ControlKind::kTextField: return "TXTFLD";
    case ControlKind::kDropDownList: return "CMBBOX";
    case ControlKind::kFontList: return "FNTBOX";
    case ControlKind::kShadowPad: return "SDWDIR";
    case ControlKind::kScroll4Pad: return "SCRL4D";
    case ControlKind::kScroll2Pad: return "SCRL2D";
    case ControlKind::kScrollHVPad: return "SCRLHV";
    case ControlKind::kFountainButton: return "FOUNTB";
    case ControlKind::kMaterialButton: return "MATLBT";
    case ControlKind::kAnimationSelector: return "ANMCTL";
    default: return nullptr;
  }
}

bool isPad(ControlKind kind) {
  return kind == ControlKind::kShadowPad || kind == ControlKind::kScroll4Pad ||
         kind == ControlKind::kScroll2Pad || kind == ControlKind::kScrollHVPad;
}

}  // namespace gw
