// The build: the selected effect renders every frame true-colour into a
// frame store; the frames are reduced to one palette (standard or computed),
// optionally supercompressed (unchanged pixels become a transparent index),
// remapped to 8-bit images and handed to the host, which receives, in order:
//   18; 13 and 10 "Building"; 10 and 13 per stage; 1 (or 5 for Test); 15;
//   2 for each frame; 3 when a comment is wanted; 4.
//
//   int ok = gw::runBuild(dialog, params, /*test=*/0);
//
// Options come from the main dialog's controls (ids in resource_ids.h). Every
// failure shows its message in the plug-in's own message box and frees all
// the build made; the Alpha transparency box a Test build clears is restored
// on every exit.
#pragma once

#include <cstdint>

#include "platform/dialog_facade.h"

namespace gw {

extern const char kTaskRefusedMessage[];   // "Error creating new task."
extern const char kImageRefusedMessage[];  // "There has been an error adding an image to the current file object."
extern const char kBuildCommentText[];
// Shown instead of "Memory error" when the frames would pass kFrameStoreBudget
// or a frame the effect's size limit.
extern const char kFrameBudgetMessage[];

struct EffectRow;

// Returns 1 when the host has received all frames, else 0.
int runBuild(DialogFacade& dialog, const uint8_t* hostParams, int testFlag);

// The same with the effect given rather than taken from the effect list:
// tests build with effects of their own.
int runBuildWithEffect(DialogFacade& dialog, const uint8_t* hostParams, int testFlag, const EffectRow& row);

}  // namespace gw
