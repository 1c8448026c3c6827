#include <gtest/gtest.h>

#include <vector>

#include "base/le_bytes.h"
#include "protocol/host_protocol.h"
#include "platform/wire_pointer.h"

namespace gw {
namespace {

TEST(HostRecords, SizesAndOffsetsArePinned) {
  EXPECT_EQ(task_record::kSize, 1069u);
  EXPECT_EQ(task_record::kColourBits, 16u);
  EXPECT_EQ(task_record::kPalette, 28u);
  EXPECT_EQ(task_record::kFrameCount, 800u);
  EXPECT_EQ(task_record::kTransparentIndex, 1065u);
  EXPECT_EQ(image_record::kSize, 104u);
  EXPECT_EQ(image_record::kDelay, 28u);
  EXPECT_EQ(image_record::kTransparentIndex, 36u);
  EXPECT_EQ(colour_pick_record::kSize, 28u);
  EXPECT_EQ(animation_request::kSize, 345u);
  EXPECT_EQ(animation_request::kName + animation_request::kNameWidth + 65, 345u);
  EXPECT_EQ(plugin_info::kDescription, plugin_info::kName + plugin_info::kNameWidth);
}

TEST(HostRecords, TaskRecordBytes) {
  TaskFields f;
  f.window = 0x1234;
  f.colourBits = 8;
  f.width = 320;
  f.height = 200;
  f.palette[0] = 1;
  f.palette[767] = 2;
  f.frameCount = 64;
  std::vector<uint8_t> rec(task_record::kSize + 1, 0xEE);
  taskRecordEncode(f, rec.data());
  EXPECT_EQ(readU32(&rec[0]), 1069u);
  EXPECT_EQ(readU32(&rec[4]), 4096u);
  EXPECT_EQ(readU32(&rec[8]), 0x1234u);
  EXPECT_EQ(readU32(&rec[12]), 0u);
  EXPECT_EQ(readU32(&rec[16]), 8u);
  EXPECT_EQ(readI32(&rec[20]), 320);
  EXPECT_EQ(readI32(&rec[24]), 200);
  EXPECT_EQ(rec[28], 1);
  EXPECT_EQ(rec[28 + 767], 2);
  EXPECT_EQ(readU32(&rec[796]), 0u);
  EXPECT_EQ(readU32(&rec[800]), 64u);
  // Transparent off: the unaligned field stays 0.
  EXPECT_EQ(readU32(&rec[1065]), 0u);
  EXPECT_EQ(rec[1069], 0xEE);
  f.hasTransparentIndex = true;
  f.transparentIndex = 0xFE;
  taskRecordEncode(f, rec.data());
  EXPECT_EQ(readU32(&rec[1065]), 0xFEu);
  EXPECT_EQ(rec[1064], 0);
}

TEST(HostRecords, ImageAndColourPickAndAnimationRequestBytes) {
  uint8_t img[image_record::kSize];
  ImageFields f;
  f.image = 77;
  f.transparent = true;
  f.delay = 12;
  f.index = 3;
  f.transparentIndex = 255;
  imageRecordEncode(f, img);
  EXPECT_EQ(readU32(img + 0), 104u);
  EXPECT_EQ(readU32(img + 4), 4096u);
  EXPECT_EQ(readU32(img + 8), 77u);
  EXPECT_EQ(readU32(img + 16), 1u);
  EXPECT_EQ(readU32(img + 28), 12u);
  EXPECT_EQ(readU32(img + 32), 3u);
  EXPECT_EQ(readU32(img + 36), 255u);

  uint8_t palette[768] = {};
  uint8_t pick[colour_pick_record::kSize];
  colourPickRecordEncode(palette, 0x00112233, 9, pick);
  EXPECT_EQ(readU32(pick + 0), 28u);
  EXPECT_EQ(pointerFromWire(readU32(pick + 8)), palette);
  EXPECT_EQ(readU32(pick + 12), 24u);
  EXPECT_EQ(readU32(pick + 20), 0x00112233u);
  EXPECT_EQ(readU32(pick + 24), 9u);

  uint8_t req[animation_request::kSize];
  animationRequestEncode(std::string(300, 'x'), 5, req);
  EXPECT_EQ(std::memcmp(req, "ANMp", 4), 0);
  EXPECT_EQ(readU32(req + 4), 345u);
  EXPECT_EQ(readU32(req + 12), 1u);
  EXPECT_EQ(readU32(req + 16), 5u);
  EXPECT_EQ(fixedTextLength(req + 20, 260), 259u);  // cut, and terminated
}

struct Answer {
  static int32_t GW_CDECL callback(void*, int32_t code, int32_t, void* p) {
    if (code != kHostSetting) return 0;
    std::string name = static_cast<const char*>(p);
    if (name == "Integer") return int32_t(wireFromPointer(integerRecord));
    if (name == "NotInteger") return int32_t(wireFromPointer(textRecord));
    return 0;
  }
  static uint8_t integerRecord[12];
  static uint8_t textRecord[12];
  static uint8_t value[4];
};
uint8_t Answer::integerRecord[12];
uint8_t Answer::textRecord[12];
uint8_t Answer::value[4];

TEST(HostCalls, IntegerSettingIsReadOnlyWhenFlagged) {
  writeI32(Answer::value, 42);
  writeU32(Answer::integerRecord + 4, wireFromPointer(Answer::value));
  Answer::integerRecord[8] = 4;
  writeU32(Answer::textRecord + 4, wireFromPointer(Answer::value));
  Answer::textRecord[8] = 1;
  uint8_t params[32] = {};
  writeU16(params + 4, 0x1000);
  writeU32(params + 12, wireFromPointer(reinterpret_cast<void*>(&Answer::callback)));
  int32_t v = 0;
  EXPECT_TRUE(hostIntegerSetting(params, "Integer", &v));
  EXPECT_EQ(v, 42);
  v = 0;
  EXPECT_FALSE(hostIntegerSetting(params, "NotInteger", &v));
  EXPECT_FALSE(hostIntegerSetting(params, "Missing", &v));
  EXPECT_EQ(v, 0);
  uint8_t noHost[32] = {};
  EXPECT_EQ(hostCall(noHost, nullptr, kHostStage, 0, nullptr), 0);
  EXPECT_EQ(hostCall(nullptr, nullptr, kHostStage, 0, nullptr), 0);
}

}  // namespace
}  // namespace gw
