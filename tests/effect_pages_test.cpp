#include <gtest/gtest.h>

#include <strings.h>

#include <map>
#include <set>

#include "controls/bound_control.h"
#include "controls/spin_field.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "effects/page_tables.h"
#include "base/le_bytes.h"
#include "materials/gradient_settings.h"
#include "materials/material_preview.h"
#include "materials/material_record.h"
#include "materials/texture_generate.h"
#include "materials/texture_settings.h"
#include "materials/tile_fill.h"
#include "platform/bitmap.h"
#include "platform/dialog_template.h"
#include "platform/in_memory_dialog.h"
#include "resources/resource_ids.h"
#include "settings/settings_table.h"

namespace gw {
namespace {

constexpr uint32_t kStyleMask = 0xF;  // BS_* / SS_* type bits

// Window class names compare without regard to case (the resource compiler
// writes them in capitals).
bool isClass(const DialogItem& item, const char* name) { return strcasecmp(item.className.c_str(), name) == 0; }

TEST(EffectTable, RowsNamesPagesAndPrefixes) {
  const char* names[21] = {"Arrows", "Candy", "Confetti", "Diagonal Fuse", "Heartbeat", "Omni", "Machine",
                           "Neural Network", "Quark", "Quark Outline", "Rattle", "Ring", "Simple", "Snow",
                           "Stars", "Tracks", "Tram Lines", "Unplugged TV", "Waterside", "Wavelet", "Zipper"};
  const uint16_t pages[21] = {7407, 7417, 7416, 7412, 7410, 7411, 7404, 7406, 7405, 7413, 7418,
                              7401, 7400, 7402, 7403, 7415, 7420, 7419, 7408, 7409, 7414};
  for (int i = 0; i < kEffectCount; ++i) {
    EXPECT_STREQ(effectRow(i).name, names[i]);
    EXPECT_EQ(effectRow(i).page, pages[i]);
    EXPECT_EQ(effectRow(i).reserved, 0u);
    EXPECT_NE(effectRow(i).initPage, nullptr);
    EXPECT_EQ(effectRow(i).controls, pageControls(pages[i]));
  }
  EXPECT_EQ(effectKeyPrefix(effectRow(18)), "Style008");  // "Waterside" is not row 8
  EXPECT_EQ(effectKeyPrefix(effectRow(10)), "Style018");
  EXPECT_EQ(findEffect("Simple"), kSimpleEffectIndex);
  EXPECT_EQ(findEffect("simple"), -1);
  EXPECT_EQ(clampEffectIndex(-3), 0);
  EXPECT_EQ(clampEffectIndex(99), 20);
}

TEST(EffectTable, SimpleControlListAsTabled) {
  std::vector<uint32_t> ids = effectControlIds(effectRow(kSimpleEffectIndex));
  std::set<uint32_t> got(ids.begin(), ids.end());
  std::set<uint32_t> want;
  for (uint32_t id = 100; id <= 124; ++id) want.insert(id);
  for (uint32_t id : {10108u, 10110u, 10112u, 10114u, 10116u}) want.insert(id);
  EXPECT_EQ(got, want);
}

TEST(EffectTable, SeededGeneratorSteps) {
  EffectRandom r(1);
  // S = 1 * 0x15A400004E35 + 1 = 0x15A400004E36; high word 0x15A4.
  EXPECT_EQ(r.next(), 0x15A4);
  EffectRandom again(1);
  again.next();
  EXPECT_EQ(r.next(), again.next());
  EffectRandom big(0xFFFFFFFFu);
  for (int i = 0; i < 1000; ++i) EXPECT_GE(big.next(), 0);  // the sign bit is always clear
}

// Every page table against its compiled template: the same ids, kinds that
// fit the window classes, the spin ranges in the partners.
TEST(EffectPageTables, MatchTheCompiledTemplates) {
  std::set<uint32_t> seen;
  for (uint16_t page = kFirstPage; page < kFirstPage + kPageCount; ++page) {
    SCOPED_TRACE(page);
    auto t = loadDialogTemplate(ResourceName::number(page));
    ASSERT_TRUE(t);
    const PageControl* table = pageControls(page);
    ASSERT_NE(table, nullptr);
    std::set<uint32_t> listed;
    for (const PageControl* c = table; c->id; ++c) {
      SCOPED_TRACE(c->id);
      EXPECT_GE(c->id, kPageControlFirst);
      EXPECT_LE(c->id, kPageControlLast);
      EXPECT_TRUE(seen.insert(c->id).second) << "id used twice";
      listed.insert(c->id);
      const DialogItem* item = t->item(c->id);
      ASSERT_NE(item, nullptr);
      switch (c->kind) {
        case ControlKind::kLabel: EXPECT_TRUE(isClass(*item, "Static")) << item->className; break;
        case ControlKind::kCheckBox:
          EXPECT_TRUE(isClass(*item, "Button")) << item->className;
          EXPECT_EQ(item->style & kStyleMask, 3u);  // BS_AUTOCHECKBOX
          break;
        case ControlKind::kSpinField: {
          EXPECT_TRUE(isClass(*item, "Edit")) << item->className;
          const DialogItem* partner = t->item(c->id + kSpinPartnerOffset);
          ASSERT_NE(partner, nullptr);
          EXPECT_TRUE(isClass(*partner, "msctls_updown32")) << partner->className;
          ASSERT_NE(c->range, nullptr);
          EXPECT_EQ(partner->text, c->range);
          SpinRange r = parseSpinRange(partner->text);
          EXPECT_TRUE(r.hasRange && r.hasPos);
          EXPECT_LE(r.min, r.pos);
          EXPECT_LE(r.pos, r.max);
          EXPECT_TRUE(seen.insert(c->id + kSpinPartnerOffset).second);
          listed.insert(c->id + kSpinPartnerOffset);
          break;
        }
        case ControlKind::kColourButton:
        case ControlKind::kMaterialButton:
          EXPECT_TRUE(isClass(*item, "Button")) << item->className;
          EXPECT_EQ(item->style & kStyleMask, 0xBu);  // BS_OWNERDRAW
          break;
        case ControlKind::kDropDownList: EXPECT_TRUE(isClass(*item, "ComboBox")) << item->className; break;
        default:
          EXPECT_TRUE(isClass(*item, "Button")) << item->className;  // pads and the animation placeholder
          break;
      }
    }
    for (const DialogItem& item : t->items) EXPECT_TRUE(listed.count(item.id)) << "unlisted " << item.id;
  }
}

// Every per-effect key is bound by exactly one control of its own page.
// "Simple" keeps its shadow colour on the shadow material button instead.
TEST(EffectPageTables, EveryEffectKeyHasOneControl) {
  std::map<std::string, int> bound;
  for (uint16_t page = kFirstPage; page < kFirstPage + kPageCount; ++page) {
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "Style%03d", page - kFirstPage);
    for (const PageControl* c = pageControls(page); c->id; ++c) {
      if (!c->key) continue;
      EXPECT_EQ(std::string(c->key).rfind(prefix, 0), 0u) << c->key;
      EXPECT_NE(findSetting(c->key), nullptr) << c->key;
      ++bound[c->key];
    }
  }
  for (size_t i = 0; i < settingsTableSize(); ++i) {
    std::string key = settingsTable()[i].key;
    if (key.rfind("Style", 0) != 0) continue;
    if (key == "Style000ShadowColor") {
      EXPECT_EQ(bound.count(key), 0u);
      continue;
    }
    EXPECT_EQ(bound[key], 1) << key;
  }
}

TEST(EffectPageTables, SimplePageExactlyAsTabled) {
  struct Want {
    uint32_t id;
    ControlKind kind;
    const char* key;
    const char* range;
  } want[] = {
      {100, ControlKind::kMaterialButton, nullptr, nullptr},
      {102, ControlKind::kMaterialButton, nullptr, nullptr},
      {104, ControlKind::kMaterialButton, nullptr, nullptr},
      {106, ControlKind::kColourButton, "Style000OutlineColor", nullptr},
      {108, ControlKind::kSpinField, "Style000FillOpacity", "0,255,255"},
      {110, ControlKind::kSpinField, "Style000ShadowOpacity", "0,255,255"},
      {112, ControlKind::kSpinField, "Style000Frames", "2,32760,64"},
      {114, ControlKind::kSpinField, "Style000Soft", "0,40,10"},
      {116, ControlKind::kSpinField, "Style000ShadowOffset", "1,255,4"},
      {118, ControlKind::kScroll4Pad, "Style000Scroll", nullptr},
      {120, ControlKind::kShadowPad, "Style000ShadowDirection", nullptr},
      {122, ControlKind::kCheckBox, "Style000ShadowEnable", nullptr},
      {123, ControlKind::kCheckBox, "Style000OutlineEnable", nullptr},
      {124, ControlKind::kCheckBox, "Style000Track", nullptr},
  };
  const PageControl* table = pageControls(7400);
  for (const Want& w : want) {
    const PageControl* c = table;
    while (c->id && c->id != w.id) ++c;
    ASSERT_EQ(c->id, w.id);
    EXPECT_EQ(c->kind, w.kind) << w.id;
    EXPECT_STREQ(c->key, w.key) << w.id;
    EXPECT_STREQ(c->range, w.range) << w.id;
  }
  auto colourOf = [&](uint32_t id) {
    for (const PageControl* c = table; c->id; ++c)
      if (c->id == id) return c->initialValue;
    return -2;
  };
  EXPECT_EQ(colourOf(100), 0xBD7E40);
  EXPECT_EQ(colourOf(102), 0x7F7F7F);
  EXPECT_EQ(colourOf(104), 0xFFFFFF);
}

// The main dialog in memory with every page created from the templates.
class EffectDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetSettings();
    dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(createEffectPages(*dialog));
  }
  void TearDown() override { resetSettings(); }
  std::unique_ptr<InMemoryDialog> dialog;
};

