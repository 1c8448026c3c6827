// The spin shared by "Quark" and "Quark Outline": each letter turns in the
// picture plane about its own pivot, neighbours in opposite senses.
#pragma once

#include <cstdint>
#include <memory>

#include "effects/letter_animation.h"

namespace gw {

struct QuarkPage {
  StylePage style;
  uint32_t rotation, xOffset, yOffset, initRotation;
};

// `outlineOnly`: the letters are drawn as their outlines, in the fill material.
std::unique_ptr<LetterAnimation> makeQuarkSpin(const DialogFacade& dialog, bool alphaMask, const QuarkPage& page,
                                               bool outlineOnly);

}  // namespace gw
