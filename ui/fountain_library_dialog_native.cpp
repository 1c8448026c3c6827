#include "platform/in_memory_dialog.h"
#include "materials/fountain_library.h"
#include "ui/fountain_library_dialog.h"

namespace gw {
namespace {
FountainLibraryDriver& driver() {
  static FountainLibraryDriver d;
  return d;
}
// The classic scheme's vertical scroll bar.
constexpr int kScrollBarWidth = 16;
}  // namespace

void setFountainLibraryDriver(FountainLibraryDriver d) { driver() = std::move(d); }

int runFountainLibraryDialog(WindowId owner, uint8_t* fountain581) {
  auto dialog = InMemoryDialog::fromResource(ResourceName::text(kFountainLibraryTemplate));
  if (!dialog) return 0;
  FountainLibrarySession session(fountainLibraryPath(), fountain581);
  if (!session.start(*dialog, kFountainLibraryPreviewSpan - kScrollBarWidth, kFountainLibraryPreviewHeight)) return 0;
  std::vector<uint32_t> presses = driver() ? driver()(*dialog, session) : std::vector<uint32_t>{2};
  int result = 0;
  for (uint32_t id : presses)
    if (session.command(*dialog, id, &result)) return result;
  return 0;
}

}  // namespace gw
