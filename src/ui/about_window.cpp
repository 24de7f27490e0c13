#include "ui/about_window.h"

#include <QDesktopServices>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>

#include "ui/cursors.h"

namespace quorl {

namespace {

bool OpenWithDesktop(const QString& address) {
  return QDesktopServices::openUrl(QUrl(address));
}

LinkOpener g_opener = &OpenWithDesktop;

constexpr const char* kWebPage = "https://quorl.example.org/";
constexpr const char* kMailLink = "mailto:hello@quorl.example.org";

QLabel* AddLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                 int point_size) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (point_size > 0) {
    QFont font = label->font();
    font.setPointSize(point_size);
    label->setFont(font);
  }
  label->move(left, top);
  label->adjustSize();
  return label;
}

}  // namespace

void SetLinkOpener(LinkOpener opener) {
  g_opener = opener ? opener : &OpenWithDesktop;
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("formQuorlAbout"));
  setWindowTitle(QStringLiteral("About Quorl"));
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  RegisterCursors();  // also loads the resources that hold the picture
  auto* Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(0, 0, 153, 153);
  Image1->setPixmap(QPixmap(QStringLiteral(":/quorl/quorl.png")));

  Label1_ = AddLabel(this, QStringLiteral("Label1"), QStringLiteral("Quorl"), 163, 16, 20);
  Label1_->setToolTip(QLatin1String(kWebPage));
  Label1_->setCursor(Qt::PointingHandCursor);
  AddLabel(this, QStringLiteral("Label2"), QStringLiteral("by "), 163, 56, 14);
  AddLabel(this, QStringLiteral("Label3"), QStringLiteral("its makers"), 163, 84, 14);

  const int left = 8;
  AddLabel(this, QStringLiteral("Label4"), QStringLiteral("Quorl is a drawing program. Tell us what"), left,
           157, 0);
  AddLabel(this, QStringLiteral("Label5"), QStringLiteral("you made with it, or what you would change:"),
           left, 171, 0);
  Label6_ = AddLabel(this, QStringLiteral("Label6"), QStringLiteral("hello@quorl.example.org"), left, 185, 0);
  Label6_->setToolTip(QLatin1String(kMailLink));
  Label6_->setCursor(Qt::PointingHandCursor);
  AddLabel(this, QStringLiteral("Label7"), QStringLiteral("It comes with no licence and no support."), left,
           201, 0);
  AddLabel(this, QStringLiteral("Label8"), QStringLiteral("Nothing is promised about what it does."), left,
           215, 0);
  AddLabel(this, QStringLiteral("Label9"), QStringLiteral("You use it at your own risk."), left, 229, 0);
  AddLabel(this, QStringLiteral("Label10"), QStringLiteral("You may copy it and pass it on"), left, 243, 0);
  AddLabel(this, QStringLiteral("Label11"), QStringLiteral("freely, for any purpose."), left, 257, 0);
  AddLabel(this, QStringLiteral("Label12"), QStringLiteral("Written 6 December 2026"), left, 273, 0);

  Label1_->installEventFilter(this);
  Label6_->installEventFilter(this);
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* label = qobject_cast<QLabel*>(watched);
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (label && mouse->button() == Qt::LeftButton && (label == Label1_ || label == Label6_)) {
      g_opener(label->toolTip());  // a failing desktop handler is not reported
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace quorl
