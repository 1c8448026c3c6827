// The "Gradient Library" dialog driven through the in-memory dialog: what it
// shows, and what delete, drag, OK, Cancel and Help do to the library file
// and to the caller's record.
#include <gtest/gtest.h>

#include "tests/temp_folder.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "platform/bitmap.h"
#include "platform/dialog_template.h"
#include "platform/message_dialog.h"
#include "platform/resources.h"
#include "ui/fountain_library_dialog.h"
#include "ui/help_request.h"

namespace gw {
namespace {

constexpr uint32_t kList = 101, kDelete = 102, kOk = 1, kCancel = 2, kHelp = 9;

// A library of `n` entries told apart by their start colour (i + 1).
class FountainLibraryDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("GLYPHWRIGHT_APPDATA", folder_.path().c_str(), 1);
    mkdir((folder_.path() + "/Quillmere").c_str(), 0755);
    mkdir((folder_.path() + "/Quillmere/Glyphwright 5").c_str(), 0755);
    path_ = fountainLibraryPath();
    setMessageResponder([this](const std::string&, const std::string& text) {
      messages_.push_back(text);
      return 1;
    });
    fountainRecordDefaults(record_, FountainPreset::Rainbow);
    writeU32(record_ + fountain::kFlags, fountain::kFlagLooped | fountain::kFlagWriteBack);
  }
  void TearDown() override {
    setFountainLibraryDriver(nullptr);
    setMessageResponder(nullptr);
    setHelpHandler(nullptr);
    unsetenv("GLYPHWRIGHT_APPDATA");
  }
  void makeLibrary(int n) {
    for (int i = 0; i < n; ++i) {
      uint8_t f[kFountainRecordSize];
      fountainRecordDefaults(f, i % 2 ? FountainPreset::Grey : FountainPreset::Empty);
      writeU32(f + fountain::kStartColour, uint32_t(i + 1));
      ASSERT_TRUE(fountainLibraryAdd(path_, f));
    }
  }
  // The start colours of the library on disk, in order.
  std::vector<uint32_t> onDisk() {
    FountainLibraryList list;
    std::vector<uint32_t> starts;
    if (fountainLibraryLoad(path_, 0, 0, &list) != FountainLibraryStatus::Ok) return {0xDEAD};
    for (const FountainLibraryItem& item : list) starts.push_back(readU32(item.record + fountain::kStartColour));
    return starts;
  }
  int run(FountainLibraryDriver driver) {
    setFountainLibraryDriver(std::move(driver));
    return runFountainLibraryDialog(0, record_);
  }
  static void select(DialogFacade& d, FountainLibrarySession& s, int index) {
    d.setSelection(kList, index);
    s.selectionChanged(d);
  }

  TempFolder folder_{"fountain-dialog"};
  std::string path_;
  std::vector<std::string> messages_;
  uint8_t record_[kFountainRecordSize];
};

TEST_F(FountainLibraryDialogTest, TemplateHasTheListAndButtons) {
  auto t = loadDialogTemplate(ResourceName::text(kFountainLibraryTemplate));
  ASSERT_TRUE(t);
  EXPECT_EQ(t->title, "Gradient Library");
  struct Want {
    uint32_t id;
    const char* className;
    const char* text;
  } wants[] = {{kList, "ListBox", ""}, {kOk, "Button", "OK"}, {kCancel, "Button", "Cancel"},
               {kHelp, "Button", "Help"}, {kDelete, "Button", "&Delete"}};
  for (const Want& w : wants) {
    const DialogItem* found = nullptr;
    for (const DialogItem& item : t->items)
      if (item.id == w.id) found = &item;
    ASSERT_NE(found, nullptr) << w.id;
    EXPECT_EQ(found->className, w.className) << w.id;
    EXPECT_EQ(found->text, w.text) << w.id;
    if (w.id == kList) {
      EXPECT_EQ(found->style & 0x30u, 0x10u) << "owner-drawn, fixed rows";
      EXPECT_NE(found->style & 0x1u, 0u) << "notifies its owner (double clicks)";
    }
  }
}

