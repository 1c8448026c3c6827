// Outputs that are whole or absent. A file is written to "<path>.tmp" beside
// its target and renamed over it only when complete; every other exit removes
// the temporary (a killed process may leave it, and the next run replaces it).
//
//   OutputFile out(path);
//   FILE* f = std::fopen(out.temporary().c_str(), "wb");
//   ... write, close ...
//   if (!out.commit(&error)) return false;
#pragma once

#include <string>

namespace gw::cli {

class OutputFile {
 public:
  explicit OutputFile(std::string path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  const std::string& temporary() const { return temp_; }
  // Renames the finished temporary into place; false with *error otherwise.
  bool commit(std::string* error);

 private:
  std::string path_;
  std::string temp_;
  bool committed_ = false;
};

// Whether files can be created in the folder `path` would be written to
// (tried with a file of its own, removed at once), so a render can refuse
// before it works for nothing. False with a one-line *error.
bool canWriteBeside(const std::string& path, std::string* error);

}  // namespace gw::cli
