#include "cli/output_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace gw::cli {

OutputFile::OutputFile(std::string path) : path_(std::move(path)), temp_(path_ + ".tmp") {}

OutputFile::~OutputFile() {
  if (!committed_) std::remove(temp_.c_str());
}

bool OutputFile::commit(std::string* error) {
  if (std::rename(temp_.c_str(), path_.c_str()) != 0) {
    *error = path_ + ": cannot put the file in place (" + std::strerror(errno) + ")";
    return false;
  }
  committed_ = true;
  return true;
}

bool canWriteBeside(const std::string& path, std::string* error) {
  const size_t slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
  if (folder.empty()) folder = "/";
  std::string probe = folder + (folder.back() == '/' ? "" : "/") + ".glyphwright-XXXXXX";
  std::vector<char> name(probe.begin(), probe.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd < 0) {
    *error = path + ": cannot write in " + folder + " (" + std::strerror(errno) + ")";
    return false;
  }
  close(fd);
  unlink(name.data());
  return true;
}

}  // namespace gw::cli
