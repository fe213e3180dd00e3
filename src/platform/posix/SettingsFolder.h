#pragma once
// Where the program keeps its settings file and its "save" folder on a
// POSIX system: beside the executable when new files can be created there
// (every save writes a new file and renames it over the old one), otherwise
// in the user's configuration folder, so that settings are never lost to a
// folder the user cannot write (an installation under /usr/local/bin).

#include <string>

namespace vantorel::posix {

// What the choice depends on, gathered from the running system.
struct SettingsFolderFacts {
    std::string exeFolder;           // the executable's folder
    bool exeFolderWritable = false;  // a new file could be created in exeFolder
    std::string xdgConfigHome;       // $XDG_CONFIG_HOME ("" when unset)
    std::string home;                // the user's home folder
};

// The executable's folder when new files can be created in it, even when a
// settings file there could be written in place; else the "vantorel"
// folder under the XDG configuration folder.
std::string ChooseSettingsFolder(const SettingsFolderFacts& facts);

// $XDG_CONFIG_HOME when it is an absolute path (the XDG rule ignores a
// relative one), else home + "/.config".
std::string XdgConfigFolder(const std::string& xdgConfigHome, const std::string& home);

// Whether a new file can be created in `folder`: tries it with a uniquely
// named empty file, which is removed again at once. Permission bits alone
// do not tell (a read-only mount, access lists, root).
bool CanCreateFileIn(const std::string& folder);

// Creates `path` and its missing parents (mode 0700 for new folders).
// True when the folder exists afterwards.
bool MakeFolders(const std::string& path);

}  // namespace vantorel::posix