TEST_F(EffectDialogTest, EveryPageControlExistsHiddenWithItsRange) {
  ASSERT_EQ(dialog->itemCount(IDC_EFFECT), 21);
  EXPECT_EQ(dialog->itemText(IDC_EFFECT, 18), "Waterside");
  for (int i = 0; i < kEffectCount; ++i) {
    for (const PageControl* c = effectRow(i).controls; c->id; ++c) {
      ASSERT_TRUE(dialog->hasControl(c->id)) << c->id;
      EXPECT_FALSE(dialog->visible(c->id));
      if (c->kind == ControlKind::kSpinField) {
        SpinRange r = spinFieldRange(*dialog, c->id);
        EXPECT_EQ(dialog->text(c->id + kSpinPartnerOffset), c->range);
        EXPECT_TRUE(r.hasRange);
      }
      if (c->key) { EXPECT_EQ(boundKindOf(*dialog, c->id), c->kind); }
    }
  }
  // Controls sit at the page's place in the main dialog.
  const InMemoryControl* fill = dialog->control(100);
  ASSERT_NE(fill, nullptr);
  EXPECT_GE(fill->item.rect.y, 178);
}

TEST_F(EffectDialogTest, PageControlsShowTheirSettings) {
  EXPECT_EQ(dialog->text(112), "64");   // Style000Frames
  EXPECT_EQ(dialog->text(114), "20");   // configured softness, though the range's default is 10
  EXPECT_EQ(dialog->text(106), std::to_string(0x333333));
  EXPECT_EQ(dialog->text(120), "7");
  EXPECT_EQ(dialog->text(118), "1");
  EXPECT_TRUE(dialog->checked(122));
}

