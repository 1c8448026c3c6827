// What the "Gradient Library" dialog does, over any dialog facade: the real
// window in the DLL and the in-memory dialog natively run the same steps.
// The window procedure only turns mouse, drawing and notifications into the
// calls below.
//
//   FountainLibrarySession session(fountainLibraryPath(), callerRecord);
//   if (!session.start(dialog, 150, 26)) ... closed as cancelled (message shown)
//   session.drop(dialog, 3, 0);                 // drag item 3 onto item 0
//   int result; if (session.command(dialog, IDOK, &result)) EndDialog(result);
#pragma once

#include <cstdint>
#include <string>

#include "materials/fountain_library.h"
#include "platform/dialog_facade.h"

namespace gw {

constexpr uint32_t kFountainLibraryList = 101;
constexpr uint32_t kFountainLibraryDelete = 102;
// The list's row height and where a preview sits in its row.
constexpr int kFountainLibraryItemHeight = 42;
constexpr int kFountainLibraryPreviewInset = 8;
constexpr int kFountainLibraryPreviewHeight = 26;
// The preview width is this less the width of a vertical scroll bar.
constexpr int kFountainLibraryPreviewSpan = 170;

extern const char kFountainLibraryLoadError[];
extern const char kFountainLibraryUpdateError[];
extern const char kFountainLibraryAddError[];

class FountainLibrarySession {
 public:
  // `record` is the caller's fountain record; only OK changes it.
  FountainLibrarySession(std::string path, uint8_t* record) : path_(std::move(path)), record_(record) {}

  // Loads the library with previews of the given size, fills the list and
  // selects the first item. On failure shows the loading message and returns
  // false: the dialog closes as cancelled.
  bool start(DialogFacade& dialog, int32_t previewWidth, int32_t previewHeight);

  // OK (1), Cancel (2), Help (9) and "&Delete" (102). True when the dialog
  // ends, with its result (1 after OK, 0 otherwise) in *result.
  bool command(DialogFacade& dialog, uint32_t id, int* result);

  // The user picked another item (or none) in the list.
  void selectionChanged(DialogFacade& dialog);

  // A drag from item `from` released over item `to`: the item is inserted
  // at the target's place, removed from its old one, and selected. False
  // (nothing moved) for indexes outside the list.
  bool drop(DialogFacade& dialog, int from, int to);

  const FountainLibraryList& items() const { return items_; }

 private:
  void fillList(DialogFacade& dialog);
  void updateDelete(DialogFacade& dialog);
  void deleteSelected(DialogFacade& dialog);
  void accept(DialogFacade& dialog);

  std::string path_;
  uint8_t* record_;
  FountainLibraryList items_;
};

}  // namespace gw
