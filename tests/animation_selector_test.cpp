// The animation selector's model, driven through its messages as the effect
// and the document code drive it: create, bind, frame requests, "Select...",
// loading by path, document lines and destruction.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "controls/animation_block.h"
#include "controls/animation_selector.h"
#include "controls/animation_selector_view.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/wire_pointer.h"
#include "protocol/host_protocol.h"
#include "tests/temp_folder.h"

namespace gw {
namespace {

constexpr uint32_t kId = 524;

// A host that answers request 16 with a block of `frames` solid frames (or
// nothing, or a broken block), and remembers the names it was asked for.
struct FakeHost {
  static FakeHost* live;
  int frames = 10;
  bool cancel = false;
  bool broken = false;
  std::string answerName = "/chosen/anim.gif";
  std::vector<std::string> asked;
  uint8_t params[64] = {};

  FakeHost() {
    live = this;
    writeU16(params + host_params::kHostVersion, 0x1000);
    writeU32(params + host_params::kCallback, wireFromPointer(reinterpret_cast<void*>(&FakeHost::callback)));
    params[host_params::kHostFlags] = host_params::kFlagDelaysInHundredths;
  }
  ~FakeHost() { live = nullptr; }

  static int32_t GW_CDECL callback(void*, int32_t code, int32_t, void* p) {
    if (code != kHostAnimation || !live) return 0;
    auto* rec = static_cast<uint8_t*>(p);
    live->asked.emplace_back(reinterpret_cast<char*>(rec + animation_request::kName));
    if (live->cancel) return 0;
    std::vector<MemBlock> bitmaps;
    std::vector<AnimationFrameSource> sources;
    for (int k = 0; k < live->frames; ++k) {
      bitmaps.emplace_back(bitmapCreateTrueColour(4, 2, 24));
      MemLock lock(bitmaps.back().get());
      BitmapView::of(lock).setPixel(0, 0, uint32_t(k));
      sources.push_back({bitmaps.back().get(), 10 + k});
    }
    MemHandle block = animationBlockBuild(4, 2, 0, sources.data(), sources.size());
    if (live->broken) {
      MemLock lock(block);
      lock.data()[0] = 'X';
    }
    if (live->asked.back().empty())
      writeFixedText(rec + animation_request::kName, animation_request::kNameWidth, live->answerName.c_str());
    return int32_t(block);
  }
};
FakeHost* FakeHost::live = nullptr;

std::vector<std::string> g_messages;

class AnimationSelector : public ::testing::Test {
 protected:
  void SetUp() override {
    DialogTemplate t;
    DialogItem item;
    item.id = kId;
    item.className = "Button";
    t.items.push_back(item);
    dialog = std::make_unique<InMemoryDialog>(t);
    AnimationSelectorServices services;
    services.hostParams = host.params;
    services.highlightColour = 0xFFFFFF;
    services.showMessage = [](WindowId, const std::string& text) { g_messages.push_back(text); };
    setAnimationSelectorServices(services);
    g_messages.clear();
    std::memset(path, 0, sizeof path);
    before = testing::liveBlockCount();
  }
  void TearDown() override {
    dialog.reset();  // WM_DESTROY frees the state and the animation
    EXPECT_EQ(testing::liveBlockCount(), before);
    setAnimationSelectorServices({});
  }

  void start() { ASSERT_TRUE(startAnimationSelector(*dialog, kId, path)); }
  int32_t count() {
    int32_t n = -5;
    EXPECT_EQ(dialog->sendMessage(kId, kMsgAnimationFrame, uintptr_t(-1), intptr_t(&n)), 1);
    return n;
  }
  // The first pixel of frame `index` (the fake host numbers its frames there) and its delay.
  uint32_t frameMark(int32_t index, int32_t* delay) {
    MemBlock frame(MemHandle(dialog->sendMessage(kId, kMsgAnimationFrame, uintptr_t(uint32_t(index)), intptr_t(delay))));
    if (!frame) return 0xFFFFFFFF;
    MemLock lock(frame.get());
    BitmapView v = BitmapView::of(lock);
    EXPECT_EQ(v.bits(), 24);
    return uint32_t(v.getPixel(0, 0));
  }
  bool pressSelect() {
    return dialog->sendMessage(kId, 0x0111, kSelectButtonId, 0) == 0;
  }
  std::string line() {
    char buffer[400] = {};
    FILE* f = fmemopen(buffer, sizeof buffer - 1, "w");
    dialog->sendMessage(kId, kMsgWriteDocument, 0, intptr_t(f));
    std::fclose(f);
    return buffer;
  }

