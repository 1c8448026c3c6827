#include "documents/document_text.h"

#include <cctype>
#include <cstring>

#include "controls/bound_control.h"
#include "documents/document_lines.h"
#include "settings/settings_file.h"

namespace gw {

const char kDocumentHeader[] = ";This is a document created by Glyphwright 5 Plugin by Quillmere - do not edit.";
const char kDocumentStart[] = ";Start of document";
const char kDocumentEnd[] = ";End of document";

namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr size_t kTagLength = 6;

// One piece as the plug-in's line reader hands it over: at most
// kDocumentPieceLimit bytes, through the line feed when one comes first.
struct Piece {
  std::string text;
  size_t number;
  size_t part;
};

// The text stream reads CR LF as LF; a lone CR stays and cuts the line below.
std::string withoutCarriageReturnsBeforeFeeds(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size(); ++i)
    if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) out.push_back(bytes[i]);
  return out;
}

std::vector<Piece> piecesOf(const std::string& bytes) {
  const std::string text = withoutCarriageReturnsBeforeFeeds(bytes);
  std::vector<Piece> pieces;
  size_t number = 1, part = 0;
  for (size_t at = 0; at < text.size();) {
    size_t feed = text.find('\n', at);
    size_t end = feed == std::string::npos ? text.size() : feed + 1;
    const bool cut = end - at > kDocumentPieceLimit;
    if (cut) end = at + kDocumentPieceLimit;
    // A piece is a C string to whoever reads it: it ends at a zero byte.
    std::string piece = text.substr(at, end - at);
    piece.resize(std::strlen(piece.c_str()));
    pieces.push_back({std::move(piece), number, part});
    if (cut) {
      ++part;
    } else {
      ++number;
      part = 0;
    }
    at = end;
  }
  return pieces;
}

bool identifies(const std::string& firstLine) {
  return firstLine.find("Glyphwright 5 Plugin") != std::string::npos &&
         firstLine.find("Quillmere") != std::string::npos;
}

bool sameTag(const std::string& line, const char* tag) {
  if (!tag) return false;
  for (size_t i = 0; i < kTagLength; ++i)
    if (std::toupper(static_cast<unsigned char>(line[i])) != static_cast<unsigned char>(tag[i])) return false;
  return true;
}

// Leading control bytes and blanks go, the line ends at its first LF or CR.
std::string trimmed(const std::string& piece) {
  size_t start = 0;
  while (start < piece.size() && static_cast<unsigned char>(piece[start]) >= 0x01 &&
         static_cast<unsigned char>(piece[start]) <= 0x20)
    ++start;
  std::string line = piece.substr(start);
  size_t end = line.find_first_of("\r\n");
  if (end != std::string::npos) line.resize(end);
  return line;
}

void applyLine(DialogFacade& dialog, DocumentLine* line) {
  const std::string& text = line->text;
  if (text.empty() || text[0] == ';') {
    line->fate = LineFate::kSkipped;
    return;
  }
  if (text.size() <= kTagLength) {
    line->fate = LineFate::kTooShort;
    return;
  }
  const int32_t id = atolWrapping(text.c_str() + kTagLength);
  if (id <= 0) {
    line->fate = LineFate::kNoId;
    return;
  }
  line->id = uint32_t(id);
  if (!dialog.hasControl(line->id)) {
    line->fate = LineFate::kNoControl;
    return;
  }
  if (!sameTag(text, controlTag(boundKindOf(dialog, line->id)))) {
    line->fate = LineFate::kWrongTag;
    return;
  }
  line->fate = applyDocumentLine(dialog, line->id, text) ? LineFate::kApplied : LineFate::kRefused;
}

}  // namespace

std::string documentText(const DialogFacade& dialog) {
  // Material lines make a document of a hundred KB or more: its lines are
  // gathered first and joined once, with no copy of the growing whole.
  std::vector<std::string> lines;
  size_t total = sizeof kDocumentHeader + sizeof kDocumentStart + sizeof kDocumentEnd + 3 * sizeof kLineEnd;
  for (uint32_t id : dialog.childIds()) {
    std::string line = documentLineOf(dialog, id);
    if (line.empty()) continue;
    total += line.size() + sizeof kLineEnd;
    lines.push_back(std::move(line));
  }
  std::string out;
  out.reserve(total);
  out.append(kDocumentHeader).append(kLineEnd).append(kDocumentStart).append(kLineEnd);
  for (const std::string& line : lines) out.append(line).append(kLineEnd);
  return out.append(kDocumentEnd).append(kLineEnd);
}

const char* lineFateReason(LineFate fate) {
  switch (fate) {
    case LineFate::kHeader: return "the header line";
    case LineFate::kSkipped: return "blank or a comment";
    case LineFate::kTooShort: return "too short to name a control";
    case LineFate::kNoId: return "no control identifier greater than 0 after the tag";
    case LineFate::kNoControl: return "the dialog has no control with this identifier";
    case LineFate::kWrongTag: return "the tag is not the one this control writes";
    case LineFate::kRefused: return "the control refused the value (no \"=\", or a value that does not decode)";
    case LineFate::kApplied: return "";
  }
  return "";
}

DocumentRead applyDocumentText(DialogFacade& dialog, const std::string& bytes, std::vector<DocumentLine>* report) {
  const std::vector<Piece> pieces = piecesOf(bytes);
  if (!pieces.empty() && !identifies(pieces[0].text)) return DocumentRead::kDamaged;
  for (size_t i = 0; i < pieces.size(); ++i) {
    DocumentLine line;
    line.number = pieces[i].number;
    line.part = pieces[i].part;
    line.text = trimmed(pieces[i].text);
    if (i == 0)
      line.fate = LineFate::kHeader;
    else
      applyLine(dialog, &line);
    if (report) report->push_back(std::move(line));
  }
  return DocumentRead::kRead;
}

}  // namespace gw
