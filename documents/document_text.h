// Effect documents as text: the bytes a dialog's document holds, and how a
// document's lines are read back into a dialog.
//
// A document is a header line, ";Start of document", one line per control
// that writes one ("SPNBTN108=255", documents/document_lines.h) in the
// order the dialog enumerates its children, and ";End of document". Lines
// end in CR LF, as the plug-in's text stream writes them on Windows, so the
// DLL and the command line write the same bytes.
//
//   std::string bytes = gw::documentText(dialog);
//   std::vector<gw::DocumentLine> report;
//   if (gw::applyDocumentText(dialog, bytes, &report) == gw::DocumentRead::kDamaged) ...
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/dialog_facade.h"

namespace gw {

extern const char kDocumentHeader[];  // ";This is a document created by ... - do not edit."
extern const char kDocumentStart[];   // ";Start of document"
extern const char kDocumentEnd[];     // ";End of document"

// Lines are read in pieces of at most this many bytes; each piece of a longer
// line is handled as a line of its own.
constexpr size_t kDocumentPieceLimit = 8191;

// The whole document of the dialog's current state.
std::string documentText(const DialogFacade& dialog);

// What became of one piece of a document.
enum class LineFate {
  kHeader,     // the first line: identifies the file, never applied
  kSkipped,    // blank, or a ";" comment
  kTooShort,   // six characters or fewer
  kNoId,       // the identifier after the tag is not greater than 0
  kNoControl,  // the dialog has no direct child with that identifier
  kWrongTag,   // the control's kind writes another tag (or none)
  kRefused,    // the control refused it: no "=", or a value that does not decode
  kApplied,
};
struct DocumentLine {
  size_t number = 0;  // 1-based line of the file
  size_t part = 0;    // 0, or 1, 2, ... for the pieces of an overlong line
  std::string text;   // the piece as handled (leading blanks and line end cut)
  LineFate fate = LineFate::kSkipped;
  uint32_t id = 0;    // the identifier the line names, when it has one
};

// Why a line was ignored, in words for the user ("" for applied lines).
const char* lineFateReason(LineFate fate);

enum class DocumentRead {
  kRead,     // every line was handed on (some may have been ignored)
  kDamaged,  // the first line does not identify a document: nothing applied
};

// Applies the document's lines in order; `report` (may be null) gets one
// entry per piece read. An empty text reads as a document that sets nothing.
DocumentRead applyDocumentText(DialogFacade& dialog, const std::string& bytes, std::vector<DocumentLine>* report);

}  // namespace gw
