// The "Texture" dialog through its own template in the in-memory dialog:
// what each generator shows, fields written into the working settings and
// held to their limits, and the group commands reaching the lists.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "materials/texture_group.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "resources/resource_ids.h"
#include "tests/app_data_folder.h"
#include "tests/scripted_prompts.h"
#include "ui/texture_dialog_view.h"

namespace gw {
namespace {

namespace ts = texture_settings;

class TextureDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    textureSettingsDefaults(record_);
    dialog_ = InMemoryDialog::fromResource(ResourceName::number(IDD_TEXTURE));
    ASSERT_NE(dialog_, nullptr);
  }
  GroupPrompts prompts() { return scripted_.prompts(); }
  // The user types `text` into field `id`.
  void type(TextureDialogView& view, uint32_t id, const std::string& text) {
    dialog_->setText(id, text);
    view.command(id, TextureEvent::kEdit, false);
  }
  void pick(TextureDialogView& view, uint32_t id, int index, TextureEvent event = TextureEvent::kSelect) {
    dialog_->setSelection(id, index);
    view.command(id, event, false);
  }
  std::vector<uint32_t> visibleFields() const {
    std::vector<uint32_t> ids;
    for (uint32_t id = IDC_TEXTURE_FIELD_FIRST; id <= IDC_TEXTURE_FIELD_LAST; ++id)
      if (dialog_->visible(id)) ids.push_back(id);
    return ids;
  }

  AppDataFolder root_{"texdlg"};
  uint8_t record_[ts::kSize];
  std::unique_ptr<InMemoryDialog> dialog_;
  ScriptedPrompts scripted_{{}, {}, true};  // every question answered Yes
};

TEST_F(TextureDialogTest, TemplateHoldsEveryControlWithItsLabel) {
  for (uint32_t id : std::vector<uint32_t>{IDC_TEXTURE_PREVIEW, IDC_TEXTURE_ITEMS, IDC_TEXTURE_GROUPS,
                                           IDC_TEXTURE_ADD, IDC_TEXTURE_REMOVE, IDC_TEXTURE_GENERATOR, IDC_BUILD,
                                           IDC_CANCEL, IDC_HELP_BUTTON})
    EXPECT_TRUE(dialog_->hasControl(id)) << id;
  for (uint32_t id = IDC_TEXTURE_FIELD_FIRST; id <= IDC_TEXTURE_FIELD_LAST; ++id) {
    EXPECT_TRUE(dialog_->hasControl(id)) << id;
    EXPECT_NE(textureField(id), nullptr) << id;
  }
  EXPECT_EQ(dialog_->dialogTemplate().title, "Texture");
}

TEST_F(TextureDialogTest, EachGeneratorShowsOnlyTheFieldsItUses) {
  TextureDialogView view(*dialog_, prompts(), false, record_);
  view.open(kPrimaryTextureGroup);
  const struct {
    int type;
    std::vector<uint32_t> fields;
  } cases[] = {
      {0, {502, 507, 512, 517, 518, 523}},
      {3, {502, 503, 504, 505, 507, 508, 509, 510, 512, 513, 514, 515, 517, 518, 519, 520, 521, 523}},
      {4, {507, 518, 523, 524, 525}},
      {5, {507, 526, 527, 528, 529, 530, 531, 532}},
  };
  for (const auto& c : cases) {
    pick(view, IDC_TEXTURE_GENERATOR, c.type);
    EXPECT_EQ(readU32(view.working() + ts::kType), uint32_t(c.type));
    EXPECT_EQ(visibleFields(), c.fields) << "type " << c.type;
    EXPECT_EQ(dialog_->visible(IDC_TEXTURE_ROW_LABEL), c.type <= 3) << "type " << c.type;
    EXPECT_EQ(dialog_->visible(IDC_TEXTURE_ROW_LABEL + 1), c.type == 3);
  }
  EXPECT_EQ(dialog_->itemCount(IDC_TEXTURE_GENERATOR), 6);
  EXPECT_EQ(dialog_->itemText(IDC_TEXTURE_GENERATOR, 4), "Craters");
}

TEST_F(TextureDialogTest, TypedValuesAreHeldToTheGeneratorsLimits) {
  TextureDialogView view(*dialog_, prompts(), false, record_);
  view.open(kPrimaryTextureGroup);
  const uint8_t* w = view.working();
  type(view, 502, "0.75");
  EXPECT_FLOAT_EQ(ts::readF32(w + ts::power(0)), 0.75f);
  type(view, 502, "-");  // half typed: the last good value stays
  EXPECT_FLOAT_EQ(ts::readF32(w + ts::power(0)), 0.75f);
  type(view, 517, "999999");
  EXPECT_EQ(readU32(w + ts::kMeshSize), 2048u);
  type(view, 524, "-5");
  EXPECT_EQ(readU32(w + ts::kCraterCount), 0u);
  type(view, 526, "5000");
  EXPECT_EQ(readI32(w + ts::kBubbleCount), 1024);
  type(view, 508, "4294967295");
  EXPECT_EQ(readU32(w + ts::seed(1)), 4294967295u);
  type(view, 525, "nan");
  EXPECT_TRUE(std::isfinite(ts::readF32(w + ts::kCraterDepth)));
  pick(view, 529, 3);
  EXPECT_EQ(readU32(w + ts::kBubbleShape), uint32_t(kBubbleSphere));
}

