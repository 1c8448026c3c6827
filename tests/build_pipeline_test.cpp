// The build as a host sees it, with effects made up for the test so every
// frame's pixels are known.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/render_host.h"
#include "effects/effect_table.h"
#include "host/build_pipeline.h"
#include "protocol/frame_store.h"
#include "protocol/host_protocol.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/message_dialog.h"
#include "resources/resource_ids.h"
#include "tests/allocation_failures.h"

namespace gw {
namespace {

constexpr uint32_t kGrey = 0x7F7F7F;

// Frames of 6 x 4 pixels on a grey background; frame i paints `colours[i]`
// into column i % 6 of row 1, so consecutive frames differ in a few pixels.
struct FakeEffect {
  static std::vector<uint32_t> colours;
  static int32_t backgroundAnswer[2];  // for flag 0 and flag 1
  static bool failBuild;
  static uint32_t extraColours;         // distinct colours added to frame 0's bottom rows

  static int build(EffectContext& ctx) {
    if (failBuild) return 0;
    for (size_t i = 0; i < colours.size(); ++i) {
      int32_t w = 6, h = 4 + int32_t((extraColours + 5) / 6);
      MemBlock bmp(bitmapCreateTrueColour(w, h, 24));
      MemLock lock(bmp.get());
      BitmapView v = BitmapView::of(lock);
      for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) v.setPixel(x, y, kGrey);
      v.setPixel(int32_t(i % 6), 1, colours[i]);
      for (uint32_t k = 0; k < extraColours; ++k)
        v.setPixel(int32_t(k % 6), 4 + int32_t(k / 6), 0x010000u * (k + 1) + 0x20);
      if (!frameStoreAppendFrame(*ctx.frameStore, bmp.get(), 10 + int32_t(i))) return 0;
      bmp.release();
    }
    return 1;
  }
  static int32_t query(DialogFacade&, int flag) { return backgroundAnswer[flag ? 1 : 0]; }
};
std::vector<uint32_t> FakeEffect::colours;
int32_t FakeEffect::backgroundAnswer[2];
bool FakeEffect::failBuild;
uint32_t FakeEffect::extraColours;

const EffectRow kFakeRow = {"Fake", 7400, nullptr, nullptr, &FakeEffect::build, &FakeEffect::query, nullptr, 0};

DialogTemplate optionsTemplate() {
  DialogTemplate t;
  for (uint32_t id : {IDC_TRUE_COLOUR, IDC_CUSTOM_PALETTE, IDC_DITHER, IDC_SUPERCOMPRESS, IDC_ADD_COMMENT,
                      IDC_MASK_BACKGROUND, IDC_TRANSPARENT, IDC_ALPHA_TRANSPARENCY, IDC_ALPHA_BACKGROUND}) {
    DialogItem item;
    item.id = id;
    item.className = "Button";
    t.items.push_back(item);
  }
  for (uint32_t id : {IDC_PALETTE, IDC_EFFECT}) {
    DialogItem item;
    item.id = id;
    item.className = "ComboBox";
    t.items.push_back(item);
  }
  return t;
}

class BuildPipelineTest : public ::testing::Test {
 protected:
  BuildPipelineTest() : dialog(optionsTemplate()) {
    for (int i = 0; i < 9; ++i) dialog.addItem(IDC_PALETTE, "palette");
    dialog.setSelection(IDC_PALETTE, 6);
    FakeEffect::colours = {0x0000FF, 0x00FF00, 0xFF0000};
    FakeEffect::backgroundAnswer[0] = int32_t(kGrey);
    FakeEffect::backgroundAnswer[1] = int32_t(kGrey);
    FakeEffect::failBuild = false;
    FakeEffect::extraColours = 0;
    setMessageResponder([this](const std::string&, const std::string& text) {
      messages.push_back(text);
      return 1;
    });
    blocksBefore = testing::liveBlockCount();
  }
  ~BuildPipelineTest() override {
    setMessageResponder(nullptr);
    EXPECT_EQ(testing::liveBlockCount(), blocksBefore) << "the build left blocks behind";
  }

  int build(int test = 0) { return runBuildWithEffect(dialog, host.params(), test, kFakeRow); }

