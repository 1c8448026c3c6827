// Where texture and tile groups live: the plug-in's folder under the user's
// application data, and the primary groups that ship inside the library and
// are put there the first time they are wanted.
//
//   std::string path = gw::installPrimaryGroup(gw::kPrimaryTextureGroup);
//   for (const std::string& name : gw::groupBaseNames("FFT")) ...
#pragma once

#include <string>
#include <vector>

namespace gw {

// "<application data>/Quillmere/Glyphwright 5/" with its separator, or empty
// when the application-data folder is unknown.
std::string pluginFolder();
// `name` in the plug-in's folder, or empty.
std::string pluginFolderFile(const std::string& name);

// The base names (up to the first dot) of the files in the plug-in's folder
// whose extension is `extension` (compared without regard to case), sorted
// without regard to case.
std::vector<std::string> groupBaseNames(const char* extension);

// The file name of group `base` with `extension`: the name of the file in the
// plug-in's folder that matches without regard to case (as the system this
// comes from matches names), else "base.extension".
std::string groupFileName(const std::string& base, const char* extension);

// The path of the shipped group `fileName` ("glwplug5.fft" or "glwplug5.mtx")
// in the plug-in's folder. When no file of that name is there yet, the folder
// is made and the copy the library carries is written there first. A file
// that is there is never replaced: the user may have saved over it by hand.
// Empty when the folder cannot be found or made or the file not written.
std::string installPrimaryGroup(const char* fileName);

}  // namespace gw