TEST_F(TextureDialogTest, ColoursAndRampPointsReachTheirBytes) {
  TextureDialogView view(*dialog_, prompts(), false, record_);
  view.open(kPrimaryTextureGroup);
  EXPECT_TRUE(view.setColour(519, 0x123456));
  EXPECT_EQ(readU32(view.working() + ts::foreColour(1)), 0x123456u);
  EXPECT_FALSE(view.setColour(519, 0x123456));  // unchanged: nothing to redraw
  pick(view, 531, 2);
  EXPECT_TRUE(view.setColour(532, 0x0000FF));  // pure red at ramp point 3
  EXPECT_FLOAT_EQ(ts::readF32(view.working() + ts::kRampRed + 8), 1.0f);
  EXPECT_FLOAT_EQ(ts::readF32(view.working() + ts::kRampBlue + 8), 0.0f);
  EXPECT_EQ(view.colourOf(532), 0x0000FFu);
  pick(view, 531, 0);
  EXPECT_NE(view.colourOf(532), 0x0000FFu);  // another point, its own colour
  EXPECT_EQ(view.colourOf(IDC_TEXTURE_GROUPS), 0u);
}

TEST_F(TextureDialogTest, PickingAnItemFillsTheFieldsAndOkHandsItBack) {
  TextureDialogView view(*dialog_, prompts(), false, record_);
  view.open(kPrimaryTextureGroup);
  ASSERT_EQ(dialog_->itemCount(IDC_TEXTURE_GROUPS), 1);
  EXPECT_EQ(dialog_->selection(IDC_TEXTURE_GROUPS), 0);
  ASSERT_GE(dialog_->itemCount(IDC_TEXTURE_ITEMS), 24);
  EXPECT_FALSE(dialog_->enabled(IDC_TEXTURE_REMOVE));
  pick(view, IDC_TEXTURE_ITEMS, 14);
  const TextureItem& item = view.editor().group().items[14];
  EXPECT_EQ(dialog_->itemText(IDC_TEXTURE_ITEMS, 14), item.name);
  EXPECT_EQ(0, std::memcmp(view.working(), item.settings.data(), ts::kSize));
  EXPECT_EQ(dialog_->selection(IDC_TEXTURE_GENERATOR), int(readU32(item.settings.data() + ts::kType)));
  EXPECT_EQ(dialog_->text(524), std::to_string(readU32(item.settings.data() + ts::kCraterCount)));
  EXPECT_TRUE(dialog_->enabled(IDC_TEXTURE_REMOVE));
  EXPECT_TRUE(view.command(IDC_BUILD, TextureEvent::kClick, false));
  EXPECT_EQ(view.result(), 1);
  TextureDialogView cancelled(*dialog_, prompts(), false, record_);
  EXPECT_TRUE(cancelled.command(IDC_CANCEL, TextureEvent::kClick, false));
  EXPECT_EQ(cancelled.result(), 0);
  EXPECT_EQ(0, std::memcmp(cancelled.working(), record_, ts::kSize));
}

TEST_F(TextureDialogTest, GroupCommandsReachTheLists) {
  TextureDialogView view(*dialog_, prompts(), false, record_);
  view.open(kPrimaryTextureGroup);
  const int count = dialog_->itemCount(IDC_TEXTURE_ITEMS);
  view.command(IDC_TEXTURE_ADD, TextureEvent::kClick, false);  // read-only: refused
  ASSERT_EQ(scripted_.messages.size(), 1u);
  EXPECT_EQ(scripted_.messages[0], kTextureReadOnlyText);

  scripted_.replies = {"Mine"};
  view.command(IDC_TEXTURE_ADD, TextureEvent::kClick, true);
  ASSERT_EQ(dialog_->itemCount(IDC_TEXTURE_GROUPS), 2);
  EXPECT_EQ(dialog_->itemText(IDC_TEXTURE_GROUPS, dialog_->selection(IDC_TEXTURE_GROUPS)), "Mine");
  view.command(IDC_TEXTURE_ADD, TextureEvent::kClick, false);
  EXPECT_EQ(dialog_->itemCount(IDC_TEXTURE_ITEMS), count + 1);
  EXPECT_EQ(dialog_->selection(IDC_TEXTURE_ITEMS), count);
  EXPECT_EQ(dialog_->itemText(IDC_TEXTURE_ITEMS, count), kNewTextureName);
  scripted_.replies = {"Renamed"};
  pick(view, IDC_TEXTURE_ITEMS, count, TextureEvent::kDoubleClick);
  EXPECT_EQ(dialog_->itemText(IDC_TEXTURE_ITEMS, count), "Renamed");
  view.command(IDC_TEXTURE_REMOVE, TextureEvent::kClick, false);
  EXPECT_EQ(dialog_->itemCount(IDC_TEXTURE_ITEMS), count);

  // Back to the shipped group when its drop-down closes on it.
  pick(view, IDC_TEXTURE_GROUPS, 0, TextureEvent::kCloseUp);
  EXPECT_EQ(view.groupFile(), kPrimaryTextureGroup);
  EXPECT_EQ(dialog_->itemCount(IDC_TEXTURE_ITEMS), count);
  EXPECT_EQ(scripted_.messages.size(), 1u);
}

}  // namespace
}  // namespace gw
