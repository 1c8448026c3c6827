#include <gtest/gtest.h>

#include <vector>

#include "base/le_bytes.h"
#include "platform/dialog_template.h"
#include "platform/in_memory_dialog.h"
#include "platform/message_dialog.h"
#include "platform/posix/embedded_res.h"
#include "platform/res_file.h"
#include "platform/string_table.h"
#include "ui/message_box.h"

namespace gw {
namespace {

TEST(StringTable, StandardMessagesAndPaletteNames) {
  const char* expected[] = {"Ok", "Error opening file", "Corrupted file", "Error reading file",
                            "Function cancelled", "Unsupported function", "Memory error",
                            "Information error", "Unsupported format", "Error renaming file",
                            "Error creating file", "Error writing file", "Too many colours",
                            "Unsuitable image", "Resource error", "Library error", "Fatal error"};
  for (int i = 0; i <= 16; ++i) EXPECT_EQ(loadString(i), expected[i]) << i;
  EXPECT_EQ(loadString(1600), "Black and white");
  EXPECT_EQ(loadString(1607), "256-color with gray");
  EXPECT_EQ(loadString(1608), "256 gray levels");
}

TEST(StringTable, MissingStringsReadAsTheDamageText) {
  EXPECT_EQ(loadString(17), "String table error - this application may be damaged");
  EXPECT_EQ(loadString(4000), kStringTableError);
  EXPECT_EQ(loadString(-1), kStringTableError);
}

TEST(StringTable, TruncatedBlockIsNotRead) {
  // Slot 0 claims 10 characters but the block ends after 2.
  uint8_t block[6] = {10, 0, 'a', 0, 'b', 0};
  EXPECT_FALSE(stringFromBlock(ResourceBytes{block, sizeof block}, 0).has_value());
}

TEST(ResFile, EmbeddedResourcesParseAndTruncationsFailWhole) {
  auto entries = parseResFile(gw_embedded_res, gw_embedded_res_size);
  ASSERT_TRUE(entries.has_value());
  EXPECT_GE(entries->size(), 4u);
  // Every proper prefix that cuts an entry short must fail, never read past it.
  size_t failures = 0;
  for (size_t cut = 1; cut < gw_embedded_res_size; cut += 7) {
    auto partial = parseResFile(gw_embedded_res, cut);
    if (!partial) ++failures;
  }
  EXPECT_GT(failures, 0u);
}

TEST(DialogTemplates, MessageBoxesAreFoundWithoutRegardToCase) {
  for (const char* name : {"MessageBox", "messagebox", "YesnoBox", "YesNoCancelBox"}) {
    auto t = loadDialogTemplate(ResourceName::text(name));
    ASSERT_TRUE(t.has_value()) << name;
    EXPECT_EQ(t->title, "Message");
    EXPECT_EQ(t->rect.cx, 268);
    EXPECT_EQ(t->rect.cy, 106);
    const DialogItem* text = t->item(101);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->className, "Static");
    EXPECT_EQ(text->rect.cy, 64);
    EXPECT_TRUE(text->rect.cx == 196 || text->rect.cx == 200);
  }
  auto yesNoCancel = loadDialogTemplate(ResourceName::text("YesNoCancelBox"));
  ASSERT_NE(yesNoCancel->item(6), nullptr);
  EXPECT_EQ(yesNoCancel->item(6)->text, "Yes");
  EXPECT_EQ(yesNoCancel->item(6)->style & 0xF, 1u);  // the default button
  EXPECT_EQ(yesNoCancel->item(7)->text, "No");
  EXPECT_EQ(yesNoCancel->item(2)->text, "Cancel");
  EXPECT_EQ(loadDialogTemplate(ResourceName::text("MessageBox"))->item(1)->text, "Ok");
}

TEST(DialogTemplates, MainDialogHasItsButtons) {
  auto dlg = InMemoryDialog::fromResource(ResourceName::number(1000));
  ASSERT_NE(dlg, nullptr);
  EXPECT_EQ(dlg->text(1), "Build");
  EXPECT_EQ(dlg->text(24), "&Test");
  EXPECT_EQ(dlg->text(2), "Cancel");
  EXPECT_EQ(dlg->text(9), "Help");
}

TEST(DialogTemplates, TruncatedTemplatesFail) {
  auto bytes = findResource(kResDialog, ResourceName::text("YesNoCancelBox"));
  ASSERT_TRUE(bytes.has_value());
  for (size_t cut = 0; cut < bytes->size; ++cut) {
    // The last item's trailing padding may be absent; anything shorter must fail.
    auto t = parseDialogTemplate(ResourceBytes{bytes->data, cut});
    if (t) { EXPECT_EQ(t->items.size(), 4u) << cut; }
  }
}

TEST(MessageBoxes, AnswersComeFromTheButtons) {
  std::vector<std::string> seen;
  setMessageResponder([&](const std::string& name, const std::string& text) {
    seen.push_back(name + "|" + text);
    return name == "YesnoBox" ? kAnswerNo : kAnswerCancel;
  });
  showMessage(0, "hello");
  EXPECT_EQ(askYesNo(0, "q1"), kAnswerNo);
  EXPECT_EQ(askYesNoCancel(0, "q2"), kAnswerCancel);
  setMessageResponder(nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"MessageBox|hello", "YesnoBox|q1", "YesNoCancelBox|q2"}));
  // Without a responder the template's default button answers.
  EXPECT_EQ(askYesNoCancel(0, "default?"), kAnswerYes);
}