TEST_F(EffectDialogTest, SelectingAnEffectShowsExactlyItsControls) {
  for (int index : {kSimpleEffectIndex, 18, 0, 20}) {
    selectEffect(*dialog, index);
    EXPECT_EQ(dialog->selection(IDC_EFFECT), index);
    std::vector<uint32_t> mine = effectControlIds(effectRow(index));
    std::set<uint32_t> shown(mine.begin(), mine.end());
    for (uint32_t id : dialog->controlOrder()) {
      bool pageControl = (id >= 100 && id <= 1198) || (id >= 10100 && id <= 11198);
      if (!pageControl) continue;
      EXPECT_EQ(dialog->visible(id), shown.count(id) == 1) << "effect " << index << " id " << id;
    }
  }
  selectEffect(*dialog, 99);  // out of range: the last row
  EXPECT_EQ(dialog->selection(IDC_EFFECT), 20);
}

TEST_F(EffectDialogTest, SpinInAPageClampsButKeepsWhatWasTyped) {
  // Snow's density: "1,1000,64".
  uint32_t id = 0;
  for (const PageControl* c = pageControls(7402); c->id; ++c)
    if (c->key && std::string(c->key) == "Style002Density") id = c->id;
  ASSERT_NE(id, 0u);
  EXPECT_EQ(dialog->text(id + kSpinPartnerOffset), "1,1000,64");
  dialog->setText(id, "9999");
  CommandResult r = handleControlCommand(*dialog, id, ControlEvent::kChange, nullptr);
  EXPECT_EQ(settings().Style002Density, 1000);
  EXPECT_EQ(dialog->text(id), "9999");
  EXPECT_TRUE(r.restartRefresh);
}

