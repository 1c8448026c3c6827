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

// Group names as the plug-in's folder matches them: without regard to case.
bool sameGroupName(const std::string& a, const std::string& b);

// The name a group list shows for group file `file`: up to the first dot.
std::string groupBaseName(const std::string& file);

// Index in `names` (base names, as groupBaseNames lists them) of the group
// whose file is `file`, or -1.
int groupNameIndex(const std::vector<std::string>& names, const std::string& file);

// Whether a name the user typed can be a group's file name in the plug-in's
// folder and be found again by its base name: not empty, no folders, no dot,
// no characters a file name cannot hold, not only blanks.
bool usableGroupName(const std::string& name);

// The path of the shipped group `fileName` ("glwplug5.fft" or "glwplug5.mtx")
// in the plug-in's folder. When no file of that name is there yet, the folder
// is made and the copy the library carries is written there first. A file
// that is there is never replaced: the user may have saved over it by hand.
// Empty when the folder cannot be found or made or the file not written.
std::string installPrimaryGroup(const char* fileName);

}  // namespace gw
