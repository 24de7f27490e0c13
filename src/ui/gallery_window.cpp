#include "ui/gallery_window.h"

#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "canvas/picture_files.h"
#include "engine/program_state.h"
#include "services/image_loading.h"
#include "ui/dialogs.h"
#include "ui/main_window.h"

namespace quorl {
namespace {

// Answers the one file dialog of "Open .ini file" with the gallery's
// picture, so a gallery picture opens exactly as the user opening it would.
class AnswerOpenFile : public Dialogs {
 public:
  AnswerOpenFile(Dialogs& others, QString file) : others_(others), file_(std::move(file)) {}
  QString OpenFile(QWidget*, const QString&, const QString&, const QString&) override { return file_; }
  void ShowMessage(QWidget* parent, const QString& text) override { others_.ShowMessage(parent, text); }
  bool AskYesNo(QWidget* parent, const QString& text) override { return others_.AskYesNo(parent, text); }
  QString ChooseFolder(QWidget* parent, const QString& title, const QString& folder) override {
    return others_.ChooseFolder(parent, title, folder);
  }
  QString SaveFile(QWidget* parent, const QString& title, const QString& folder, const QString& proposed,
                   const QString& filter, const QString& suffix) override {
    return others_.SaveFile(parent, title, folder, proposed, filter, suffix);
  }

 private:
  Dialogs& others_;
  QString file_;
};

// Messages of the picture loaders to the main window's status line and boxes.
class WindowMessages : public Host {
 public:
  explicit WindowMessages(MainWindow& main) : main_(main) {}
  void ShowStatus(const std::string& text) override { main_.ShowStatus(QString::fromStdString(text)); }
  void ShowMessage(const std::string& text) override { main_.ShowMessage(QString::fromStdString(text)); }

 private:
  MainWindow& main_;
};

QIcon Thumbnail(const std::string& path, int side) {
  QImage image(QString::fromStdString(path));
  if (image.isNull()) return {};
  return QIcon(QPixmap::fromImage(image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

}  // namespace

GalleryWindow::GalleryWindow(MainWindow& main, QWidget* parent) : QWidget(parent, Qt::Tool), main_(main) {
  setObjectName(QStringLiteral("formQuorlGallery"));
  setWindowTitle(QStringLiteral("Gallery"));
  auto* layout = new QVBoxLayout(this);
  caption_ = new QLabel(QStringLiteral("Click a picture to open its recipe, then press Draw."), this);
  caption_->setWordWrap(true);
  layout->addWidget(caption_);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("listGallery"));
  list_->setViewMode(QListView::IconMode);
  list_->setIconSize(QSize(kThumbnailSide, kThumbnailSide));
  list_->setGridSize(QSize(kThumbnailSide + 16, kThumbnailSide + 34));
  list_->setResizeMode(QListView::Adjust);
  list_->setMovement(QListView::Static);
  list_->setWordWrap(true);
  list_->setSpacing(2);
  layout->addWidget(list_);
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { OpenEntry(list_->row(item)); });
  resize(4 * (kThumbnailSide + 16) + 40, 3 * (kThumbnailSide + 34) + 60);
}

void GalleryWindow::Fill(const std::string& folder) {
  folder_ = folder;
  entries_ = folder.empty() ? std::vector<GalleryEntry>{} : ListGallery(folder);
  list_->clear();
  for (const GalleryEntry& entry : entries_) {
    auto* item =
        new QListWidgetItem(Thumbnail(entry.path, kThumbnailSide), QString::fromStdString(entry.title));
    item->setToolTip(QString::fromStdString(entry.name));
    list_->addItem(item);
  }
  if (entries_.empty())
    caption_->setText(QStringLiteral("No gallery was found (it is installed in share/quorl/gallery)."));
}

bool GalleryWindow::OpenEntry(int i) {
  if (i < 0 || i >= EntryCount()) return false;
  if (main_.RunInProgress()) {
    main_.ShowMessage(QStringLiteral("Stop the drawing before opening a gallery picture."));
    return false;
  }
  const GalleryEntry& entry = entries_[static_cast<std::size_t>(i)];
  GalleryPictures pictures;
  std::string error;
  if (!GalleryPicturesOf(folder_, entry, pictures, error)) {
    main_.ShowMessage(QStringLiteral("Gallery: ") + QString::fromStdString(error));
    return false;
  }
  // The user's folders stay theirs: a gallery recipe names the folders it
  // was made in.
  WindowLayout& layout = main_.Layout();
  const std::string saveDir = layout.SaveDir, loadDir = layout.LoadDir, sourceDir = layout.LoadSourceImageDir;
  Dialogs& previous = CurrentDialogs();
  AnswerOpenFile answer(previous, QString::fromStdString(entry.path));
  InstallDialogs(&answer);
  main_.OpenSettingsFile();
  InstallDialogs(&previous);
  layout.SaveDir = saveDir;
  layout.LoadDir = loadDir;
  layout.LoadSourceImageDir = sourceDir;

  WindowMessages messages(main_);
  ProgramState& state = main_.State();
  if (!pictures.source.empty())
    LoadSourceImage(state, pictures.source, ExtensionOf(pictures.source), messages);
  if (!pictures.background.empty())
    LoadBackgroundImage(state, pictures.background, ExtensionOf(pictures.background), messages);
  // A canvas of the recipe's size (with its background), ready to Draw.
  main_.Clear();
  QString status = QStringLiteral("Opened \"") + QString::fromStdString(entry.title) +
                   QStringLiteral("\" from the gallery: press Draw");
  if (entry.frame > 0)
    status += QStringLiteral(" (frame ") + QString::number(entry.frame) +
              QStringLiteral(" of an animation: the Animation window makes them all)");
  main_.ShowStatus(status);
  return true;
}

void GalleryWindow::ShowBesideMain() {
  const QRect frame = main_.frameGeometry();
  QPoint at(frame.right() + 8, frame.top());
  if (const QScreen* screen = main_.screen()) {
    const QRect free = screen->availableGeometry();
    if (at.x() + width() > free.right()) at.setX(std::max(free.left(), free.right() - width()));
  }
  move(at);
  show();
  raise();
}

bool GalleryAtFirstStart(bool settingsFileExisted) {
  if (settingsFileExisted) return false;
  const char* off = std::getenv("QUORL_NO_GALLERY");
  return !off || !*off || std::string(off) == "0";
}

}  // namespace quorl
