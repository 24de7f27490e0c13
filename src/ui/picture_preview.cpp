#include "ui/picture_preview.h"

#include <QImage>
#include <QLabel>
#include <algorithm>

#include "base/picture24.h"
#include "ui/dialogs.h"

namespace quorl {

PicturePreview::PicturePreview(const QString& object_name, QWidget* parent) : QFrame(parent) {
  setObjectName(object_name);
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Sunken);
  setMinimumSize(200, 118);
  caption_ = new QLabel(QString::fromUtf8(kNoImageCaption), this);
  caption_->setAlignment(Qt::AlignCenter);
  image_ = new QLabel(this);
  image_->setAlignment(Qt::AlignCenter);
}

void PicturePreview::ShowPicture(const Picture24& picture, int width) {
  width = std::min(width, picture.Width());
  if (width <= 0 || picture.Height() <= 0) return;
  // Picture24 rows are blue, green, red without padding: BGR888 read with
  // the picture's own stride, copied so the preview owns its pixels.
  const QImage view(picture.Bytes().data(), picture.Width(), picture.Height(),
                    static_cast<qsizetype>(picture.Stride()), QImage::Format_BGR888);
  picture_ = QPixmap::fromImage(view.copy(0, 0, width, picture.Height()));
  caption_->clear();
  Fit();
}

QString PicturePreview::Caption() const {
  return caption_->text();
}

bool PicturePreview::HasPicture() const {
  return !picture_.isNull();
}

void PicturePreview::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  Fit();
}

void PicturePreview::Fit() {
  const QRect inside = contentsRect();
  caption_->setGeometry(inside);
  image_->setGeometry(inside);
  if (picture_.isNull() || inside.isEmpty()) return;
  image_->setPixmap(picture_.scaled(inside.size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QString AskForPictureFile(QWidget* parent, const std::string& last_file) {
  // A file name as the starting place opens its folder with the name
  // proposed.
  const QString start = last_file.empty() ? QStringLiteral(".") : QString::fromStdString(last_file);
  return CurrentDialogs().OpenFile(parent, QStringLiteral("Open"), start, QString::fromUtf8(kPictureFilter));
}

}  // namespace quorl