  // The calls as short words: "13:i:n", "10:Stage", "15:100:colour", plain codes otherwise.
  std::vector<std::string> sequence() const {
    std::vector<std::string> out;
    for (const auto& c : host.calls()) {
      if (c.code == kHostProgress) out.push_back("13:" + std::to_string(c.a) + ":" + std::to_string(c.p));
      else if (c.code == kHostStage) out.push_back("10:" + c.text);
      else if (c.code == kHostBackground) out.push_back("15:" + std::to_string(c.a) + ":" + std::to_string(c.p));
      else if (c.code == kHostEndTask) out.push_back("4:" + std::to_string(c.a));
      else out.push_back(std::to_string(c.code));
    }
    return out;
  }
  const cli::HostCallRecord* firstCall(int32_t code) const {
    for (const auto& c : host.calls())
      if (c.code == code) return &c;
    return nullptr;
  }
  uint32_t paletteEntry(int index) const {
    const uint8_t* p = host.animation().palette + index * 3;
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16);
  }
  BitmapView frameView(size_t i) {
    auto& dib = const_cast<std::vector<uint8_t>&>(host.animation().frames[i].dib);
    return BitmapView::over(dib.data(), dib.size());
  }

  InMemoryDialog dialog;
  cli::RenderHost host;
  std::vector<std::string> messages;
  long blocksBefore = 0;
};

TEST_F(BuildPipelineTest, StandardPaletteBuildSendsTheFixedSequence) {
  ASSERT_EQ(build(), 1);
  std::vector<std::string> expected = {"18",        "13:0:0",     "10:Building", "10:Building", "13:0:0",
                                       "13:0:0",    "13:0:0",     "10:Remapping", "13:0:3",     "13:1:3",
                                       "13:2:3",    "13:0:0",     "1",           "15:100:" + std::to_string(kGrey),
                                       "2",         "2",          "2",           "4:1"};
  EXPECT_EQ(sequence(), expected);
  EXPECT_TRUE(messages.empty());

  const auto& a = host.animation();
  EXPECT_FALSE(a.testTask);
  EXPECT_EQ(a.colourBits, 8u);
  EXPECT_EQ(a.width, 6);
  EXPECT_EQ(a.height, 4);
  EXPECT_EQ(a.frameCount, 3u);
  EXPECT_EQ(a.taskTransparentIndex, 0);
  ASSERT_EQ(a.frames.size(), 3u);
  // The 256-colour orthogonal palette: entry r*32 + g*4 + b.
  EXPECT_EQ(paletteEntry(7 * 32 + 0 * 4 + 0), 0x0000FFu);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(a.frames[i].delay, 10 + int32_t(i));
    EXPECT_EQ(a.frames[i].index, int32_t(i));
    EXPECT_EQ(a.frames[i].transparentIndex, -1);
    EXPECT_FALSE(a.frames[i].transparent);
    BitmapView v = frameView(i);
    ASSERT_TRUE(v.valid());
    EXPECT_EQ(v.bits(), 8);
  }
  // Pure red is in the palette, so it maps exactly.
  EXPECT_EQ(frameView(0).getPixel(0, 1), 7 * 32);

  // Records carry size and version, and the image record the frame's fields.
  const auto* task = firstCall(kHostNewTask);
  ASSERT_NE(task, nullptr);
  EXPECT_EQ(readU32(&task->record[0]), 1069u);
  EXPECT_EQ(readU32(&task->record[4]), 4096u);
  EXPECT_EQ(readU32(&task->record[8]), dialog.window());
  const auto* image = firstCall(kHostAddImage);
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(image->hadTask);
  EXPECT_EQ(readU32(&image->record[0]), 104u);
  EXPECT_EQ(readU32(&image->record[28]), 10u);
}

