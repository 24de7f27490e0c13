#include "ui/explore_menu.h"

#include <QAction>
#include <QMenu>

#include "services/gallery.h"
#include "ui/gallery_window.h"
#include "ui/main_window.h"
#include "ui/variations_window.h"

namespace quorl {
namespace {

GalleryWindow* Gallery(MainWindow& main) {
  auto* window = main.findChild<GalleryWindow*>();
  if (!window) {
    window = new GalleryWindow(main, &main);
    window->Fill(FindGalleryFolder());
  }
  return window;
}

VariationsWindow* Variations(MainWindow& main) {
  auto* window = main.findChild<VariationsWindow*>();
  return window ? window : new VariationsWindow(main, &main);
}

}  // namespace

void AddExploreMenuItems(MainWindow& main, QMenu* help, QMenu* options) {
  QAction* gallery = help->addAction(QStringLiteral("Gallery"));
  gallery->setObjectName(QStringLiteral("Gallery1"));
  QObject::connect(gallery, &QAction::triggered, &main, [&main] {
    Gallery(main)->ShowBesideMain();
    main.ShowStatus(QStringLiteral("Showing the gallery"));
  });
  QAction* variations = options->addAction(QStringLiteral("Variations"));
  variations->setObjectName(QStringLiteral("Variations1"));
  variations->setShortcut(QKeySequence(Qt::Key_F11));
  QObject::connect(variations, &QAction::triggered, &main, [&main] {
    VariationsWindow* window = Variations(main);
    if (window->isVisible()) window->MakeNeighbours();
    window->show();
    window->raise();
    main.ShowStatus(QStringLiteral("Showing variations"));
  });
}

void ShowGalleryOnFirstStart(MainWindow& main, bool settingsFileExisted) {
  if (GalleryAtFirstStart(settingsFileExisted)) Gallery(main)->ShowBesideMain();
}

}  // namespace quorl
