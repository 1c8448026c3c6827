#include "host/main_dialog.h"
#include "platform/in_memory_dialog.h"
#include "resources/resource_ids.h"

namespace gw {
namespace {
MainDialogDriver& driver() {
  static MainDialogDriver d;
  return d;
}
// The screen the in-memory dialog pretends to have, for capping host sizes.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;
}  // namespace

void setMainDialogDriver(MainDialogDriver d) { driver() = std::move(d); }

int runMainDialog(WindowId owner, const uint8_t* params) {
  auto dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
  if (!dialog) return 0;
  if (!mainDialogInit(*dialog, params, kScreenWidth, kScreenHeight)) {
    mainDialogDestroy(*dialog);
    return IDC_CANCEL;
  }
  std::vector<uint32_t> presses = driver() ? driver()(*dialog) : std::vector<uint32_t>{IDC_CANCEL};
  int endWith = IDC_CANCEL;
  for (uint32_t id : presses) {
    if (mainDialogCommand(*dialog, id, &endWith)) break;
  }
  mainDialogDestroy(*dialog);
  return endWith;
}

}  // namespace gw
