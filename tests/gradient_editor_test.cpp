// The "Gradient" editor driven through the in-memory dialog built from its
// template: which controls follow the shape and the colour mode, how fields
// reach the settings, and that only OK writes the copy back.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"
#include "materials/gradient_settings.h"
#include "platform/bitmap.h"
#include "platform/in_memory_dialog.h"
#include "platform/message_dialog.h"
#include "tests/fountain_test_host.h"
#include "ui/fountain_button.h"
#include "ui/gradient_editor.h"
#include "ui/help_request.h"

namespace gw {
namespace {

using namespace gradient_editor;

std::vector<uint8_t> defaults() {
  std::vector<uint8_t> s(kGradientSettingsSize);
  gradientSettingsDefaults(s.data());
  return s;
}

class GradientEditor : public ::testing::Test {
 protected:
  void TearDown() override { testing::setGradientEditorResponder(nullptr); }
  // Runs the editor with `act` as the user, ending with `ending`.
  bool run(std::vector<uint8_t>& settings, std::function<void(DialogFacade&, GradientEditorSession&)> act,
           uint32_t ending) {
    testing::setGradientEditorResponder([&](DialogFacade& d, GradientEditorSession& s) {
      act(d, s);
      return ending;
    });
    return runGradientEditor(0, host.params, settings.data());
  }
  static void click(DialogFacade& d, GradientEditorSession& s, uint32_t id) {
    s.command(id, ControlEvent::kClick, nullptr);
  }
  static void type(DialogFacade& d, GradientEditorSession& s, uint32_t id, const char* text) {
    d.setText(id, text);
    s.command(id, ControlEvent::kChange, nullptr);
  }
  ColourHost host;
};

TEST_F(GradientEditor, ControlsFollowTheShapeAndTheColourMode) {
  struct Case {
    uint32_t shapeButton;
    uint32_t modeButton;
    bool rotation, centre, twoColour;
  } cases[] = {
      {101, 118, true, false, true},  {102, 118, true, true, true},   {103, 119, false, true, false},
      {104, 119, false, true, false}, {101, 119, true, false, false},
  };
  for (const Case& c : cases) {
    auto settings = defaults();
    run(settings, [&](DialogFacade& d, GradientEditorSession& s) {
      click(d, s, c.modeButton);
      click(d, s, c.shapeButton);
      const int shape = int(c.shapeButton - 101);
      EXPECT_EQ(s.shape(), shape);
      for (uint32_t b = 101; b <= 104; ++b) EXPECT_EQ(d.checked(b), b == c.shapeButton);
      EXPECT_EQ(d.enabled(kRotation), c.rotation) << shape;
      EXPECT_EQ(d.enabled(kRotation + 10000), c.rotation) << "its up-down";
      EXPECT_EQ(d.enabled(kRotation + 20), c.rotation) << "its label";
      EXPECT_EQ(d.enabled(kCentreX), c.centre) << shape;
      EXPECT_EQ(d.enabled(kCentreY), c.centre) << shape;
      EXPECT_TRUE(d.enabled(kEdgePad));
      for (uint32_t id : {kStartColour, kEndColour, kMidpointSlider, kMidpoint})
        EXPECT_EQ(d.enabled(id), c.twoColour) << id;
      EXPECT_EQ(d.enabled(kFountain), !c.twoColour);
      EXPECT_EQ(d.checked(kTwoColour), c.twoColour);
      EXPECT_EQ(d.checked(kMultiColour), !c.twoColour);
    }, kCancel);
  }
}

TEST_F(GradientEditor, OnlyOkWritesTheCopyBack) {
  auto settings = defaults();
  const auto original = settings;
  auto edit = [](DialogFacade& d, GradientEditorSession& s) {
    click(d, s, 103);
    type(d, s, kEdgePad, "20");
    type(d, s, kCentreX, "-30");
  };
  EXPECT_FALSE(run(settings, edit, kCancel));
  EXPECT_EQ(settings, original);
  testing::setGradientEditorResponder(nullptr);
  EXPECT_FALSE(runGradientEditor(0, host.params, settings.data())) << "no user: cancelled";
  EXPECT_EQ(settings, original);

  EXPECT_TRUE(run(settings, edit, kOk));
  EXPECT_EQ(readI32(settings.data() + gradient::kShape), kGradientElliptical);
  EXPECT_EQ(readI32(settings.data() + gradient::kEdgePad), 20);
  EXPECT_EQ(readI32(settings.data() + gradient::kCentreX), -30);
  EXPECT_EQ(std::memcmp(settings.data() + gradient::kFountain, original.data() + gradient::kFountain,
                        kFountainRecordSize),
            0)
      << "the fountain is untouched by two-colour edits";
}

TEST_F(GradientEditor, FieldsShowTheSettingsAndClampWhatIsTyped) {
  auto settings = defaults();
  writeI32(settings.data() + gradient::kRotation, 45);
  writeI32(settings.data() + gradient::kMidpoint, 1000);  // a damaged record
  int slider = -1;
  EXPECT_TRUE(run(settings, [&](DialogFacade& d, GradientEditorSession& s) {
    EXPECT_EQ(d.text(kRotation), "45");
    EXPECT_EQ(d.text(kMidpoint), "99") << "shown as it renders";
    s.showMidpointSlider = [&](int v) { slider = v; };
    type(d, s, kRotation, "999");
    type(d, s, kEdgePad, "-5");
    type(d, s, kMidpoint, "30");
    EXPECT_EQ(slider, 30) << "the slider follows the field";
    s.midpointSliderMoved(70);
    EXPECT_EQ(d.text(kMidpoint), "70") << "and the field the slider";
  }, kOk));
  EXPECT_EQ(readI32(settings.data() + gradient::kRotation), 360);
  EXPECT_EQ(readI32(settings.data() + gradient::kEdgePad), 0);
  EXPECT_EQ(readI32(settings.data() + gradient::kMidpoint), 70);
}

TEST_F(GradientEditor, EveryChangeRendersThePreviewAgain) {
  auto settings = defaults();
  run(settings, [&](DialogFacade& d, GradientEditorSession& s) {
    auto pixel = [&](int x, int y) {
      MemLock lock(s.preview());
      return lock ? uint32_t(BitmapView::of(lock).getPixel(x, y)) : 0xFFFFFFFFu;
    };
    const uint32_t top = pixel(5, 2);
    EXPECT_NE(top, 0xFFFFFFFFu);
    host.answers = {0x0000FF};
    click(d, s, kStartColour);
    EXPECT_EQ(host.lastOffered, 0x404040u) << "the picker starts at the colour";
    EXPECT_EQ(d.text(kStartColour), std::to_string(0x0000FF));
    EXPECT_NE(pixel(5, 2), top);
    const uint32_t now = pixel(5, 2);
    EXPECT_GT(now & 0xFF, 0xF0u) << "red at the top now, as the start colour";
    EXPECT_LT((now >> 16) & 0xFF, 0x10u);
  }, kCancel);
}

TEST_F(GradientEditor, MarkersAddedAndDraggedInTheFountainButtonAreKeptOnOk) {
  auto settings = defaults();
  EXPECT_TRUE(run(settings, [&](DialogFacade& d, GradientEditorSession& s) {
    host.answers = {0x00FF00};
    d.sendMessage(kFountain, kMsgFountainAddMarker, 10, 0);  // messages reach it in either mode
    click(d, s, kMultiColour);
    EXPECT_TRUE(d.enabled(kFountain));
    const auto g = fountainButtonGeometry(kFountainButtonWidth, kFountainButtonHeight);
    const int x32 = g.markerX(int(32.0f / 255.0f * float(g.ramp.width())));
    d.sendMessage(kFountain, kMsgLeftDown, 0, packPoint(x32, 6));
    d.sendMessage(kFountain, kMsgLeftUp, 0, packPoint(g.ramp.left + 10, 6));
  }, kOk));
  const uint8_t* f = settings.data() + gradient::kFountain;
  EXPECT_EQ(readI32(settings.data() + gradient::kColourMode), 0);
  ASSERT_EQ(fountainMarkerCount(f), 8);
  EXPECT_EQ(fountainMarker(f, 0), fountainMakeMarker(10, 0x00FF00)) << "the added marker";
  EXPECT_EQ(fountainMarkerPosition(fountainMarker(f, 1)), 14) << "the rainbow's first marker, dragged left";
  EXPECT_EQ(fountainMarkerColour(fountainMarker(f, 1)), 0xFF0000u);
  EXPECT_EQ(readU32(f + fountain::kPreviewImage), 0u) << "no run-time handle leaves the editor";
}

TEST_F(GradientEditor, HelpAsksForTheGradientTopicAndSaysWhenItFails) {
  std::vector<std::string> messages;
  setMessageResponder([&](const std::string&, const std::string& text) {
    messages.push_back(text);
    return 1;
  });
  std::vector<std::string> topics;
  bool shown = true;
  setHelpHandler([&](const std::string& topic) {
    topics.push_back(topic);
    return shown;
  });
  auto settings = defaults();
  run(settings, [&](DialogFacade& d, GradientEditorSession& s) { click(d, s, kHelp); }, kCancel);
  EXPECT_TRUE(messages.empty());
  shown = false;
  run(settings, [&](DialogFacade& d, GradientEditorSession& s) { click(d, s, kHelp); }, kCancel);
  setMessageResponder(nullptr);
  setHelpHandler(nullptr);
  EXPECT_EQ(topics, (std::vector<std::string>{"GRADIENT", "GRADIENT"}));
  EXPECT_EQ(messages, (std::vector<std::string>{kHelpDisplayError}));
}

}  // namespace
}  // namespace gw
