#include "ui/about_window.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/program_icon.h"

namespace quorl {

namespace {

bool OpenWithDesktop(const QString& address) {
  return QDesktopServices::openUrl(QUrl(address));
}

LinkOpener g_opener = &OpenWithDesktop;

constexpr const char* kWebPage = "https://quorl.example.org/";
constexpr const char* kMailLink = "mailto:hello@quorl.example.org";

QLabel* AddLabel(QLayout* layout, QWidget* parent, const QString& name, const QString& text, int point_size) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  if (point_size > 0) {
    QFont font = label->font();
    font.setPointSize(point_size);
    label->setFont(font);
  }
  layout->addWidget(label);
  return label;
}

}  // namespace

QString AboutWindow::Version() {
  return QStringLiteral(QUORL_VERSION);
}

void SetLinkOpener(LinkOpener opener) {
  g_opener = opener ? opener : &OpenWithDesktop;
}

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("formQuorlAbout"));
  setWindowTitle(QStringLiteral("About Quorl"));
  setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint |
                 Qt::MSWindowsFixedSizeDialogHint);
  setAutoFillBackground(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  setPalette(white);
  setWindowIcon(ProgramIcon());

  // Laid out, and as large as its text needs at any scale; never resized.
  auto* page = new QVBoxLayout(this);
  page->setSizeConstraint(QLayout::SetFixedSize);
  auto* top = new QHBoxLayout;
  page->addLayout(top);
  auto* Image1 = new QLabel(this);
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setPixmap(ProgramPicture(kPictureSize));
  Image1->setAccessibleName(QStringLiteral("Quorl icon"));
  top->addWidget(Image1, 0, Qt::AlignTop);
  auto* names = new QVBoxLayout;
  top->addLayout(names);
  Label1_ = AddLabel(names, this, QStringLiteral("Label1"), QStringLiteral("Quorl"), 20);
  Label1_->setToolTip(QLatin1String(kWebPage));
  Label1_->setCursor(Qt::PointingHandCursor);
  auto* version = AddLabel(names, this, QStringLiteral("Version"), QStringLiteral("Version ") + Version(), 0);
  version->setAccessibleName(QStringLiteral("Version"));
  AddLabel(names, this, QStringLiteral("Label2"), QStringLiteral("by "), 14);
  AddLabel(names, this, QStringLiteral("Label3"), QStringLiteral("its makers"), 14);
  names->addStretch(1);

  auto* text = new QVBoxLayout;
  text->setSpacing(1);
  page->addLayout(text);
  AddLabel(text, this, QStringLiteral("Label4"), QStringLiteral("Quorl is a drawing program. Tell us what"),
           0);
  AddLabel(text, this, QStringLiteral("Label5"),
           QStringLiteral("you made with it, or what you would change:"), 0);
  Label6_ = AddLabel(text, this, QStringLiteral("Label6"), QStringLiteral("hello@quorl.example.org"), 0);
  Label6_->setToolTip(QLatin1String(kMailLink));
  Label6_->setCursor(Qt::PointingHandCursor);
  text->addSpacing(4);
  AddLabel(text, this, QStringLiteral("Label7"), QStringLiteral("It comes with no licence and no support."),
           0);
  AddLabel(text, this, QStringLiteral("Label8"), QStringLiteral("Nothing is promised about what it does."),
           0);
  AddLabel(text, this, QStringLiteral("Label9"), QStringLiteral("You use it at your own risk."), 0);
  AddLabel(text, this, QStringLiteral("Label10"), QStringLiteral("You may copy it and pass it on"), 0);
  AddLabel(text, this, QStringLiteral("Label11"), QStringLiteral("freely, for any purpose."), 0);
  text->addSpacing(4);
  AddLabel(text, this, QStringLiteral("Label12"), QStringLiteral("Written 6 December 2026"), 0);

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
