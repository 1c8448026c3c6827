// Effect documents: whatever a document holds, reading it never harms the
// dialog, and the document the dialog then writes reads back into a dialog
// in its starting state to the same bytes.
//
// Opening the main dialog (every effect page, every material button and its
// file) and writing its whole document (hundreds of lines, forty of them
// material records in hex, a hundred KB) cost far more than reading a short
// document. So one dialog is opened per process, and per input only what the
// input can have changed is written and read again:
// - a control whose line is made from what it shows (its text, check and
//   selection; a spin field's range is its partner's text) writes the line
//   it wrote at the start while no control of the dialog shows anything else
//   than it did then;
// - a material button writes its line from its record alone, so a button
//   whose record is the one its starting line reads into writes that line;
//   every button's record is compared every time, its long line made only
//   when the record differs;
// - every other control (one that keeps its state itself, a font list that
//   may stand for a face by its bound name) writes its line afresh;
// - a line changes its own control only: every control whose line differs
//   after a document was read was named by a line the document applied. So
//   a line read into a control in its starting state changes nothing else
//   (the whole starting document read back into the fresh dialog proves it
//   changes nothing at all, once), and reading back the lines that differ
//   from the starting ones is reading back the whole document;
// - after every input the dialog is put back: the starting lines of the
//   controls that differ are read again, and the dialog must then write the
//   starting document exactly, with the process's settings as they started.
#include <algorithm>
#include <cstdint>
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
using gw::InMemoryControl;
using gw::MaterialBytes;

// Where a control's line comes from, and so how to tell it is unchanged.
enum class LineFrom {
  kShown,   // what the dialog's controls show
  kRecord,  // a material button's record
  kItself,  // anything else: asked for every time
};

// What a control showed at the start: the state a line of kind kShown is
// made from. The dialog keeps each control in one place while it lives.
struct Shown {
  const InMemoryControl* control;
  std::string text;
  bool checked;
  int selection;
  uint8_t kind;
  void* variable;
  explicit Shown(const InMemoryControl* c)
      : control(c), text(c->text), checked(c->checked), selection(c->selection), kind(c->kind), variable(c->variable) {}
  bool changed() const {
    const InMemoryControl& c = *control;
    return c.checked != checked || c.selection != selection || c.kind != kind || c.variable != variable ||
           c.text != text;
  }
};

// A control that writes a line, and what it started with.
struct ControlLine {
  uint32_t id;
  LineFrom from;
  size_t shown;            // its index among all the dialog's controls
  MaterialBytes record{};  // kRecord: the record it holds at the start
};

// The lines a dialog writes that are not its starting ones, by ascending
// index among the controls that write lines.
using Lines = std::vector<std::pair<size_t, std::string>>;

