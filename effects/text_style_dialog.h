// Reads a TextStyle from the main dialog and an effect's page, as the frame
// renderer's inputs are read at every call.
//
//   gw::StylePage page = gw::kSimpleStylePage;        // the page's control ids
//   gw::TextStyle style = gw::readTextStyle(dialog, page, /*alphaMask=*/false);
//
// Numbers are taken from the controls' texts (spin fields show their value,
// colour buttons and pads mirror theirs as unsigned decimal) and clamped to
// the ranges the controls allow, so a hand-edited configuration never brings
// an out-of-range value into the renderer. A material button's record is the
// block its binding holds; a button without one paints with the colour a new
// material of that button would have.
#pragma once

#include <cstdint>

#include "effects/text_styling.h"
#include "platform/dialog_facade.h"

namespace gw {

// The page controls an effect's frame renderer reads; 0 for one the page
// lacks (its layer is then off, or its default used).
struct StylePage {
  uint32_t fillMaterial;
  uint32_t fillOpacity;
  uint32_t shadowEnable;
  uint32_t shadowMaterial;
  uint32_t shadowOpacity;
  uint32_t shadowOffset;
  uint32_t shadowDirection;
  uint32_t softness;
  uint32_t outlineEnable;
  uint32_t outlineColour;
  uint32_t backgroundMaterial;
};

// Main dialog inputs only (text, font, antialias, spacing, padding, alpha
// background); the page's fields keep their defaults.
TextStyle readMainTextStyle(const DialogFacade& dialog);

// The whole style. `alphaMask` asks for the alpha mask; callers pass true
// only in a build (never for the sample) with "Alpha transparency" checked.
TextStyle readTextStyle(const DialogFacade& dialog, const StylePage& page, bool alphaMask);

// The record of material button `id`, or, when it has none, a new default
// record in the button's starting colour; a colour button gives a plain
// material of its colour. False when the button does not exist.
bool readMaterialButton(const DialogFacade& dialog, uint32_t id, MaterialBytes* out);

// Helpers shared by effects that read their own page controls.
int32_t controlNumber(const DialogFacade& dialog, uint32_t id, int32_t lo, int32_t hi, int32_t fallback);
// A colour button's or pad's value: its text as unsigned decimal, taken as 32 bits.
int32_t controlWord(const DialogFacade& dialog, uint32_t id, int32_t fallback);

}  // namespace gw
