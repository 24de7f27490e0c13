// The menu items of the Gallery and Variations windows, and the gallery at
// the very first start. The windows are made the first time they are asked
// for and belong to the main window.
#pragma once

class QMenu;

namespace quorl {

class MainWindow;

// "Gallery" in the Help menu, "Variations" in the Options menu.
void AddExploreMenuItems(MainWindow& main, QMenu* help, QMenu* options);

// Opens the gallery beside the main window when this is the first start
// (no settings file existed when the program started) and it is not turned
// off (QUORL_NO_GALLERY).
void ShowGalleryOnFirstStart(MainWindow& main, bool settingsFileExisted);

}  // namespace quorl
