#include "documents/document_file.h"

#include <cctype>
#include <cstdio>

#include "platform/file_replace.h"
#include "platform/string_table.h"
#include "ui/message_box.h"

namespace gw {

const char kDocumentCreateError[] = "There has been an error creating the requested file.";
const char kDocumentOpenError[] = "There has been an error opening the requested file.";
const char kDocumentDamaged[] = "This file has been damaged.";

namespace {

// Documents are small; a file larger than this is no document.
constexpr long kLargestDocument = 64L * 1024 * 1024;

bool writeWhole(FILE* f, const std::string& bytes) {
  return std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
}

}  // namespace

bool readDocumentFile(const std::string& path, std::string* bytes) {
  // Binary, so that both platforms see the same bytes: the reader itself
  // treats CR LF as a line end.
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::string data;
  char buffer[65536];
  size_t got = 0;
  bool ok = true;
  while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
    if (data.size() + got > size_t(kLargestDocument)) {
      ok = false;
      break;
    }
    data.append(buffer, got);
  }
  ok = ok && !std::ferror(f);
  std::fclose(f);
  if (ok) *bytes = std::move(data);
  return ok;
}

bool saveDocument(DialogFacade& dialog, const std::string& path) {
  const std::string temp = temporaryBeside(path);
  FILE* f = path.empty() ? nullptr : std::fopen(temp.c_str(), "wb");
  if (!f) {
    showMessage(dialog.window(), kDocumentCreateError);
    return false;
  }
  bool ok = writeWhole(f, documentText(dialog));
  ok = (std::fclose(f) == 0) && ok;
  if (ok && replaceFile(temp, path)) return true;
  std::remove(temp.c_str());
  showMessage(dialog.window(), loadString(ok ? kStrErrorRenamingFile : kStrErrorWritingFile));
  return false;
}

bool openDocument(DialogFacade& dialog, const std::string& path, std::vector<DocumentLine>* report) {
  std::string bytes;
  if (!readDocumentFile(path, &bytes)) {
    showMessage(dialog.window(), kDocumentOpenError);
    return false;
  }
  if (applyDocumentText(dialog, bytes, report) == DocumentRead::kDamaged) {
    showMessage(dialog.window(), kDocumentDamaged);
    return false;
  }
  return true;
}

bool isUntitledDocument(const std::string& path) {
  size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  static const char kUntitled[] = "untitled.gw5";
  if (name.size() != sizeof kUntitled - 1) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(name[i])) != kUntitled[i]) return false;
  return true;
}

}  // namespace gw
