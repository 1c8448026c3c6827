#include "protocol/host_protocol.h"

#include <cstring>

#include "base/le_bytes.h"
#include "platform/wire_pointer.h"

namespace gw {

HostParamsView hostParamsRead(const uint8_t* params) {
  HostParamsView v;
  if (!params) return v;
  v.hostVersion = readU16(params + host_params::kHostVersion);
  v.callback = reinterpret_cast<HostCallback>(pointerFromWire(readU32(params + host_params::kCallback)));
  v.hostFlags = params[host_params::kHostFlags];
  return v;
}

int32_t hostCall(const uint8_t* params, void* task, int32_t code, int32_t a, void* p) {
  HostCallback cb = hostParamsRead(params).callback;
  return cb ? cb(task, code, a, p) : 0;
}

bool hostIntegerSetting(const uint8_t* params, const char* name, int32_t* out) {
  int32_t result = hostCall(params, nullptr, kHostSetting, 0, const_cast<char*>(name));
  // The host answers with a pointer to its SettingValue record.
  const auto* record = static_cast<const uint8_t*>(pointerFromWire(uint32_t(result)));
  if (!record) return false;
  if (!(record[setting_value::kFlags] & setting_value::kFlagInteger)) return false;
  const auto* value = static_cast<const uint8_t*>(pointerFromWire(readU32(record + setting_value::kValue)));
  if (!value) return false;
  *out = readI32(value);
  return true;
}

void taskRecordEncode(const TaskFields& f, uint8_t* out) {
  std::memset(out, 0, task_record::kSize);
  writeU32(out + task_record::kRecordSize, task_record::kSize);
  writeU32(out + task_record::kVersion, kInterfaceVersion);
  writeU32(out + task_record::kWindow, f.window);
  writeU32(out + task_record::kColourBits, f.colourBits);
  writeI32(out + task_record::kWidth, f.width);
  writeI32(out + task_record::kHeight, f.height);
  std::memcpy(out + task_record::kPalette, f.palette, 768);
  writeU32(out + task_record::kFrameCount, f.frameCount);
  if (f.hasTransparentIndex) writeI32(out + task_record::kTransparentIndex, f.transparentIndex);
}

void imageRecordEncode(const ImageFields& f, uint8_t* out) {
  std::memset(out, 0, image_record::kSize);
  writeU32(out + image_record::kRecordSize, image_record::kSize);
  writeU32(out + image_record::kVersion, kInterfaceVersion);
  writeU32(out + image_record::kImage, f.image);
  writeU32(out + image_record::kTransparent, f.transparent ? 1 : 0);
  writeI32(out + image_record::kDelay, f.delay);
  writeI32(out + image_record::kIndex, f.index);
  writeI32(out + image_record::kTransparentIndex, f.transparentIndex);
}

void colourPickRecordEncode(const uint8_t* palette768, uint32_t colour, WindowId owner, uint8_t* out) {
  std::memset(out, 0, colour_pick_record::kSize);
  writeU32(out + colour_pick_record::kRecordSize, colour_pick_record::kSize);
  writeU32(out + colour_pick_record::kVersion, kInterfaceVersion);
  writeU32(out + colour_pick_record::kPalette, wireFromPointer(palette768));
  writeU32(out + colour_pick_record::kMode, 24);
  writeU32(out + colour_pick_record::kColour, colour);
  writeU32(out + colour_pick_record::kOwner, owner);
}

void animationRequestEncode(const std::string& name, WindowId owner, uint8_t* out) {
  std::memset(out, 0, animation_request::kSize);
  std::memcpy(out + animation_request::kTag, "ANMp", 4);
  writeU32(out + animation_request::kRecordSize, animation_request::kSize);
  writeU32(out + animation_request::kVersion, kInterfaceVersion);
  writeU32(out + animation_request::kMode, 1);
  writeU32(out + animation_request::kOwner, owner);
  writeFixedText(out + animation_request::kName, animation_request::kNameWidth, name.c_str());
}

}  // namespace gw