TEST_F(BuildPipelineTest, CustomPaletteWithoutMaskEndsWithTheBackground) {
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  FakeEffect::backgroundAnswer[0] = 0x123456;  // not a colour of any frame
  ASSERT_EQ(build(), 1);
  auto seq = sequence();
  // Quantizing comes after the build's closing progress marks.
  auto at = std::find(seq.begin(), seq.end(), "10:Quantizing");
  ASSERT_NE(at, seq.end());
  EXPECT_EQ(*(at - 1), "13:0:0");
  EXPECT_EQ(*(at + 1), "13:0:0");
  // Four frame colours (grey, red, green, blue) then the background: n = 5.
  EXPECT_EQ(host.animation().colourBits, 3u);
  EXPECT_EQ(paletteEntry(4), 0x123456u);
  std::set<uint32_t> first4;
  for (int i = 0; i < 4; ++i) first4.insert(paletteEntry(i));
  EXPECT_EQ(first4, (std::set<uint32_t>{kGrey, 0x0000FF, 0x00FF00, 0xFF0000}));
}

// The background takes a free entry; only a palette the quantizer had to
// reduce gives up its nearest entry to it, and one that holds every frame
// colour exactly keeps them all.
TEST_F(BuildPipelineTest, BackgroundJoinsTheCustomPaletteWithoutTakingAFrameColour) {
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  FakeEffect::backgroundAnswer[0] = 0x000021;  // nearest to the first extra colour 0x010020
  struct Case {
    uint32_t extra;      // colours in all: 4 + extra
    bool backgroundIn;   // the background is in the palette
    int nearestKept;     // 0x010020 is still there (-1: the quantizer merged it, either way)
  } cases[] = {{250, true, 1}, {251, true, 1}, {252, false, 1}, {300, true, -1}};
  for (const Case& c : cases) {
    FakeEffect::extraColours = c.extra;
    host.clear();
    ASSERT_EQ(build(), 1);
    EXPECT_EQ(host.animation().colourBits, 8u);
    bool found = false, nearestFound = false;
    for (int i = 0; i < 256; ++i) {
      found |= paletteEntry(i) == 0x000021u;
      nearestFound |= paletteEntry(i) == 0x010020u;
    }
    EXPECT_EQ(found, c.backgroundIn) << c.extra;
    if (c.nearestKept >= 0) {
      EXPECT_EQ(nearestFound, c.nearestKept == 1) << c.extra;
    }
  }
}

// The effect's frames have a uniform grey background (both queries answer
// grey), so Transparent stays on.
TEST_F(BuildPipelineTest, MaskBackgroundReservesIndexNForTheBackground) {
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  dialog.setChecked(IDC_MASK_BACKGROUND, true);
  dialog.setChecked(IDC_TRANSPARENT, true);
  ASSERT_EQ(build(), 1);
  const auto& a = host.animation();
  // Grey, red, green, blue: n = 4, the background at index 4, bits for 5.
  EXPECT_EQ(a.colourBits, 3u);
  EXPECT_EQ(paletteEntry(4), kGrey);
  EXPECT_EQ(a.taskTransparentIndex, 4);
  for (const auto& f : a.frames) {
    EXPECT_EQ(f.transparentIndex, 4);
    EXPECT_TRUE(f.transparent);
  }
  // Background pixels take the reserved index, never the grey found by the quantizer.
  EXPECT_EQ(frameView(0).getPixel(5, 3), 4);
}

TEST_F(BuildPipelineTest, MaskBackgroundLimitsTheQuantizerTo255) {
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  dialog.setChecked(IDC_MASK_BACKGROUND, true);
  FakeEffect::extraColours = 300;  // more colours than fit
  ASSERT_EQ(build(), 1);
  EXPECT_EQ(host.animation().colourBits, 8u);
  EXPECT_EQ(paletteEntry(255), kGrey);  // n = 255: the reserved slot is the last
}

