// The "Gradient" editor: the dialog in which a gradient material's settings
// (shape, rotation, edge pad, centre, two colours and midpoint, or a
// multi-colour fountain) are changed while a preview follows every change.
// It works on a copy of the 621-byte settings and writes it back only on OK.
//
//   if (gw::runGradientEditor(button, hostParams, material + gw::material::kGradient)) repaint();
//
// GradientEditorSession is the dialog's logic over any DialogFacade: the
// Windows dialog procedure forwards to it, and natively the tests drive it
// through the in-memory dialog built from the same template.
#pragma once

#include <cstdint>
#include <functional>

#include "controls/bound_control.h"
#include "materials/gradient_settings.h"
#include "platform/dialog_facade.h"
#include "platform/memory.h"
#include "platform/window.h"

namespace gw {

// True on OK (settings written back), false on Cancel or when the dialog
// could not be shown (settings untouched).
bool runGradientEditor(WindowId owner, const uint8_t* hostParams, uint8_t* settings621);

namespace gradient_editor {
extern const char kTemplateName[];  // "GradientEditor"
constexpr uint32_t kOk = 1;
constexpr uint32_t kCancel = 2;
constexpr uint32_t kHelp = 9;
constexpr uint32_t kShapeLinear = 101;  // 101..104: shapes 0..3
constexpr uint32_t kShapeRectangular = 104;
constexpr uint32_t kPreview = 105;
constexpr uint32_t kEndColour = 106;
constexpr uint32_t kStartColour = 107;
constexpr uint32_t kMidpointSlider = 108;
constexpr uint32_t kMidpoint = 110;
constexpr uint32_t kRotation = 111;
constexpr uint32_t kEdgePad = 112;
constexpr uint32_t kCentreX = 113;
constexpr uint32_t kCentreY = 114;
constexpr uint32_t kTwoColour = 118;
constexpr uint32_t kMultiColour = 119;
constexpr uint32_t kFountain = 120;
// Labels of the fields, enabled with them: the field's id + 20.
constexpr uint32_t kLabelOffset = 20;
}  // namespace gradient_editor

class GradientEditorSession {
 public:
  GradientEditorSession(DialogFacade& dialog, const uint8_t* hostParams, const uint8_t* settings621);
  ~GradientEditorSession();
  GradientEditorSession(const GradientEditorSession&) = delete;
  GradientEditorSession& operator=(const GradientEditorSession&) = delete;

  // Starts the fountain button, fills the fields from the copy, applies the
  // enabling rule and renders the preview. False when the fountain button
  // cannot be made.
  bool start();
  // A control's event. True when it ends the dialog (OK or Cancel), with
  // *accepted telling which.
  bool command(uint32_t id, ControlEvent event, bool* accepted);
  // The midpoint slider was moved (Windows: WM_HSCROLL).
  void midpointSliderMoved(int value);
  // Pixel size the preview renders at (the control's client size on Windows).
  void setPreviewSize(int width, int height);

  const uint8_t* settings() const { return copy_; }
  int32_t shape() const;
  bool twoColour() const;
  // The preview bitmap (owned by the session), 0 when rendering failed.
  MemHandle preview() const { return preview_.get(); }
  // The view hears of what it shows beyond the facade: the slider position.
  std::function<void(int midpoint)> showMidpointSlider;
  // The view repaints owner-drawn controls (preview, colours, shapes).
  std::function<void(uint32_t id)> repaintControl;

 private:
  void showFields();
  void applyEnabling();
  void renderPreview();
  void syncFountain();
  void readField(uint32_t id);
  bool pickColour(size_t offset);
  void setNumberText(uint32_t id, int32_t value);
  static void fountainChanged(void* self);

  DialogFacade& dialog_;
  const uint8_t* hostParams_;
  uint8_t copy_[kGradientSettingsSize];
  MemBlock preview_;
  int previewWidth_ = 160;  // until the view tells the control's size
  int previewHeight_ = 120;
  bool filling_ = false;  // fields being filled: their change events are ours
};

namespace testing {
// Natively the editor has no screen: the responder acts on the open dialog
// (as a user would) and returns the id of the button that ends it. Without
// one the editor is cancelled at once.
using GradientEditorResponder = std::function<uint32_t(DialogFacade& dialog, GradientEditorSession& session)>;
void setGradientEditorResponder(GradientEditorResponder responder);
}  // namespace testing

}  // namespace gw
