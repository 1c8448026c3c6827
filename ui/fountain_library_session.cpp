#include "ui/fountain_library_session.h"

#include <cstring>
#include <utility>

#include "materials/fountain_record.h"
#include "ui/fountain_library_dialog.h"
#include "ui/help_request.h"
#include "ui/message_box.h"

namespace gw {

const char kFountainLibraryTemplate[] = "FountainLibrary";
const char kFountainLibraryLoadError[] = "There has been an error loading the fountain library.";
const char kFountainLibraryUpdateError[] = "There has been an error updating the fountain library.";
const char kFountainLibraryAddError[] = "There has been an error adding this library entry.";

namespace {
constexpr uint32_t kOk = 1;
constexpr uint32_t kCancel = 2;
constexpr uint32_t kHelp = 9;
}  // namespace

bool FountainLibrarySession::start(DialogFacade& dialog, int32_t previewWidth, int32_t previewHeight) {
  if (fountainLibraryLoad(path_, previewWidth, previewHeight, &items_) != FountainLibraryStatus::Ok) {
    showMessage(dialog.window(), kFountainLibraryLoadError);
    return false;
  }
  fillList(dialog);
  dialog.setSelection(kFountainLibraryList, items_.empty() ? -1 : 0);
  updateDelete(dialog);
  return true;
}

void FountainLibrarySession::fillList(DialogFacade& dialog) {
  // The items carry no text: the list draws each one's preview by index.
  dialog.clearItems(kFountainLibraryList);
  for (size_t i = 0; i < items_.size(); ++i) dialog.addItem(kFountainLibraryList, "");
}

void FountainLibrarySession::updateDelete(DialogFacade& dialog) {
  int selected = dialog.selection(kFountainLibraryList);
  dialog.setEnabled(kFountainLibraryDelete, !items_.empty() && selected >= 0 && size_t(selected) < items_.size());
}

void FountainLibrarySession::selectionChanged(DialogFacade& dialog) { updateDelete(dialog); }

bool FountainLibrarySession::drop(DialogFacade& dialog, int from, int to) {
  const int count = int(items_.size());
  if (from < 0 || to < 0 || from >= count || to >= count) return false;
  if (from != to) {
    // Taking it out first and putting it at the target's index leaves it at
    // that index whichever way it moved.
    FountainLibraryItem moved = std::move(items_[size_t(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(moved));
    fillList(dialog);
  }
  dialog.setSelection(kFountainLibraryList, to);
  updateDelete(dialog);
  return true;
}

void FountainLibrarySession::deleteSelected(DialogFacade& dialog) {
  int selected = dialog.selection(kFountainLibraryList);
  if (selected < 0 || size_t(selected) >= items_.size()) return;
  items_.erase(items_.begin() + selected);
  fillList(dialog);
  int next = selected < int(items_.size()) ? selected : int(items_.size()) - 1;
  dialog.setSelection(kFountainLibraryList, next);
  updateDelete(dialog);
}

void FountainLibrarySession::accept(DialogFacade& dialog) {
  if (!fountainLibraryRewrite(path_, items_)) showMessage(dialog.window(), kFountainLibraryUpdateError);
  int selected = dialog.selection(kFountainLibraryList);
  if (record_ && selected >= 0 && size_t(selected) < items_.size()) {
    // The ramp only: the caller's flags (looped, write-back) stay its own.
    const uint8_t* from = items_[size_t(selected)].record;
    std::memcpy(record_ + fountain::kMarkerCount, from + fountain::kMarkerCount,
                fountain::kEditorState - fountain::kMarkerCount);
  }
}

bool FountainLibrarySession::command(DialogFacade& dialog, uint32_t id, int* result) {
  switch (id) {
    case kOk:
      accept(dialog);
      *result = 1;
      return true;
    case kCancel:
      *result = 0;
      return true;
    case kHelp:
      showHelpTopic(dialog.window(), "FOUNTAIN");
      return false;
    case kFountainLibraryDelete:
      deleteSelected(dialog);
      return false;
    default:
      return false;
  }
}

}  // namespace gw