TEST(InMemoryDialogs, SelectionIsBoundedByTheItems) {
  DialogTemplate t;
  DialogItem combo;
  combo.id = 13;
  combo.className = "ComboBox";
  t.items.push_back(combo);
  InMemoryDialog d(t);
  d.addItem(13, "a");
  d.addItem(13, "b");
  d.setSelection(13, 1);
  EXPECT_EQ(d.selection(13), 1);
  EXPECT_EQ(d.text(13), "b");
  d.setSelection(13, 2);
  EXPECT_EQ(d.selection(13), -1);
  EXPECT_FALSE(d.addControl(combo));
  EXPECT_EQ(d.text(99), "");
  EXPECT_FALSE(d.checked(99));
}

TEST(InMemoryDialogs, EveryIdFindsItsOwnControl) {
  // Ids on both sides of 16 bits, in no order, a taken one refused, and
  // controls found where they were before others were added.
  const uint32_t ids[] = {20057, 7, 0, 65535, 65536, 0xFFFFFFFFu, 10057, 3000000};
  DialogTemplate t;
  for (uint32_t id : {ids[0], ids[1]}) {
    DialogItem item;
    item.id = id;
    item.text = "t" + std::to_string(id);
    t.items.push_back(item);
  }
  InMemoryDialog d(t);
  const InMemoryControl* first = d.control(ids[0]);
  ASSERT_NE(first, nullptr);
  for (size_t i = 2; i < std::size(ids); ++i) {
    DialogItem item;
    item.id = ids[i];
    item.text = "t" + std::to_string(ids[i]);
    EXPECT_TRUE(d.createControl(item, 0, 0)) << ids[i];
  }
  for (uint32_t id : ids) {
    DialogItem again;
    again.id = id;
    EXPECT_FALSE(d.addControl(again)) << id;
    d.setText(id, "x" + std::to_string(id));
  }
  EXPECT_EQ(d.control(ids[0]), first);
  EXPECT_EQ(d.childIds(), std::vector<uint32_t>(std::begin(ids), std::end(ids)));
  for (uint32_t id : ids) {
    EXPECT_TRUE(d.hasControl(id)) << id;
    EXPECT_EQ(d.text(id), "x" + std::to_string(id));
  }
  for (uint32_t absent : {1u, 8u, 20056u, 65534u, 65537u, 0xFFFFFFFEu}) {
    EXPECT_FALSE(d.hasControl(absent)) << absent;
    EXPECT_EQ(d.control(absent), nullptr);
    d.setText(absent, "y");  // nothing to write to, nothing made
    EXPECT_FALSE(d.hasControl(absent)) << absent;
  }
}

}  // namespace
}  // namespace gw
