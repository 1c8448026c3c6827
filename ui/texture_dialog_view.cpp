#include "ui/texture_dialog_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "resources/resource_ids.h"

namespace gw {
namespace {

namespace ts = texture_settings;

constexpr uint32_t kPower = 502, kSeed = 507, kDimension = 512, kMesh = 517, kFore = 518, kBack = 523,
                   kCraterCount = 524, kCraterDepth = 525, kBubbleCount = 526, kBubbleSize = 527,
                   kBubblePower = 528, kShape = 529, kPerturbation = 530, kRampPoint = 531, kRampColour = 532;

const char* const kRampPointNames[] = {"1", "2", "3", "4"};

std::vector<TextureField> makeFields() {
  std::vector<TextureField> f;
  for (uint32_t k = 0; k < ts::kLayerCount; ++k) {
    f.push_back({kPower + k, TextureFieldKind::kReal, ts::power(k), 0.0, 10.0});
    f.push_back({kSeed + k, TextureFieldKind::kWhole, ts::seed(k), 0.0, 4294967295.0});
    f.push_back({kDimension + k, TextureFieldKind::kReal, ts::dimension(k), 0.0, 3.0});
    f.push_back({kFore + k, TextureFieldKind::kColour, ts::foreColour(k), 0.0, 0.0});
  }
  f.push_back({kMesh, TextureFieldKind::kWhole, ts::kMeshSize, 2.0, 2048.0});
  f.push_back({kBack, TextureFieldKind::kColour, ts::kBackColour, 0.0, 0.0});
  f.push_back({kCraterCount, TextureFieldKind::kWhole, ts::kCraterCount, 0.0, 100000.0});
  f.push_back({kCraterDepth, TextureFieldKind::kReal, ts::kCraterDepth, 0.0, 10.0});
  f.push_back({kBubbleCount, TextureFieldKind::kWhole, ts::kBubbleCount, 0.0, 1024.0});
  f.push_back({kBubbleSize, TextureFieldKind::kWhole, ts::kBubbleSize, 1.0, 512.0});
  f.push_back({kBubblePower, TextureFieldKind::kReal, ts::kBubblePower, -10.0, 10.0});
  f.push_back({kShape, TextureFieldKind::kShape, ts::kBubbleShape, 0.0, 3.0});
  f.push_back({kPerturbation, TextureFieldKind::kReal, ts::kPerturbationPower, 0.0, 10.0});
  f.push_back({kRampPoint, TextureFieldKind::kRampPoint, 0, 0.0, 3.0});
  f.push_back({kRampColour, TextureFieldKind::kRampColour, ts::kRampRed, 0.0, 0.0});
  return f;
}

const std::vector<TextureField>& fields() {
  static const std::vector<TextureField> table = makeFields();
  return table;
}

uint8_t rampByte(float v) { return uint8_t(std::lround(std::clamp(double(v), 0.0, 1.0) * 255.0)); }

}  // namespace

const TextureField* textureField(uint32_t id) {
  for (const TextureField& f : fields())
    if (f.id == id) return &f;
  return nullptr;
}

bool textureFieldUsed(uint32_t type, uint32_t id) {
  if (type <= kTexture5ColourFractal) {
    const uint32_t layers = type + 1;  // one per colour above the background
    for (uint32_t first : {kPower, kSeed, kDimension, kFore})
      if (id >= first && id < first + ts::kLayerCount) return id - first < layers;
    return id == kMesh || id == kBack;
  }
  if (type == kTextureCraters)
    return id == kSeed || id == kFore || id == kBack || id == kCraterCount || id == kCraterDepth;
  if (type == kTexturePerturbation) return id == kSeed || (id >= kBubbleCount && id <= kRampColour);
  return false;
}

TextureDialogView::TextureDialogView(DialogFacade& dialog, GroupPrompts prompts, bool backup,
                                     const uint8_t* record268)
    : dialog_(dialog), editor_(std::move(prompts), backup) {
  std::copy(record268, record268 + ts::kSize, working_.begin());
}

void TextureDialogView::open(const std::string& groupFile) {
  filling_ = true;
  dialog_.clearItems(IDC_TEXTURE_GENERATOR);
  for (uint32_t t = 0; t < kTextureTypeCount; ++t) dialog_.addItem(IDC_TEXTURE_GENERATOR, textureTypeName(t));
  dialog_.clearItems(kShape);
  for (uint32_t s = 0; s < 4; ++s) dialog_.addItem(kShape, bubbleShapeName(s));
  dialog_.clearItems(kRampPoint);
  for (const char* n : kRampPointNames) dialog_.addItem(kRampPoint, n);
  filling_ = false;
  editor_.open(groupFile);
  fillGroups();
  fillItems();
  showFields();
  showValues();
}

void TextureDialogView::fillGroups() {
  filling_ = true;
  dialog_.clearItems(IDC_TEXTURE_GROUPS);
  for (const std::string& name : editor_.groupNames()) dialog_.addItem(IDC_TEXTURE_GROUPS, name);
  dialog_.setSelection(IDC_TEXTURE_GROUPS, editor_.currentGroupIndex());
  filling_ = false;
}

void TextureDialogView::fillItems() {
  filling_ = true;
  dialog_.clearItems(IDC_TEXTURE_ITEMS);
  for (const TextureItem& item : editor_.group().items) dialog_.addItem(IDC_TEXTURE_ITEMS, item.name);
  dialog_.setSelection(IDC_TEXTURE_ITEMS, editor_.selectedItem());
  dialog_.setEnabled(IDC_TEXTURE_REMOVE, editor_.removeEnabled());
  filling_ = false;
}

void TextureDialogView::showFields() {
  const uint32_t type = readU32(working_.data() + ts::kType);
  for (const TextureField& f : fields()) {
    const bool used = textureFieldUsed(type, f.id);
    dialog_.setVisible(f.id, used);
    // The layer grid has one label per column, over its first row.
    if (dialog_.hasControl(f.id + IDC_TEXTURE_LABEL_OFFSET)) dialog_.setVisible(f.id + IDC_TEXTURE_LABEL_OFFSET, used);
  }
  // Rows are layers only for the fractals; craters and perturbation use the
  // first row's seed (and colour) alone, under the column labels.
  const bool layered = type <= kTexture5ColourFractal;
  for (uint32_t k = 0; k < ts::kLayerCount; ++k)
    dialog_.setVisible(IDC_TEXTURE_ROW_LABEL + k, layered && textureFieldUsed(type, kSeed + k));
}

void TextureDialogView::showValues() {
  filling_ = true;
  const uint32_t type = readU32(working_.data() + ts::kType);
  dialog_.setSelection(IDC_TEXTURE_GENERATOR, type < kTextureTypeCount ? int(type) : -1);
  char text[64];
  for (const TextureField& f : fields()) {
    const uint8_t* at = working_.data() + f.offset;
    switch (f.kind) {
      case TextureFieldKind::kReal:
        std::snprintf(text, sizeof text, "%.6g", double(ts::readF32(at)));
        dialog_.setText(f.id, text);
        break;
      case TextureFieldKind::kWhole:
        std::snprintf(text, sizeof text, "%lld",
                      f.id == kBubbleCount ? static_cast<long long>(readI32(at)) : static_cast<long long>(readU32(at)));
        dialog_.setText(f.id, text);
        break;
      case TextureFieldKind::kShape:
        dialog_.setSelection(f.id, readU32(at) < 4 ? int(readU32(at)) : -1);
        break;
      case TextureFieldKind::kRampPoint:
        dialog_.setSelection(f.id, rampPoint_);
        break;
      default:
        break;  // colours are drawn from colourOf
    }
  }
  filling_ = false;
}

void TextureDialogView::readField(uint32_t id) {
  const TextureField* f = textureField(id);
  if (!f) return;
  uint8_t* at = working_.data() + f->offset;
  if (f->kind == TextureFieldKind::kShape || f->kind == TextureFieldKind::kRampPoint) {
    const int sel = dialog_.selection(id);
    if (sel < 0 || sel > int(f->max)) return;
    if (f->kind == TextureFieldKind::kShape) writeU32(at, uint32_t(sel));
    else rampPoint_ = sel;
    return;
  }
  if (f->kind != TextureFieldKind::kReal && f->kind != TextureFieldKind::kWhole) return;
  const std::string text = dialog_.text(id);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  // A half-typed number ("", "-", "1e") keeps the last good value.
  if (text.empty() || end == text.c_str() || !std::isfinite(value)) return;
  const double held = std::clamp(value, f->min, f->max);
  if (f->kind == TextureFieldKind::kReal) ts::writeF32(at, float(held));
  else if (id == kBubbleCount) writeI32(at, int32_t(held));
  else writeU32(at, uint32_t(held));
}

uint32_t TextureDialogView::colourOf(uint32_t id) const {
  const TextureField* f = textureField(id);
  if (!f) return 0;
  if (f->kind == TextureFieldKind::kColour) return readU32(working_.data() + f->offset) & 0xFFFFFF;
  if (f->kind != TextureFieldKind::kRampColour) return 0;
  const size_t p = 4 * size_t(rampPoint_);
  const uint8_t* w = working_.data();
  return uint32_t(rampByte(ts::readF32(w + ts::kRampRed + p))) |
         uint32_t(rampByte(ts::readF32(w + ts::kRampGreen + p))) << 8 |
         uint32_t(rampByte(ts::readF32(w + ts::kRampBlue + p))) << 16;
}

bool TextureDialogView::setColour(uint32_t id, uint32_t colour) {
  const TextureField* f = textureField(id);
  if (!f || colourOf(id) == (colour & 0xFFFFFF)) return false;
  uint8_t* w = working_.data();
  if (f->kind == TextureFieldKind::kColour) {
    writeU32(w + f->offset, colour & 0xFFFFFF);
    return true;
  }
  if (f->kind != TextureFieldKind::kRampColour) return false;
  const size_t p = 4 * size_t(rampPoint_);
  ts::writeF32(w + ts::kRampRed + p, float((colour & 0xFF) / 255.0));
  ts::writeF32(w + ts::kRampGreen + p, float(((colour >> 8) & 0xFF) / 255.0));
  ts::writeF32(w + ts::kRampBlue + p, float(((colour >> 16) & 0xFF) / 255.0));
  return true;
}

bool TextureDialogView::command(uint32_t id, TextureEvent event, bool shift) {
  if (filling_) return false;
  switch (id) {
    case IDC_BUILD:
      editor_.accept();
      result_ = 1;
      return true;
    case IDC_CANCEL:
      result_ = 0;
      return true;
    case IDC_TEXTURE_GROUPS:
      if (event == TextureEvent::kCloseUp) {
        const int sel = dialog_.selection(IDC_TEXTURE_GROUPS);
        if (sel >= 0) editor_.chooseGroup(dialog_.itemText(IDC_TEXTURE_GROUPS, sel));
        fillGroups();
        fillItems();
      }
      return false;
    case IDC_TEXTURE_ITEMS: {
      const int sel = dialog_.selection(IDC_TEXTURE_ITEMS);
      if (event == TextureEvent::kSelect && editor_.selectItem(sel, working_.data())) {
        showFields();
        showValues();
      } else if (event == TextureEvent::kDoubleClick && sel >= 0) {
        editor_.renameItem(sel);
        fillItems();
      }
      dialog_.setEnabled(IDC_TEXTURE_REMOVE, editor_.removeEnabled());
      return false;
    }
    case IDC_TEXTURE_ADD:
      if (event != TextureEvent::kClick) return false;
      editor_.add(shift, working_.data());
      fillGroups();
      fillItems();
      return false;
    case IDC_TEXTURE_REMOVE:
      if (event != TextureEvent::kClick) return false;
      editor_.remove(shift);
      fillGroups();
      fillItems();
      return false;
    case IDC_TEXTURE_GENERATOR: {
      const int sel = dialog_.selection(IDC_TEXTURE_GENERATOR);
      if (event == TextureEvent::kSelect && sel >= 0 && uint32_t(sel) < kTextureTypeCount) {
        writeU32(working_.data() + ts::kType, uint32_t(sel));
        showFields();
      }
      return false;
    }
    default:
      if (event == TextureEvent::kEdit || event == TextureEvent::kSelect) readField(id);
      return false;
  }
}

}  // namespace gw
