// Where the program keeps its files on a Linux desktop.
#pragma once

#include <string>

namespace quorl {

// QUORL_SETTINGS when set; else $XDG_CONFIG_HOME/quorl/quorl.ini, else
// ~/.config/quorl/quorl.ini.
std::string ProgramSettingsFile();

// $XDG_PICTURES_DIR/Quorl/, else ~/Pictures/Quorl/; always ends in "/".
// Stands for "the program's folder" as default of the save and load folders.
std::string DefaultPictureFolder();

// Where the program keeps what it must not lose between runs: the recipe
// history and the autosaved canvas. QUORL_STATE_DIR when set; else
// $XDG_STATE_HOME/quorl/, else ~/.local/state/quorl/; always ends in "/".
std::string ProgramStateFolder();

// The program's file name as used in saved file names.
inline constexpr const char* kProgramName = "quorl";

// Creates a folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& path);

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

}  // namespace quorl