TEST_F(BuildPipelineTest, SupercompressionMarksUnchangedPixels) {
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  dialog.setChecked(IDC_SUPERCOMPRESS, true);
  dialog.setChecked(IDC_TRANSPARENT, true);  // turned off by supercompression
  ASSERT_EQ(build(), 1);
  const auto& a = host.animation();
  auto seq = sequence();
  EXPECT_NE(std::find(seq.begin(), seq.end(), "10:Supercompressing"), seq.end());
  // Grey, red, green, blue; the grey background is among them already, so
  // nothing is added: the reserved index is 4.
  const int index = 4;
  EXPECT_EQ(paletteEntry(index), kGrey);
  EXPECT_EQ(a.colourBits, 3u);
  EXPECT_EQ(a.taskTransparentIndex, 0);
  EXPECT_EQ(a.frames[0].transparentIndex, -1);
  for (size_t i = 1; i < a.frames.size(); ++i) {
    EXPECT_EQ(a.frames[i].transparentIndex, index);
    BitmapView v = frameView(i);
    // Only this frame's new pixel and the one the previous frame painted changed.
    EXPECT_NE(v.getPixel(int32_t(i), 1), index);
    EXPECT_NE(v.getPixel(int32_t(i - 1), 1), index);
    EXPECT_EQ(v.getPixel(5, 3), index);
    const uint8_t* entry = v.colourTable() + index * 4;
    EXPECT_EQ(uint32_t(entry[2] | (entry[1] << 8) | (entry[0] << 16)), kGrey);
  }
}

TEST_F(BuildPipelineTest, OneFrameBuildNeverSupercompresses) {
  FakeEffect::colours = {0x0000FF};
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  dialog.setChecked(IDC_SUPERCOMPRESS, true);
  ASSERT_EQ(build(), 1);
  auto seq = sequence();
  EXPECT_EQ(std::find(seq.begin(), seq.end(), "10:Supercompressing"), seq.end());
  EXPECT_EQ(host.animation().frames[0].transparentIndex, -1);
}

TEST_F(BuildPipelineTest, TestBuildWithAlphaBuildsAsClearAndLeavesTheBoxSet) {
  dialog.setChecked(IDC_ALPHA_TRANSPARENCY, true);
  ASSERT_EQ(build(1), 1);
  EXPECT_TRUE(dialog.checked(IDC_ALPHA_TRANSPARENCY));
  const auto& a = host.animation();
  EXPECT_TRUE(a.testTask);
  EXPECT_EQ(a.colourBits, 8u);  // not true colour
  EXPECT_FALSE(a.frames[0].transparent);
}

TEST_F(BuildPipelineTest, AlphaBuildHandsOverTrueColourFlaggedTransparent) {
  dialog.setChecked(IDC_ALPHA_TRANSPARENCY, true);
  dialog.setChecked(IDC_TRANSPARENT, true);
  ASSERT_EQ(build(0), 1);
  const auto& a = host.animation();
  EXPECT_EQ(a.colourBits, 8u);  // the standard palette's: the frames are true colour
  EXPECT_EQ(frameView(0).bits(), 24);
  EXPECT_TRUE(a.frames[0].transparent);
  EXPECT_EQ(a.frames[0].transparentIndex, 0);
  EXPECT_EQ(a.taskTransparentIndex, 0);
}

TEST_F(BuildPipelineTest, NoUniformBackgroundSwitchesMaskAndTransparencyOff) {
  FakeEffect::backgroundAnswer[0] = -1;
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  dialog.setChecked(IDC_MASK_BACKGROUND, true);
  dialog.setChecked(IDC_TRANSPARENT, true);
  ASSERT_EQ(build(), 1);
  const auto& a = host.animation();
  EXPECT_EQ(a.taskTransparentIndex, 0);
  EXPECT_EQ(a.frames[0].transparentIndex, -1);
  EXPECT_FALSE(a.frames[0].transparent);
  EXPECT_EQ(a.colourBits, 2u);  // four colours, no reserved slot, no background added
}

TEST_F(BuildPipelineTest, FramesWithoutAUniformBackgroundAreNotMadeTransparent) {
  FakeEffect::backgroundAnswer[1] = -1;  // the frames' backgrounds vary
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  dialog.setChecked(IDC_TRANSPARENT, true);
  dialog.setChecked(IDC_MASK_BACKGROUND, true);
  ASSERT_EQ(build(), 1);
  const auto& a = host.animation();
  EXPECT_EQ(a.taskTransparentIndex, 0);
  EXPECT_FALSE(a.frames[0].transparent);
  EXPECT_EQ(a.frames[0].transparentIndex, -1);
  EXPECT_EQ(paletteEntry(4), kGrey);  // Mask background still reserves the slot
}

