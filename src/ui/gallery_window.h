// The Gallery window (Help > Gallery): the pictures shipped with Quorl as
// thumbnails. A click opens the picture's recipe (settings, curves and the
// pictures it uses) in the main window, ready to Draw. On the very first
// start, with no settings file yet, it opens beside the empty canvas.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "services/gallery.h"

class QLabel;
class QListWidget;
class QListWidgetItem;

namespace quorl {

class MainWindow;

class GalleryWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kThumbnailSide = 112;

  GalleryWindow(MainWindow& main, QWidget* parent);

  // Reads the gallery folder again and shows its pictures.
  void Fill(const std::string& folder);
  int EntryCount() const { return static_cast<int>(entries_.size()); }
  QListWidget* List() const { return list_; }
  // Opens entry i as a click does; false (with a message) when it cannot.
  bool OpenEntry(int i);
  // Places the window to the right of the main window and shows it.
  void ShowBesideMain();

 private:
  MainWindow& main_;
  QLabel* caption_ = nullptr;
  QListWidget* list_ = nullptr;
  std::string folder_;
  std::vector<GalleryEntry> entries_;
};

// True when the window should open the gallery at start: there is no
// settings file yet and QUORL_NO_GALLERY is not set to anything but "0" or
// "" (tests set it).
bool GalleryAtFirstStart(bool settingsFileExisted);

}  // namespace quorl
