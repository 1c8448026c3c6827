// Effect documents: whatever a document holds, reading it never harms the
// dialog, and the document the dialog then writes reads back into a dialog
// in its starting state to the same bytes.
//
// Opening the main dialog (every effect page, every material button and its
// file) and writing its whole document (forty material records in hex, a
// hundred KB) cost far more than reading a short document. So one dialog is
// opened per process, and per input only what the input can have changed is
// written and read again:
// - a material button writes its line from its record alone, so a button
//   whose record is still the one it opened with writes the line it wrote
//   then, which is reused; every other control writes its line afresh;
// - a line read into a control in its starting state changes nothing (the
//   whole starting document read back into the fresh dialog proves it, once),
//   so reading back the lines that differ from the starting ones is reading
//   back the whole document;
// - after every input the dialog is put back: the starting lines of the
//   controls that differ are read again, and the dialog must then write the
//   starting document exactly, with the process's settings as they started.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "controls/bound_control.h"
#include "documents/document_lines.h"
#include "documents/document_text.h"
#include "effects/effect_pages.h"
#include "effects/text_style_dialog.h"
#include "host/main_dialog.h"
#include "materials/material_record.h"
#include "platform/in_memory_dialog.h"
#include "platform/system_state.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/fuzz/fuzz_target.h"

namespace {

using gw::DialogFacade;

// The lines a dialog writes, one per control that writes lines: a material
// line unchanged since the start is not copied (`asStarted`).
struct Lines {
  std::vector<std::string> text;
  std::vector<bool> asStarted;
  const std::string& at(size_t i, const std::vector<std::string>& start) const {
    return asStarted[i] ? start[i] : text[i];
  }
  bool same(const Lines& other, const std::vector<std::string>& start) const {
    for (size_t i = 0; i < text.size(); ++i)
      if (!(asStarted[i] && other.asStarted[i]) && at(i, start) != other.at(i, start)) return false;
    return true;
  }
  bool isStart(const std::vector<std::string>& start) const {
    for (size_t i = 0; i < text.size(); ++i)
      if (!asStarted[i] && text[i] != start[i]) return false;
    return true;
  }
};

// A control's line and, for a material button, the record it was written from.
struct ControlLine {
  uint32_t id;
  std::string line;
  bool material = false;
  gw::MaterialBytes record{};
};

bool cleanRecord(const DialogFacade& dialog, uint32_t id, gw::MaterialBytes* out) {
  if (!gw::readMaterialButton(dialog, id, out)) return false;
  gw::materialRecordClearRuntime(out->data());
  return true;
}

// The main dialog as the plug-in opens it with Shift held, given back with
// its records freed and the process's settings as they were.
struct OpenDialog {
  OpenDialog() : saved(gw::settings()), dialog(gw::InMemoryDialog::fromResource(gw::ResourceName::number(IDD_MAIN))) {
    gw::testing::setShiftKeyDown(true);
    ready = dialog && gw::mainDialogInit(*dialog, nullptr, 1024, 768);
    gw::testing::setShiftKeyDown(false);
    if (!ready) return;
    for (uint32_t id : dialog->childIds()) {
      // A control bound to no kind that writes lines (a label, a frame) never writes one.
      if (!gw::documentLineKind(gw::boundKindOf(*dialog, id))) continue;
      ControlLine c{id, gw::documentLineOf(*dialog, id)};
      c.material = gw::boundKindOf(*dialog, id) == gw::ControlKind::kMaterialButton &&
                   cleanRecord(*dialog, id, &c.record);
      fresh.push_back(c);
      start.push_back(c.line);
    }
    freshSettings = gw::settings();
    // What the lines make is the dialog's own document, and it reads back
    // into the dialog without changing a byte.
    const std::string whole = gw::documentText(*dialog);
    ready = whole == text(lines()) &&
            gw::applyDocumentText(*dialog, whole, nullptr) == gw::DocumentRead::kRead &&
            gw::documentText(*dialog) == whole;
  }
  ~OpenDialog() {
    if (dialog) gw::releaseEffectPages(*dialog);
    gw::settings() = saved;
  }

  // Every control's line as the dialog would write it now.
  Lines lines() const {
    Lines out{std::vector<std::string>(fresh.size()), std::vector<bool>(fresh.size())};
    gw::MaterialBytes record;
    for (size_t i = 0; i < fresh.size(); ++i) {
      const ControlLine& c = fresh[i];
      out.asStarted[i] = c.material && cleanRecord(*dialog, c.id, &record) &&
                         std::memcmp(record.data(), c.record.data(), record.size()) == 0;
      if (!out.asStarted[i]) out.text[i] = gw::documentLineOf(*dialog, c.id);
    }
    return out;
  }

  // The document those lines make, as documentText writes it.
  std::string text(const Lines& lines) const {
    std::string out = std::string(gw::kDocumentHeader) + "\r\n" + gw::kDocumentStart + "\r\n";
    for (size_t i = 0; i < fresh.size(); ++i)
      if (!lines.at(i, start).empty()) out += lines.at(i, start) + "\r\n";
    return out + gw::kDocumentEnd + "\r\n";
  }

  // A document of the lines in `want` that differ from those in `have`.
  std::string patch(const Lines& have, const Lines& want) const {
    std::string out = std::string(gw::kDocumentHeader) + "\r\n";
    for (size_t i = 0; i < fresh.size(); ++i) {
      if (have.asStarted[i] && want.asStarted[i]) continue;
      const std::string& line = want.at(i, start);
      if (have.at(i, start) != line && !line.empty()) out += line + "\r\n";
    }
    return out;
  }

  // The lines as the dialog opened.
  Lines started() const { return Lines{std::vector<std::string>(fresh.size()), std::vector<bool>(fresh.size(), true)}; }

  // Back to the state the dialog opened in, from the lines it writes now.
  void reset(const Lines& now) {
    if (!now.isStart(start)) {
      GW_FUZZ_CHECK(gw::applyDocumentText(*dialog, patch(now, started()), nullptr) == gw::DocumentRead::kRead);
      GW_FUZZ_CHECK(lines().isStart(start));
    }
    gw::settings() = freshSettings;
  }

  gw::SettingsRecord saved;
  std::unique_ptr<gw::InMemoryDialog> dialog;
  bool ready = false;
  std::vector<ControlLine> fresh;
  std::vector<std::string> start;  // their lines
  gw::SettingsRecord freshSettings;
};

OpenDialog& theDialog() {
  // The material buttons keep their files in the plug-in's folders: the
  // scratch folder is made (and those folders pointed into it) first, so it
  // also outlives the dialog, whose buttons write their files as it closes.
  gw::fuzz::scratchFolder();
  static OpenDialog dialog;
  GW_FUZZ_CHECK(dialog.ready);
  return dialog;
}

}  // namespace

GW_FUZZ_TARGET(effect_document) {
  using namespace gw;
  OpenDialog& d = theDialog();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  applyDocumentText(*d.dialog, bytes, nullptr);
  const Lines written = d.lines();
  if (written.isStart(d.start)) return;  // nothing to write back, nothing to undo
  d.reset(written);
  // The written document read back into the dialog in its starting state.
  GW_FUZZ_CHECK(applyDocumentText(*d.dialog, d.patch(d.started(), written), nullptr) == DocumentRead::kRead);
  GW_FUZZ_CHECK(d.lines().same(written, d.start));
  d.reset(written);
}
