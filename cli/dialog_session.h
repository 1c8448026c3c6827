// The plug-in's main dialog, in memory, set up from render options: the
// settings start from the built-in defaults (or --config), the options are
// applied over them, the dialog fills its controls as it does on opening
// with Shift held (no configuration or material files are read or written),
// and the build switches that have no settings key are set on the controls.
// `render` builds from it; `sample` asks it for the still.
//
//   DialogSession session;
//   if (!session.prepare(options, host.params(), &error)) return fail(error);
//   runBuild(session.dialog(), host.params(), 0);
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "cli/render_host.h"
#include "cli/render_options.h"
#include "documents/document_text.h"
#include "platform/in_memory_dialog.h"
#include "platform/memory.h"

namespace gw::cli {

class DialogSession {
 public:
  DialogSession() = default;
  ~DialogSession();
  DialogSession(const DialogSession&) = delete;
  DialogSession& operator=(const DialogSession&) = delete;

  // False with a one-line *error (unknown key, effect, palette or material,
  // a document that cannot be read).
  bool prepare(const RenderOptions& options, const uint8_t* hostParams, std::string* error);
  // The dialog from the defaults with `document` opened over it; `report`
  // gets what became of each of its lines.
  bool prepareForCheck(const std::string& document, const uint8_t* hostParams, std::vector<DocumentLine>* report,
                       std::string* error);
  InMemoryDialog& dialog() { return *dialog_; }

 private:
  bool applyMaterials(const RenderOptions& options, std::string* error);
  // The options' settings; `changed` gets the variables they wrote.
  bool applyOptions(const RenderOptions& options, std::vector<const void*>* changed, std::string* error);
  bool openDocumentFile(const std::string& path, std::vector<DocumentLine>* report, std::string* error);
  void findAnimationBesideDocument(const std::string& document);
  void warnOutOfRange(const RenderOptions& options) const;
  std::unique_ptr<InMemoryDialog> dialog_;
  std::vector<uint32_t> boundHere_;  // buttons given records of ours
  std::vector<MemBlock> records_;     // those records
};

// --animation, when given: the file is decoded once, so that a bad file
// stops the command before anything is built, and named by its full path in
// the options' settings, which is how the plug-in asks for it (and how a
// document keeps it). False with *error set.
bool chooseAnimation(RenderOptions* options, RenderHost* host, std::string* error);

// A material record from a --face/--shadow/--background value:
// colour:RRGGBB, gradient:RRGGBB-RRGGBB, texture:TYPE, tile:FILE.mtx:INDEX or
// record:FILE.mtrl. 0 with *error set.
MemHandle materialFromSpec(const std::string& text, std::string* error);

// The text given in UTF-8 as the plug-in's single bytes of code page 1252.
// False with *problem naming the fault: bytes that are not UTF-8, or the first
// character the page has no byte for.
bool utf8ToCodePage1252(const std::string& in, std::string* out, std::string* problem);

}  // namespace gw::cli