TEST_F(FountainLibraryDialogTest, OpensWithPreviewsAndTheFirstItemSelected) {
  makeLibrary(3);
  int answer = run([](DialogFacade& d, FountainLibrarySession& s) {
    EXPECT_EQ(d.itemCount(kList), 3);
    EXPECT_EQ(d.itemText(kList, 1), "");
    EXPECT_EQ(d.selection(kList), 0);
    EXPECT_TRUE(d.enabled(kDelete));
    MemLock lock(s.items()[0].preview.get());
    BitmapView view = BitmapView::of(lock);
    EXPECT_TRUE(view.valid());
    EXPECT_EQ(view.width(), 170 - 16);
    EXPECT_EQ(view.height(), 26);
    return std::vector<uint32_t>{kCancel};
  });
  EXPECT_EQ(answer, 0);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(FountainLibraryDialogTest, MissingOrDamagedLibraryShowsTheLoadingError) {
  bool driven = false;
  auto driver = [&](DialogFacade&, FountainLibrarySession&) {
    driven = true;
    return std::vector<uint32_t>{kOk};
  };
  EXPECT_EQ(run(driver), 0);
  makeLibrary(1);
  FILE* f = std::fopen(path_.c_str(), "r+b");
  std::fputc('X', f);
  std::fclose(f);
  EXPECT_EQ(run(driver), 0);
  EXPECT_FALSE(driven);
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0], "There has been an error loading the fountain library.");
  uint8_t rainbow[kFountainRecordSize];
  fountainRecordDefaults(rainbow, FountainPreset::Rainbow);
  EXPECT_EQ(std::memcmp(record_ + fountain::kMarkerCount, rainbow + fountain::kMarkerCount, 268), 0);
}

TEST_F(FountainLibraryDialogTest, DeleteSelectsTheNextItemOrTheLast) {
  makeLibrary(4);
  run([](DialogFacade& d, FountainLibrarySession& s) {
    int result = -1;
    select(d, s, 1);
    EXPECT_FALSE(s.command(d, kDelete, &result));  // the dialog stays
    EXPECT_EQ(d.itemCount(kList), 3);
    EXPECT_EQ(d.selection(kList), 1);  // what was item 2
    EXPECT_EQ(readU32(s.items()[1].record + fountain::kStartColour), 3u);
    select(d, s, 2);
    s.command(d, kDelete, &result);
    EXPECT_EQ(d.selection(kList), 1);  // none after it: the new last
    s.command(d, kDelete, &result);
    s.command(d, kDelete, &result);
    EXPECT_EQ(d.itemCount(kList), 0);
    EXPECT_EQ(d.selection(kList), -1);
    EXPECT_FALSE(d.enabled(kDelete));
    s.command(d, kDelete, &result);  // nothing to delete: nothing happens
    return std::vector<uint32_t>{kCancel};
  });
  EXPECT_EQ(onDisk(), (std::vector<uint32_t>{1, 2, 3, 4})) << "Cancel keeps the file";
}

TEST_F(FountainLibraryDialogTest, DropMovesTheItemToTheTargetsPlace) {
  makeLibrary(4);
  struct Case {
    int from, to;
    std::vector<uint32_t> order;
  } cases[] = {{0, 2, {2, 3, 1, 4}}, {3, 0, {4, 1, 2, 3}}, {1, 1, {1, 2, 3, 4}}, {2, 3, {1, 2, 4, 3}}};
  for (const Case& c : cases) {
    int answer = run([&](DialogFacade& d, FountainLibrarySession& s) {
      EXPECT_TRUE(s.drop(d, c.from, c.to));
      EXPECT_EQ(d.selection(kList), c.to);
      EXPECT_EQ(d.itemCount(kList), 4);
      EXPECT_FALSE(s.drop(d, c.from, 4));
      EXPECT_FALSE(s.drop(d, -1, 0));
      return std::vector<uint32_t>{kOk};
    });
    EXPECT_EQ(answer, 1);
    EXPECT_EQ(onDisk(), c.order) << c.from << " onto " << c.to;
    // Back to the first order for the next case.
    std::remove(path_.c_str());
    makeLibrary(4);
  }
}