TEST_F(BuildPipelineTest, BackgroundAsIndexWhenTheHostAsks) {
  host.setBackgroundAsIndex(true);
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  dialog.setChecked(IDC_MASK_BACKGROUND, true);
  ASSERT_EQ(build(), 1);
  const auto* bg = firstCall(kHostBackground);
  ASSERT_NE(bg, nullptr);
  EXPECT_EQ(bg->a, 101);
  EXPECT_EQ(bg->p, 4);
}

// A standard palette has no slot of its own for the background: no entry is
// marked transparent (text pixels that map to the nearest entry would vanish).
TEST_F(BuildPipelineTest, StandardPaletteWithTransparentMarksNoIndex) {
  dialog.setChecked(IDC_TRANSPARENT, true);
  ASSERT_EQ(build(), 1);
  const auto& a = host.animation();
  EXPECT_EQ(a.taskTransparentIndex, -1);
  for (const auto& f : a.frames) {
    EXPECT_EQ(f.transparentIndex, -1);
    EXPECT_TRUE(f.transparent);
  }
}

// Code 15 as a colour: the background, or -1 for an effect without one.
TEST_F(BuildPipelineTest, BackgroundColourCodeCarriesMinusOneWithoutABackground) {
  ASSERT_EQ(build(), 1);
  EXPECT_EQ(firstCall(kHostBackground)->p, int64_t(kGrey));
  host.clear();
  FakeEffect::backgroundAnswer[0] = -1;
  ASSERT_EQ(build(), 1);
  const auto* bg = firstCall(kHostBackground);
  ASSERT_NE(bg, nullptr);
  EXPECT_EQ(bg->a, 100);
  EXPECT_EQ(uint32_t(bg->p), 0xFFFFFFFFu);
  EXPECT_EQ(host.animation().background, 0xFFFFFFFFu);
}

// True-colour frames keep the bits of the chosen standard palette in the task
// record, as hosts have always received them; the frames themselves are 24-bit.
TEST_F(BuildPipelineTest, TrueColourTaskCarriesTheStandardPalettesBits) {
  dialog.setChecked(IDC_TRUE_COLOUR, true);
  dialog.setSelection(IDC_PALETTE, 1);  // "Sixteen-color Windows"
  ASSERT_EQ(build(), 1);
  const auto& a = host.animation();
  EXPECT_EQ(a.colourBits, 4u);
  EXPECT_EQ(paletteEntry(9), 0x0000FFu);
  EXPECT_EQ(frameView(0).bits(), 24);
}

// Frames with no more colours than the palette may hold come back with every
// one of them, whatever the background and the options.
TEST_F(BuildPipelineTest, FewColoursComeBackExactly) {
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  FakeEffect::colours = {0x0000FF};
  struct Case {
    uint32_t extra;  // frame colours: grey, red and these
    int32_t background;
    bool mask, supercompress;
  } cases[] = {{252, 0x000021, false, false}, {252, int32_t(kGrey), false, false}, {254, 0x000021, false, false},
               {253, 0x000021, true, false},  {253, 0x000021, false, true},        {100, 0x000021, false, false}};
  for (const Case& c : cases) {
    FakeEffect::extraColours = c.extra;
    FakeEffect::backgroundAnswer[0] = FakeEffect::backgroundAnswer[1] = c.background;
    dialog.setChecked(IDC_MASK_BACKGROUND, c.mask);
    dialog.setChecked(IDC_SUPERCOMPRESS, c.supercompress);
    host.clear();
    ASSERT_EQ(build(), 1);
    std::set<uint32_t> shown;
    BitmapView v = frameView(0);
    for (int32_t y = 0; y < v.height(); ++y)
      for (int32_t x = 0; x < v.width(); ++x) {
        const int64_t index = v.getPixel(x, y);
        const uint8_t* e = v.colourTable() + index * 4;
        shown.insert(uint32_t(e[2]) | uint32_t(e[1]) << 8 | uint32_t(e[0]) << 16);
      }
    std::set<uint32_t> wanted = {kGrey, 0x0000FF};
    for (uint32_t k = 0; k < c.extra; ++k) wanted.insert(0x010000u * (k + 1) + 0x20);
    EXPECT_EQ(shown, wanted) << c.extra << " colours, mask " << c.mask << ", supercompress " << c.supercompress;
  }
}

