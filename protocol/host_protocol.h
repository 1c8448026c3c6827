// The records and callback codes the plug-in exchanges with its host.
//
// Every record is a packed little-endian byte image; the offsets below are
// the contract with the host and are pinned by tests. Records the plug-in
// sends start with their size and the interface version 4096.
//
//   uint8_t task[gw::task_record::kSize];
//   gw::TaskFields f; f.frameCount = n; ...
//   gw::taskRecordEncode(f, task);
//   gw::hostCall(params, nullptr, gw::kHostNewTask, 0, task);
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/calling_convention.h"
#include "platform/memory.h"
#include "platform/window.h"

namespace gw {

constexpr uint32_t kInterfaceVersion = 4096;

// task: the TaskRecord of codes 1/5 or null; p: a pointer or an integer in a
// pointer-sized slot. 0 means failure or "no".
using HostCallback = int32_t(GW_CDECL*)(void* task, int32_t code, int32_t a, void* p);

enum HostCode : int32_t {
  kHostNewTask = 1,
  kHostAddImage = 2,
  kHostComment = 3,
  kHostEndTask = 4,
  kHostNewTestTask = 5,
  kHostChooseImageFile = 6,
  kHostLoadImage = 8,
  kHostHelp = 9,
  kHostStage = 10,
  kHostPickColour = 11,
  kHostProgress = 13,
  kHostBackground = 15,
  kHostAnimation = 16,
  kHostSetting = 17,
  kHostBeforeBuild = 18,
  kHostBeforeFileDialog = 19,
  kHostAfterFileDialog = 20,
  kHostFileDialogSize = 21,
};

constexpr int32_t kBackgroundAsColour = 100;
constexpr int32_t kBackgroundAsIndex = 101;

namespace plugin_info {
constexpr size_t kSize = 0;
constexpr size_t kVersion = 4;
constexpr size_t kName = 8;
constexpr size_t kNameWidth = 261;
constexpr size_t kDescription = 269;
}  // namespace plugin_info

namespace host_params {
constexpr size_t kHostVersion = 4;  // unsigned 16-bit
constexpr size_t kCallback = 12;    // 32-bit wire pointer
constexpr size_t kHostFlags = 24;   // one byte
constexpr size_t kMinimumSize = 25;
constexpr uint8_t kFlagBackgroundAsIndex = 1;
constexpr uint8_t kFlagDelaysInHundredths = 2;  // the host counts time in hundredths of a second, else milliseconds
}  // namespace host_params

namespace task_record {
constexpr size_t kSize = 1069;
constexpr size_t kRecordSize = 0;
constexpr size_t kVersion = 4;
constexpr size_t kWindow = 8;
constexpr size_t kColourBits = 16;
constexpr size_t kWidth = 20;
constexpr size_t kHeight = 24;
constexpr size_t kPalette = 28;  // 768 bytes
constexpr size_t kFrameCount = 800;
constexpr size_t kTransparentIndex = 1065;
}  // namespace task_record

namespace image_record {
constexpr size_t kSize = 104;
constexpr size_t kRecordSize = 0;
constexpr size_t kVersion = 4;
constexpr size_t kImage = 8;
constexpr size_t kTransparent = 16;
constexpr size_t kDelay = 28;
constexpr size_t kIndex = 32;
constexpr size_t kTransparentIndex = 36;
}  // namespace image_record

namespace colour_pick_record {
constexpr size_t kSize = 28;
constexpr size_t kRecordSize = 0;
constexpr size_t kVersion = 4;
constexpr size_t kPalette = 8;
constexpr size_t kMode = 12;
constexpr size_t kColour = 20;
constexpr size_t kOwner = 24;
}  // namespace colour_pick_record

namespace animation_request {
constexpr size_t kSize = 345;
constexpr size_t kTag = 0;
constexpr size_t kRecordSize = 4;
constexpr size_t kVersion = 8;
constexpr size_t kMode = 12;
constexpr size_t kOwner = 16;
constexpr size_t kName = 20;
constexpr size_t kNameWidth = 260;
}  // namespace animation_request

namespace setting_value {
constexpr size_t kValue = 4;  // 32-bit wire pointer to the value
constexpr size_t kFlags = 8;
constexpr size_t kMinimumSize = 9;
constexpr uint8_t kFlagInteger = 4;
}  // namespace setting_value

// What the plug-in reads from the host's HostParams.
struct HostParamsView {
  uint16_t hostVersion = 0;
  HostCallback callback = nullptr;
  uint8_t hostFlags = 0;
};
HostParamsView hostParamsRead(const uint8_t* params);

// Calls the host; 0 when there is no host or no callback.
int32_t hostCall(const uint8_t* params, void* task, int32_t code, int32_t a, void* p);

// Asks the host for an integer setting (code 17); nothing when the host has
// none or its value is not flagged as an integer.
bool hostIntegerSetting(const uint8_t* params, const char* name, int32_t* out);

struct TaskFields {
  WindowId window = 0;
  uint32_t colourBits = 0;
  int32_t width = 0;
  int32_t height = 0;
  uint8_t palette[768] = {};
  uint32_t frameCount = 0;
  bool hasTransparentIndex = false;
  int32_t transparentIndex = 0;
};
void taskRecordEncode(const TaskFields& f, uint8_t* out1069);

struct ImageFields {
  MemHandle image = 0;
  bool transparent = false;
  int32_t delay = 0;
  int32_t index = 0;
  int32_t transparentIndex = 0;
};
void imageRecordEncode(const ImageFields& f, uint8_t* out104);

void colourPickRecordEncode(const uint8_t* palette768, uint32_t colour, WindowId owner,
                            uint8_t* out28);

void animationRequestEncode(const std::string& name, WindowId owner, uint8_t* out345);

}  // namespace gw
