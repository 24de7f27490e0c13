// Where the program keeps its files on a Linux desktop.
#pragma once

#include <string>

namespace quorl {

// QUORL_SETTINGS when set; else $XDG_CONFIG_HOME/quorl/quorl.ini, else
// ~/.config/quorl/quorl.ini.
std::string ProgramSettingsFile();

// The user's pictures folder plus "Quorl/"; always ends in "/". The
// pictures folder is $XDG_PICTURES_DIR when set, else the one named in
// user-dirs.dirs (as `xdg-user-dir PICTURES` finds it), else ~/Pictures.
// Stands for "the program's folder" as default of the save and load folders.
std::string DefaultPictureFolder();

// Where the program keeps what it must not lose between runs: the recipe
// history and the autosaved canvas. QUORL_STATE_DIR when set; else
// $XDG_STATE_HOME/quorl/, else ~/.local/state/quorl/; always ends in "/".
std::string ProgramStateFolder();

// The XDG_PICTURES_DIR line of a user-dirs.dirs file, with "$HOME" replaced
// by `home`; empty when the file names no pictures folder. The file's lines
// are KEY="$HOME/path" or KEY="/absolute/path"; the last one counts.
std::string PicturesFolderFromUserDirs(const std::string& fileText, const std::string& home);

// The program's file name as used in saved file names.
inline constexpr const char* kProgramName = "quorl";

// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace quorl