TEST_F(EffectDialogTest, BackgroundQuery) {
  const EffectRow& simple = effectRow(kSimpleEffectIndex);
  // No record on the material button yet: the colour a new material gets.
  EXPECT_EQ(effectQueryBackground(simple, *dialog, 0), 0xFFFFFF);
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, true);
  EXPECT_EQ(effectQueryBackground(simple, *dialog, 0), 0xFFFFFF);
  dialog->setChecked(IDC_ALPHA_BACKGROUND, true);
  settings().AlphaGreyBack = 0x102030;
  EXPECT_EQ(effectQueryBackground(simple, *dialog, 0), 0x102030);
  dialog->setChecked(IDC_ALPHA_TRANSPARENCY, false);
  // "Waterside" answers from its background colour button, which stands behind every frame.
  const EffectRow& waterside = effectRow(18);
  settings().Style008Background = 0x00AA00;
  selectEffect(*dialog, 18);
  uint32_t button = 0;
  for (const PageControl* c = waterside.controls; c->id; ++c)
    if (c->key && std::string(c->key) == "Style008Background") button = c->id;
  dialog->setText(button, std::to_string(0x00AA00));
  EXPECT_EQ(effectQueryBackground(waterside, *dialog, 0), 0x00AA00);
  EXPECT_EQ(effectQueryBackground(waterside, *dialog, 1), 0x00AA00);
}

// The mean of each channel over the window (left, top, w, h) of a 24-bit bitmap.
uint32_t meanOf(MemHandle bitmap, int32_t left, int32_t top, int32_t w, int32_t h) {
  MemLock lock(bitmap);
  BitmapView v = BitmapView::of(lock);
  uint64_t sum[3] = {};
  for (int32_t y = top; y < top + h; ++y)
    for (int32_t x = left; x < left + w; ++x)
      for (int c = 0; c < 3; ++c) sum[c] += (uint64_t(v.getPixel(x, y)) >> (8 * c)) & 0xFF;
  const uint64_t n = uint64_t(w) * uint64_t(h);
  return uint32_t(sum[0] / n) | uint32_t(sum[1] / n) << 8 | uint32_t(sum[2] / n) << 16;
}