TEST_F(FountainLibraryDialogTest, OkCopiesTheSelectedRampKeepingTheRecordsFlags) {
  makeLibrary(3);
  uint8_t before[kFountainRecordSize];
  std::memcpy(before, record_, sizeof before);
  int answer = run([](DialogFacade& d, FountainLibrarySession& s) {
    select(d, s, 1);
    return std::vector<uint32_t>{kHelp, kOk, kCancel};  // Help does not end it; OK does
  });
  EXPECT_EQ(answer, 1);
  EXPECT_EQ(readU32(record_ + fountain::kStartColour), 2u);
  EXPECT_EQ(readU32(record_ + fountain::kMarkerCount), 1u);  // the grey preset's one marker
  EXPECT_EQ(fountainMarker(record_, 0), fountainMakeMarker(128, 0x808080));
  EXPECT_EQ(fountainMarker(record_, 1), 0u);
  EXPECT_EQ(readU32(record_ + fountain::kFlags), fountain::kFlagLooped | fountain::kFlagWriteBack);
  EXPECT_EQ(std::memcmp(record_, before, fountain::kMarkerCount), 0);
  EXPECT_EQ(std::memcmp(record_ + fountain::kEditorState, before + fountain::kEditorState, 28), 0);
  ASSERT_EQ(messages_.size(), 1u);  // no help handler in the tests: the help error
  EXPECT_EQ(messages_[0], "There has been an error displaying the Help document.");
}

TEST_F(FountainLibraryDialogTest, DeletingEverythingAndOkLeavesNoFileAndTheRecordAlone) {
  makeLibrary(2);
  uint8_t before[kFountainRecordSize];
  std::memcpy(before, record_, sizeof before);
  int answer = run([](DialogFacade& d, FountainLibrarySession& s) {
    int result;
    s.command(d, kDelete, &result);
    s.command(d, kDelete, &result);
    return std::vector<uint32_t>{kOk};
  });
  EXPECT_EQ(answer, 1);
  struct stat st;
  EXPECT_NE(stat(path_.c_str(), &st), 0);
  EXPECT_EQ(std::memcmp(record_, before, sizeof before), 0);
}

TEST_F(FountainLibraryDialogTest, FailedRewriteIsReportedAndTheDialogStillCloses) {
  makeLibrary(3);
  mkdir((path_ + ".tmp").c_str(), 0755);
  int answer = run([](DialogFacade& d, FountainLibrarySession& s) {
    s.drop(d, 2, 0);
    return std::vector<uint32_t>{kOk};
  });
  rmdir((path_ + ".tmp").c_str());
  EXPECT_EQ(answer, 1);
  ASSERT_EQ(messages_.size(), 1u);
  EXPECT_EQ(messages_[0], "There has been an error updating the fountain library.");
  EXPECT_EQ(onDisk(), (std::vector<uint32_t>{1, 2, 3})) << "the old library is kept whole";
  EXPECT_EQ(readU32(record_ + fountain::kStartColour), 3u) << "the pick still reaches the record";
}

TEST_F(FountainLibraryDialogTest, HelpAsksForTheFountainTopic) {
  makeLibrary(1);
  std::vector<std::string> topics;
  setHelpHandler([&](const std::string& topic) {
    topics.push_back(topic);
    return true;
  });
  EXPECT_EQ(run([](DialogFacade&, FountainLibrarySession&) { return std::vector<uint32_t>{kHelp}; }), 0);
  EXPECT_EQ(topics, std::vector<std::string>{"FOUNTAIN"});
  EXPECT_TRUE(messages_.empty());
}

}  // namespace
}  // namespace gw
