// The preview panel of the Source Image and Background Image windows, and
// the file dialog both use to pick a picture.
#pragma once

#include <QFrame>
#include <QPixmap>
#include <QString>
#include <string>

class QLabel;

namespace quorl {

class Picture24;

// A sunken panel that reads "No image set" until a picture is shown in it,
// stretched to fit and keeping its proportions.
class PicturePreview : public QFrame {
  Q_OBJECT

 public:
  static constexpr const char* kNoImageCaption = "No image set";

  PicturePreview(const QString& object_name, QWidget* parent);

  // Shows the first `width` columns of `picture` and clears the caption.
  void ShowPicture(const Picture24& picture, int width);

  QString Caption() const;
  // True once a picture is shown.
  bool HasPicture() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Fit();

  QLabel* caption_;
  QLabel* image_;
  QPixmap picture_;  // full size; the label shows it fitted
};

inline constexpr const char* kPictureFilter = "Source images png,bmp,jpg,jpeg (*.png *.bmp *.jpg *.jpeg)";

// Asks for an existing picture file, proposing `last_file` (which also gives
// the starting folder) or starting in "." when there is none. Empty on
// cancel.
QString AskForPictureFile(QWidget* parent, const std::string& last_file);

}  // namespace quorl