TEST_F(BuildPipelineTest, RefusedTaskShowsItsMessageAndFreesEverything) {
  host.refuseTask = true;
  EXPECT_EQ(build(), 0);
  EXPECT_EQ(messages, std::vector<std::string>{"Error creating new task."});
  auto seq = sequence();
  EXPECT_EQ(seq.back(), "1");
}

TEST_F(BuildPipelineTest, RefusedImageEndsTheTaskWithFailure) {
  host.refuseImageAt = 1;
  EXPECT_EQ(build(), 0);
  EXPECT_EQ(messages,
            std::vector<std::string>{"There has been an error adding an image to the current file object."});
  auto seq = sequence();
  ASSERT_GE(seq.size(), 3u);
  EXPECT_EQ(seq[seq.size() - 1], "4:0");
  EXPECT_EQ(seq[seq.size() - 2], "2");
}

TEST_F(BuildPipelineTest, FailedEffectShowsMemoryError) {
  FakeEffect::failBuild = true;
  EXPECT_EQ(build(), 0);
  EXPECT_EQ(messages, std::vector<std::string>{"Memory error"});
  FakeEffect::failBuild = false;
  FakeEffect::colours.clear();
  messages.clear();
  EXPECT_EQ(build(), 0);  // no frames
  EXPECT_EQ(messages, std::vector<std::string>{"Memory error"});
}

// An effect that has no build of its own yet goes the way of a build that
// made no frames (the same calls to the host), and says why.
TEST_F(BuildPipelineTest, EffectWithoutABuildFollowsTheNoFramesPath) {
  const EffectRow noBuild = {"Fake", 7400, nullptr, nullptr, nullptr, &FakeEffect::query, nullptr, 0};
  EXPECT_EQ(runBuildWithEffect(dialog, host.params(), 0, noBuild), 0);
  EXPECT_EQ(sequence(), (std::vector<std::string>{"18", "13:0:0", "10:Building", "13:0:0"}));
  EXPECT_EQ(messages, std::vector<std::string>{kEffectNotAvailableMessage});
}

TEST_F(BuildPipelineTest, CommentComesAfterTheLastFrame) {
  dialog.setChecked(IDC_ADD_COMMENT, true);
  ASSERT_EQ(build(), 1);
  auto seq = sequence();
  ASSERT_GE(seq.size(), 2u);
  EXPECT_EQ(seq[seq.size() - 2], "3");
  EXPECT_TRUE(host.animation().hasComment);
  EXPECT_EQ(host.animation().comment, kBuildCommentText);
}

// Every allocation and every lock the build makes may fail: each failure
// ends the build with "Memory error", nothing left behind and no image freed
// twice (the frames are rewritten in place while the store owns them).
TEST_F(BuildPipelineTest, AllocationAndLockFailuresAnywhereEndCleanly) {
  dialog.setChecked(IDC_CUSTOM_PALETTE, true);
  for (bool supercompress : {true, false}) {
    dialog.setChecked(IDC_SUPERCOMPRESS, supercompress);
    dialog.setChecked(IDC_MASK_BACKGROUND, !supercompress);
    dialog.setChecked(IDC_DITHER, !supercompress);
    for (FailureKind kind : {FailureKind::kAllocation, FailureKind::kLock}) {
      auto run = [&] {
        host.clear();
        messages.clear();
        return build() == 1;
      };
      auto failed = [&](int n) {
        ASSERT_EQ(messages.size(), 1u) << n;
        // The test host cannot read an image whose lock fails and refuses it.
        if (kind == FailureKind::kLock && messages[0] == kImageRefusedMessage) return;
        EXPECT_EQ(messages[0], "Memory error") << n;
      };
      // A finished build frees its store reading each frame's record once;
      // those last locks are left alone.
      ASSERT_TRUE(run());
      const long cleanupLocks = long(host.animation().frames.size());
      EXPECT_GT(expectCleanFailures(kind, kind == FailureKind::kLock ? 400 : 2000, run, failed, cleanupLocks), 3);
    }
  }
}

}  // namespace
}  // namespace gw
