// "About Quorl": what the program is, the terms it comes under, and two
// links (web page and mail) that open with the desktop's default handler.
#pragma once

#include <QDialog>

class QLabel;

namespace quorl {

class AboutWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kPictureSize = 128;
  // The program's version, as the build names it.
  static QString Version();

  explicit AboutWindow(QWidget* parent = nullptr);

  // The two clickable labels; their tool tip holds the address they open.
  QLabel* Label1() const { return Label1_; }
  QLabel* Label6() const { return Label6_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLabel* Label1_ = nullptr;
  QLabel* Label6_ = nullptr;
};

// Opens a link; replaceable so tests can see what would be opened.
using LinkOpener = bool (*)(const QString& address);
void SetLinkOpener(LinkOpener opener);

}  // namespace quorl
