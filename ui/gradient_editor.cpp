#include "ui/gradient_editor.h"

#include <cstring>

#include "base/le_bytes.h"
#include "controls/colour_request.h"
#include "controls/spin_field.h"
#include "materials/gradient_render.h"
#include "ui/fountain_button.h"
#include "ui/help_request.h"

namespace gw {

namespace gradient_editor {
const char kTemplateName[] = "GradientEditor";
}

using namespace gradient_editor;

namespace {

constexpr uint32_t kFields[] = {kRotation, kEdgePad, kCentreX, kCentreY, kMidpoint};

size_t offsetOf(uint32_t field) {
  switch (field) {
    case kRotation: return gradient::kRotation;
    case kEdgePad: return gradient::kEdgePad;
    case kCentreX: return gradient::kCentreX;
    case kCentreY: return gradient::kCentreY;
    default: return gradient::kMidpoint;
  }
}

// A field, its up-down and its label go together.
void enableField(DialogFacade& dialog, uint32_t id, bool on) {
  dialog.setEnabled(id, on);
  dialog.setEnabled(id + kSpinPartnerOffset, on);
  dialog.setEnabled(id + kLabelOffset, on);
}

}  // namespace

GradientEditorSession::GradientEditorSession(DialogFacade& dialog, const uint8_t* hostParams,
                                             const uint8_t* settings621)
    : dialog_(dialog), hostParams_(hostParams) {
  std::memcpy(copy_, settings621, kGradientSettingsSize);
  // The preview handle inside belonged to whoever held the record before.
  writeU32(copy_ + gradient::kFountain + fountain::kPreviewImage, 0);
  // A stored record may carry anything; the editor shows what renders.
  const GradientParams p = gradientParams(copy_);
  writeI32(copy_ + gradient::kShape, p.shape);
  writeI32(copy_ + gradient::kEdgePad, p.edgePad);
  writeI32(copy_ + gradient::kCentreX, p.centreX);
  writeI32(copy_ + gradient::kCentreY, p.centreY);
  writeI32(copy_ + gradient::kMidpoint, p.midpoint);
  writeI32(copy_ + gradient::kRotation, p.rotation);
  writeI32(copy_ + gradient::kColourMode, p.twoColour ? 1 : 0);
}

GradientEditorSession::~GradientEditorSession() = default;

int32_t GradientEditorSession::shape() const { return readI32(copy_ + gradient::kShape); }
bool GradientEditorSession::twoColour() const { return readI32(copy_ + gradient::kColourMode) != 0; }

bool GradientEditorSession::start() {
  if (!attachFountainButton(dialog_, kFountain, hostParams_, &GradientEditorSession::fountainChanged, this))
    return false;
  if (!dialog_.sendMessage(kFountain, kMsgControlInit, 0,
                           reinterpret_cast<intptr_t>(copy_ + gradient::kFountain)))
    return false;
  showFields();
  applyEnabling();
  renderPreview();
  return true;
}

void GradientEditorSession::setNumberText(uint32_t id, int32_t value) {
  dialog_.setText(id, std::to_string(value));
}

void GradientEditorSession::showFields() {
  filling_ = true;
  for (uint32_t id : kFields) setNumberText(id, readI32(copy_ + offsetOf(id)));
  for (uint32_t id = kShapeLinear; id <= kShapeRectangular; ++id)
    dialog_.setChecked(id, int32_t(id - kShapeLinear) == shape());
  dialog_.setChecked(kTwoColour, twoColour());
  dialog_.setChecked(kMultiColour, !twoColour());
  dialog_.setText(kStartColour, std::to_string(readU32(copy_ + gradient::kStartColour)));
  dialog_.setText(kEndColour, std::to_string(readU32(copy_ + gradient::kEndColour)));
  if (showMidpointSlider) showMidpointSlider(readI32(copy_ + gradient::kMidpoint));
  filling_ = false;
}

void GradientEditorSession::applyEnabling() {
  const int32_t s = shape();
  enableField(dialog_, kRotation, s == kGradientLinear || s == kGradientAngular);
  enableField(dialog_, kCentreX, s != kGradientLinear);
  enableField(dialog_, kCentreY, s != kGradientLinear);
  const bool two = twoColour();
  dialog_.setEnabled(kStartColour, two);
  dialog_.setEnabled(kEndColour, two);
  dialog_.setEnabled(kMidpointSlider, two);
  enableField(dialog_, kMidpoint, two);
  dialog_.setEnabled(kFountain, !two);
}

void GradientEditorSession::setPreviewSize(int width, int height) {
  previewWidth_ = width;
  previewHeight_ = height;
  renderPreview();
}

void GradientEditorSession::renderPreview() {
  preview_.reset(previewWidth_ > 0 && previewHeight_ > 0 ? gradientRender(copy_, previewWidth_, previewHeight_) : 0);
  if (repaintControl) repaintControl(kPreview);
}

// The button's ramp becomes the copy's; its run-time tail stays the button's.
void GradientEditorSession::syncFountain() {
  MemLock lock(fountainButtonRecord(dialog_, kFountain));
  if (!lock || lock.size() < kFountainRecordSize) return;
  uint8_t* f = copy_ + gradient::kFountain;
  std::memcpy(f, lock.data(), fountain::kPreviewImage);
  std::memcpy(f + fountain::kMarkerCount, lock.data() + fountain::kMarkerCount,
              fountain::kEditorState - fountain::kMarkerCount);
  renderPreview();
}

void GradientEditorSession::fountainChanged(void* self) { static_cast<GradientEditorSession*>(self)->syncFountain(); }

void GradientEditorSession::readField(uint32_t id) {
  const int32_t value = spinFieldValue(dialog_, id);
  if (value == readI32(copy_ + offsetOf(id))) return;
  writeI32(copy_ + offsetOf(id), value);
  if (id == kMidpoint && showMidpointSlider) showMidpointSlider(value);
  renderPreview();
}

void GradientEditorSession::midpointSliderMoved(int value) {
  value = value < 1 ? 1 : (value > 99 ? 99 : value);
  if (value == readI32(copy_ + gradient::kMidpoint)) return;
  writeI32(copy_ + gradient::kMidpoint, value);
  filling_ = true;
  setNumberText(kMidpoint, value);
  filling_ = false;
  renderPreview();
}

bool GradientEditorSession::pickColour(size_t offset) {
  uint32_t colour = readU32(copy_ + offset) & 0xFFFFFF;
  if (!requestColour(hostParams_, dialog_.window(), &colour)) return false;
  writeU32(copy_ + offset, colour);
  dialog_.setText(offset == gradient::kStartColour ? kStartColour : kEndColour, std::to_string(colour));
  if (repaintControl) repaintControl(offset == gradient::kStartColour ? kStartColour : kEndColour);
  renderPreview();
  return true;
}

bool GradientEditorSession::command(uint32_t id, ControlEvent event, bool* accepted) {
  if (accepted) *accepted = false;
  if (id == kOk || id == kCancel) {
    if (accepted) *accepted = id == kOk;
    return true;
  }
  if (event == ControlEvent::kChange) {
    if (filling_) return false;
    for (uint32_t field : kFields)
      if (id == field) readField(id);
    return false;
  }
  if (event != ControlEvent::kClick) return false;
  if (!dialog_.enabled(id)) return false;
  if (id >= kShapeLinear && id <= kShapeRectangular) {
    writeI32(copy_ + gradient::kShape, int32_t(id - kShapeLinear));
    for (uint32_t b = kShapeLinear; b <= kShapeRectangular; ++b) {
      dialog_.setChecked(b, b == id);
      if (repaintControl) repaintControl(b);
    }
    applyEnabling();
    renderPreview();
  } else if (id == kTwoColour || id == kMultiColour) {
    writeI32(copy_ + gradient::kColourMode, id == kTwoColour ? 1 : 0);
    dialog_.setChecked(kTwoColour, id == kTwoColour);
    dialog_.setChecked(kMultiColour, id == kMultiColour);
    applyEnabling();
    renderPreview();
  } else if (id == kStartColour) {
    pickColour(gradient::kStartColour);
  } else if (id == kEndColour) {
    pickColour(gradient::kEndColour);
  } else if (id == kFountain) {
    syncFountain();
  } else if (id == kHelp) {
    showHelpTopic(dialog_.window(), "GRADIENT");
  }
  return false;
}

}  // namespace gw