bool cleanRecord(const DialogFacade& dialog, uint32_t id, MaterialBytes* out) {
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
    for (uint32_t id : dialog->controlOrder()) {
      const size_t index = shown.size();
      shown.emplace_back(dialog->control(id));
      const gw::ControlKind kind = gw::boundKindOf(*dialog, id);
      const gw::DocumentLineKind* row = gw::documentLineKind(kind);
      // A control bound to no kind that writes lines (a label, a frame) never writes one.
      if (!row) continue;
      ControlLine c{id, LineFrom::kItself, index};
      if (kind == gw::ControlKind::kMaterialButton)
        c.from = LineFrom::kRecord;
      else if (row->write == gw::controlDocumentLine && kind != gw::ControlKind::kFontList)
        c.from = LineFrom::kShown;
      fresh.push_back(c);
      start.push_back(gw::documentLineOf(*dialog, id));
    }
    shownLine.resize(shown.size());
    for (const ControlLine& c : fresh) shownLine[c.shown] = c.from == LineFrom::kShown;
    changed.resize(shown.size());
    freshSettings = gw::settings();
    // What the lines make is the dialog's own document, and it reads back
    // into the dialog without changing a byte.
    std::string lines = std::string(gw::kDocumentHeader) + "\r\n" + gw::kDocumentStart + "\r\n";
    for (const std::string& line : start)
      if (!line.empty()) lines += line + "\r\n";
    lines += std::string(gw::kDocumentEnd) + "\r\n";
    const std::string whole = gw::documentText(*dialog);
    ready = whole == lines && gw::applyDocumentText(*dialog, whole, nullptr) == gw::DocumentRead::kRead &&
            gw::documentText(*dialog) == whole;
    // A record as read from a line: a line does not carry what is derived
    // from the rest (the preview's mean colour), and every record read back
    // from the starting lines is this one.
    for (ControlLine& c : fresh)
      if (c.from == LineFrom::kRecord && !cleanRecord(*dialog, c.id, &c.record)) c.from = LineFrom::kItself;
    ready = ready && now().empty();
  }
  ~OpenDialog() {
    if (dialog) gw::releaseEffectPages(*dialog);
    gw::settings() = saved;
  }

  // The lines the dialog writes now that differ from the starting ones.
  Lines now() {
    Lines out;
    // Which controls show something else than they did at the start. One
    // that writes no such line but shows something else (a spin field's
    // partner), or one added since, may change any line made from what
    // controls show: they are all asked then.
    bool askAllShown = dialog->controlOrder().size() != shown.size();
    for (size_t k = 0; k < shown.size(); ++k) {
      changed[k] = shown[k].changed();
      if (changed[k] && !shownLine[k]) askAllShown = true;
    }
    MaterialBytes record;
    for (size_t i = 0; i < fresh.size(); ++i) {
      const ControlLine& c = fresh[i];
      if (c.from == LineFrom::kShown && !askAllShown && !changed[c.shown]) continue;
      if (c.from == LineFrom::kRecord) {
        // A button always has a record to give (its own, or the one it stands for).
        GW_FUZZ_CHECK(cleanRecord(*dialog, c.id, &record));
        if (std::memcmp(record.data(), c.record.data(), record.size()) == 0) continue;
      }
      std::string line = gw::documentLineOf(*dialog, c.id);
      if (line != start[i]) out.emplace_back(i, std::move(line));
    }
    return out;
  }

  // A document of the lines in `lines`, or, with `toStart`, of the starting
  // lines of the same controls.
  std::string patch(const Lines& lines, bool toStart) const {
    std::string out = std::string(gw::kDocumentHeader) + "\r\n";
    for (const auto& [index, text] : lines) {
      const std::string& line = toStart ? start[index] : text;
      if (!line.empty()) out += line + "\r\n";
    }
    return out;
  }

  // Back to the state the dialog opened in, from the lines it writes now.
  void reset(const Lines& lines) {
    if (!lines.empty()) {
      GW_FUZZ_CHECK(gw::applyDocumentText(*dialog, patch(lines, true), nullptr) == gw::DocumentRead::kRead);
      GW_FUZZ_CHECK(now().empty());
    }
    gw::settings() = freshSettings;
  }

  gw::SettingsRecord saved;
  std::unique_ptr<gw::InMemoryDialog> dialog;
  bool ready = false;
  std::vector<Shown> shown;        // every control of the dialog, in its order
  std::vector<uint8_t> shownLine;  // by index in `shown`: it writes a line of kind kShown
  std::vector<uint8_t> changed;    // by index in `shown`: it shows something else (as now() found)
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
  std::vector<DocumentLine> report;
  applyDocumentText(*d.dialog, bytes, &report);
  const Lines written = d.now();
  // A line changes its own control only: every control that writes another
  // line was named by a line the document applied.
  std::vector<uint32_t> applied;
  for (const DocumentLine& line : report)
    if (line.fate == LineFate::kApplied) applied.push_back(line.id);
  std::sort(applied.begin(), applied.end());
  for (const auto& line : written)
    GW_FUZZ_CHECK(std::binary_search(applied.begin(), applied.end(), d.fresh[line.first].id));
  if (written.empty()) return;  // nothing to write back, nothing to undo
  d.reset(written);
  // The written document read back into the dialog in its starting state.
  GW_FUZZ_CHECK(applyDocumentText(*d.dialog, d.patch(written, false), nullptr) == DocumentRead::kRead);
  GW_FUZZ_CHECK(d.now() == written);
  d.reset(written);
}
