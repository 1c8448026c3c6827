// An application-data folder of the test's own: GLYPHWRIGHT_APPDATA points at
// a fresh temporary folder while this lives and is put back as it was after,
// so a test never reads or writes the user's plug-in files.
#pragma once

#include <stdlib.h>

#include <string>

#include "tests/temp_folder.h"

class AppDataFolder {
 public:
  explicit AppDataFolder(const std::string& tag) : folder_(tag) {
    const char* old = getenv("GLYPHWRIGHT_APPDATA");
    had_ = old != nullptr;
    if (had_) old_ = old;
    setenv("GLYPHWRIGHT_APPDATA", folder_.path().c_str(), 1);
  }
  ~AppDataFolder() {
    if (had_) setenv("GLYPHWRIGHT_APPDATA", old_.c_str(), 1);
    else unsetenv("GLYPHWRIGHT_APPDATA");
  }
  AppDataFolder(const AppDataFolder&) = delete;
  AppDataFolder& operator=(const AppDataFolder&) = delete;

  const std::string& path() const { return folder_.path(); }
  // A file in the plug-in's own folder below it (which may not exist yet).
  std::string pluginFile(const std::string& name) const { return path() + "/Quillmere/Glyphwright 5/" + name; }

 private:
  TempFolder folder_;
  bool had_ = false;
  std::string old_;
};