// "Simple"'s background is material button 104: every kind answers the mean
// colour of its preview, not the black of a never-computed average.
TEST_F(EffectDialogTest, BackgroundMaterialAnswersItsPreviewAverageForEveryKind) {
  const EffectRow& simple = effectRow(kSimpleEffectIndex);
  const uint32_t button = 104;
  MemBlock record(memAlloc(kMaterialRecordSize));
  ASSERT_TRUE(record);
  dialog->setBinding(button, uint8_t(ControlKind::kMaterialButton), reinterpret_cast<void*>(uintptr_t(record.get())));
  auto edit = [&](auto change) {
    MemLock lock(record.get());
    materialRecordDefaults(lock.data(), false);
    change(lock.data());
  };

  edit([](uint8_t* r) { writeU32(r + material::kColour, 0x0000FF); });
  EXPECT_EQ(effectQueryBackground(simple, *dialog, 0), 0x0000FF);
  EXPECT_EQ(effectQueryBackground(simple, *dialog, 1), 0x0000FF);  // one colour behind every frame

  // Red to blue, left to right: the mean is half of each.
  edit([](uint8_t* r) {
    writeI32(r + material::kKind, kMaterialGradient);
    writeU32(r + material::kGradient + gradient::kStartColour, 0x0000FF);
    writeU32(r + material::kGradient + gradient::kEndColour, 0xFF0000);
    writeU32(r + material::kGradient + gradient::kColourMode, 1);
  });
  int32_t gradient = effectQueryBackground(simple, *dialog, 0);
  EXPECT_NEAR(gradient & 0xFF, 127, 12);
  EXPECT_EQ((gradient >> 8) & 0xFF, 0);
  EXPECT_NEAR((gradient >> 16) & 0xFF, 127, 12);

  // A texture is generated square at the longer side; the preview keeps its centre rows.
  const int32_t w = kMaterialPreviewWidth, h = kMaterialPreviewHeight;
  uint8_t texture[kMaterialRecordSize];
  materialRecordDefaults(texture, false);
  textureSetOutputRect(texture + material::kTexture, 0, 0, w, w);
  MemBlock square(textureGenerate(texture + material::kTexture));
  ASSERT_TRUE(square);
  const uint32_t textureMean = meanOf(square.get(), 0, (w - h) / 2, w, h);
  EXPECT_NE(textureMean, 0u);
  edit([](uint8_t* r) { writeI32(r + material::kKind, kMaterialTexture); });
  EXPECT_EQ(effectQueryBackground(simple, *dialog, 0), int32_t(textureMean));

  // Without a tile of its own the built-in one is tiled from the top left.
  MemBlock tile(tileBuiltInImage());
  const uint32_t tileMean = meanOf(tile.get(), 0, 0, w, h);
  edit([](uint8_t* r) { writeI32(r + material::kKind, kMaterialTile); });
  EXPECT_EQ(effectQueryBackground(simple, *dialog, 0), int32_t(tileMean));
  {
    MemLock lock(record.get());
    EXPECT_EQ(readU32(lock.data() + material::kPreviewAverage), tileMean);  // kept in the record
  }
  dialog->setBinding(button, uint8_t(ControlKind::kMaterialButton), nullptr);
}

TEST_F(EffectDialogTest, MissingOperationsAreSafe) {
  // A row whose operations are not written (every effect has them once done).
  EffectRow arrows = effectRow(0);
  arrows.preview = nullptr;
  arrows.build = nullptr;
  arrows.queryBackground = nullptr;
  EXPECT_FALSE(effectAvailable(arrows));
  EffectContext ctx;
  ctx.window = dialog.get();
  EXPECT_EQ(effectPreview(arrows, ctx), 0);
  EXPECT_EQ(ctx.image, 0u);
  EXPECT_EQ(effectBuild(arrows, ctx), 0);
  EXPECT_TRUE(effectAvailable(effectRow(kSimpleEffectIndex)));
}

TEST_F(EffectDialogTest, APageCannotBeCreatedTwice) {
  EffectContext ctx;
  ctx.window = dialog.get();
  EXPECT_EQ(effectInitPage(effectRow(0), ctx), 0);  // its ids are taken
}

}  // namespace
}  // namespace gw
