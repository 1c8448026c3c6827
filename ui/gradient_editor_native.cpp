// The gradient editor without a screen: the dialog is built in memory from
// its template and a responder plays the user (tests); without one the
// editor is cancelled at once, so nothing blocks a command-line run.
#include <cstring>

#include "platform/in_memory_dialog.h"
#include "ui/gradient_editor.h"

namespace gw {
namespace {
testing::GradientEditorResponder& responder() {
  static testing::GradientEditorResponder r;
  return r;
}
}  // namespace

bool runGradientEditor(WindowId, const uint8_t* hostParams, uint8_t* settings621) {
  if (!settings621) return false;
  auto dialog = InMemoryDialog::fromResource(ResourceName::text(gradient_editor::kTemplateName));
  if (!dialog) return false;
  bool accepted = false;
  {
    GradientEditorSession session(*dialog, hostParams, settings621);
    if (const InMemoryControl* preview = dialog->control(gradient_editor::kPreview))
      // Dialog units at the template's 8-point font: 4 x 8 units per 6 x 13 pixels.
      session.setPreviewSize(preview->item.rect.cx * 6 / 4, preview->item.rect.cy * 13 / 8);
    if (!session.start()) return false;
    const uint32_t ending = responder() ? responder()(*dialog, session) : gradient_editor::kCancel;
    session.command(ending, ControlEvent::kClick, &accepted);
    if (accepted) std::memcpy(settings621, session.settings(), kGradientSettingsSize);
  }
  return accepted;
}

namespace testing {
void setGradientEditorResponder(GradientEditorResponder r) { responder() = std::move(r); }
}  // namespace testing

}  // namespace gw
