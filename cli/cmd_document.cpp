// `glyphwright document`: writes the effect document that render options
// describe, or checks what a document sets.
#include <cctype>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/dialog_session.h"
#include "cli/render_host.h"
#include "cli/render_options.h"
#include "controls/bound_control.h"
#include "documents/document_file.h"
#include "documents/document_lines.h"
#include "platform/message_dialog.h"

namespace gw::cli {
namespace {

bool endsWithNoCase(const std::string& s, const std::string& tail) {
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - tail.size() + i])) != tail[i]) return false;
  return true;
}

// Long values (materials are 2540 hexadecimal digits) are shortened for reading.
std::string shown(const std::string& line) {
  constexpr size_t kLongest = 72;
  return line.size() <= kLongest ? line : line.substr(0, kLongest) + "... (" + std::to_string(line.size()) + " characters)";
}

int check(const std::string& path) {
  RenderHost host;
  DialogSession session;
  std::vector<DocumentLine> report;
  std::string error;
  if (!session.prepareForCheck(path, host.params(), &report, &error)) return fail(error);
  size_t applied = 0, ignored = 0;
  for (const DocumentLine& line : report) {
    if (line.fate == LineFate::kHeader || line.fate == LineFate::kSkipped) continue;
    std::string where = "line " + std::to_string(line.number);
    if (line.part) where += " (part " + std::to_string(line.part + 1) + ")";
    if (line.fate == LineFate::kApplied) {
      ++applied;
      std::printf("%s: sets %s\n", where.c_str(), shown(line.text).c_str());
    } else {
      ++ignored;
      std::printf("%s: ignored, %s: %s\n", where.c_str(), lineFateReason(line.fate), shown(line.text).c_str());
    }
  }
  std::printf("%s: %zu lines set controls, %zu ignored\n", path.c_str(), applied, ignored);
  return kExitOk;
}

}  // namespace

int runDocument(const std::vector<std::string>& args) {
  const Command& self = *findCommand("document");
  if (!args.empty() && args[0] == "--check") {
    if (args.size() != 2) return usageError(self, "--check takes one document");
    return check(args[1]);
  }
  RenderOptions options;
  std::string error;
  if (!parseRenderOptions(args, &options, &error)) return usageError(self, error);
  if (!endsWithNoCase(options.output, ".gw5")) return usageError(self, "the output must end in .gw5");
  // The document renders as `render` with the same options does to a GIF.
  if (options.document.empty()) {
    RenderOptions asGif = options;
    asGif.output = "x.gif";
    applyOutputDefaults(&asGif);
    options.sets = asGif.sets;
    options.customPalette = asGif.customPalette;
  }
  RenderHost host;
  if (!chooseAnimation(&options, &host, &error)) return fail(error);
  DialogSession session;
  if (!session.prepare(options, host.params(), &error)) return fail(error);
  std::string message;
  setMessageResponder([&](const std::string&, const std::string& text) {
    if (message.empty()) message = text;
    return 1;
  });
  bool saved = saveDocument(session.dialog(), options.output);
  setMessageResponder(nullptr);
  if (!saved) return fail(options.output + ": " + message);
  size_t lines = 0;
  for (uint32_t id : session.dialog().childIds()) lines += !documentLineOf(session.dialog(), id).empty();
  std::printf("%s: %zu control lines\n", options.output.c_str(), lines);
  return kExitOk;
}

}  // namespace gw::cli
