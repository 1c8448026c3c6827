// One control of an effect's parameter page, as the page tables list them:
// what the control is, which configuration key it is bound to, and for a spin
// field the "min,max,def" text its up-down partner carries in the template.
// A test checks every table against the compiled page templates.
#pragma once

#include <cstdint>

#include "controls/control_kind.h"

namespace gw {

struct PageControl {
  uint32_t id;       // 0 ends a table
  ControlKind kind;
  const char* key;   // the bound key, or null (labels, material buttons)
  const char* range; // spin fields: the partner's text; else null
  int32_t initialValue;   // material buttons: the colour of a new material; controls
                          // without a key: the value they start with
};

}  // namespace gw
