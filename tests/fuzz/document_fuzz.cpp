// Effect documents: whatever a document holds, reading it never harms the
// dialog, and the document the dialog then writes reads back into a fresh
// dialog to the same bytes.
#include <string>

#include "documents/document_text.h"
#include "effects/effect_pages.h"
#include "host/main_dialog.h"
#include "platform/in_memory_dialog.h"
#include "platform/system_state.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

// The main dialog as the plug-in opens it with Shift held, given back with
// its records freed and the process's settings as they were.
struct OpenDialog {
  OpenDialog() : saved(gw::settings()), dialog(gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN))) {
    gw::testing::setShiftKeyDown(true);
    ready = dialog && gw::mainDialogInit(*dialog, nullptr, 1024, 768);
    gw::testing::setShiftKeyDown(false);
  }
  ~OpenDialog() {
    if (dialog) gw::releaseEffectPages(*dialog);
    gw::settings() = saved;
  }
  gw::SettingsRecord saved;
  std::unique_ptr<gw::InMemoryDialog> dialog;
  bool ready = false;
};

}  // namespace

GW_FUZZ_TARGET(effect_document) {
  using namespace gw;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::string written;
  {
    OpenDialog first;
    GW_FUZZ_CHECK(first.ready);
    applyDocumentText(*first.dialog, bytes, nullptr);
    written = documentText(*first.dialog);
  }
  OpenDialog second;
  GW_FUZZ_CHECK(second.ready);
  GW_FUZZ_CHECK(applyDocumentText(*second.dialog, written, nullptr) == DocumentRead::kRead);
  GW_FUZZ_CHECK(documentText(*second.dialog) == written);
}
