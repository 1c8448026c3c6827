// Wire pointers of the 64-bit Windows build, a test vehicle of the plug-in.
//
// There the plug-in and the program that loads it are two modules, each with
// its own copy of the core, so each would have its own registry and an id one
// of them writes into a record would mean nothing to the other. The program
// therefore exports its registry, and the plug-in uses it:
//
//   extern "C" __declspec(dllexport) const gw::WireRegistryOps* gwWireRegistry() {
//     return gw::moduleWireRegistry();
//   }
//
// A program that exports none leaves the plug-in with a registry of its own.
#pragma once

#include "platform/wire_registry.h"

namespace gw {

// This module's own registry (not the one the process shares).
const WireRegistryOps* moduleWireRegistry();

}  // namespace gw