  FakeHost host;
  std::unique_ptr<InMemoryDialog> dialog;
  char path[260];
  long before = 0;
};

TEST_F(AnimationSelector, WithoutAPathItHoldsTheThirtySixFramePlaceholder) {
  start();
  EXPECT_EQ(count(), 36);
  EXPECT_TRUE(host.asked.empty());
  int32_t delay = 0;
  EXPECT_NE(frameMark(0, &delay), 0xFFFFFFFFu);
  EXPECT_EQ(delay, 60);  // this host counts in hundredths
  EXPECT_EQ(line(), "ANMCTL524=\n");
}

TEST_F(AnimationSelector, FrameRequestsAreClampedAndCarryTheirDelays) {
  TempFolder dir("sel");
  const std::string file = dir.file("a.gif");
  std::fclose(std::fopen(file.c_str(), "wb"));
  std::strcpy(path, file.c_str());
  start();
  ASSERT_EQ(host.asked, std::vector<std::string>{file});
  EXPECT_EQ(count(), 10);
  int32_t delay = 0;
  EXPECT_EQ(frameMark(1000, &delay), 9u);
  EXPECT_EQ(delay, 19);
  EXPECT_EQ(frameMark(3, &delay), 3u);
  EXPECT_EQ(delay, 13);
  EXPECT_EQ(std::string(path), file);
}

TEST_F(AnimationSelector, SelectAdoptsTheHostsAnimationAndItsPath) {
  start();
  host.frames = 3;
  ASSERT_TRUE(pressSelect());
  EXPECT_EQ(host.asked, std::vector<std::string>{""});
  EXPECT_EQ(count(), 3);
  EXPECT_EQ(std::string(path), "/chosen/anim.gif");
  EXPECT_EQ(line(), "ANMCTL524=/chosen/anim.gif\n");
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(AnimationSelector, CancelOrABrokenBlockKeepsAnimationAndPath) {
  start();
  host.frames = 3;
  ASSERT_TRUE(pressSelect());
  host.frames = 5;
  host.cancel = true;
  pressSelect();
  EXPECT_EQ(count(), 3);
  EXPECT_EQ(std::string(path), "/chosen/anim.gif");
  EXPECT_TRUE(g_messages.empty());
  host.cancel = false;
  host.broken = true;
  host.answerName = "/other.gif";
  pressSelect();
  EXPECT_EQ(count(), 3);
  EXPECT_EQ(std::string(path), "/chosen/anim.gif");
  EXPECT_EQ(g_messages, std::vector<std::string>{kAnimationOpenFailedMessage});
}

TEST_F(AnimationSelector, ADocumentPathToAMissingFileIsKeptAndWrittenAgain) {
  start();
  const std::string missing = "/no/such/folder/anim.gif";
  const std::string text = "anmctl524 = " + missing;
  EXPECT_EQ(dialog->sendMessage(kId, kMsgReadDocument, 0, intptr_t(text.c_str())), 1);
  EXPECT_TRUE(host.asked.empty());
  EXPECT_TRUE(g_messages.empty());
  EXPECT_EQ(count(), 36);  // still the placeholder
  EXPECT_EQ(std::string(path), missing);
  EXPECT_EQ(line(), "ANMCTL524=" + missing + "\n");
}

TEST_F(AnimationSelector, ADocumentLineLoadsAnExistingFileAndRefusesOtherTags) {
  start();
  TempFolder dir("sel");
  const std::string file = dir.file("b.gif");
  std::fclose(std::fopen(file.c_str(), "wb"));
  host.frames = 4;
  const std::string text = "ANMCTL524=" + file;
  EXPECT_EQ(dialog->sendMessage(kId, kMsgReadDocument, 0, intptr_t(text.c_str())), 1);
  EXPECT_EQ(count(), 4);
  EXPECT_EQ(dialog->sendMessage(kId, kMsgReadDocument, 0, intptr_t("TXTFLD524=x")), 0);
  EXPECT_EQ(dialog->sendMessage(kId, kMsgReadDocument, 0, intptr_t("ANMCTL524")), 0);
  EXPECT_EQ(std::string(path), file);
}

TEST_F(AnimationSelector, ABrokenBlockForADocumentPathShowsTheMessage) {
  start();
  TempFolder dir("sel");
  const std::string file = dir.file("c.gif");
  std::fclose(std::fopen(file.c_str(), "wb"));
  host.broken = true;
  const std::string text = "ANMCTL524=" + file;
  dialog->sendMessage(kId, kMsgReadDocument, 0, intptr_t(text.c_str()));
  EXPECT_EQ(g_messages, std::vector<std::string>{kAnimationOpenFailedMessage});
  EXPECT_EQ(count(), 36);
}

}  // namespace
}  // namespace gw
