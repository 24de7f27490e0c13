#include "ui/field_message.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>

namespace quorl {

namespace {

constexpr const char* kBalloonName = "fieldMessage";
constexpr const char* kKeptProperty = "quorlKeptText";
constexpr const char* kPaletteProperty = "quorlPaletteSaved";

// Puts the kept value back when a field with refused text loses focus.
class FocusLossRestorer : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide) {
      auto* field = qobject_cast<QLineEdit*>(watched);
      if (field && !FieldMessage(field).isEmpty()) {
        const QString kept = field->property(kKeptProperty).toString();
        HideFieldMessage(field);
        field->setText(kept);
      }
    }
    return false;
  }
};

FocusLossRestorer& Restorer() {
  static FocusLossRestorer restorer;
  return restorer;
}

QLabel* Balloon(QLineEdit* field) {
  if (QLabel* existing = FieldMessageBalloon(field)) return existing;
  // A tool-tip window of its own: it floats under the field and never
  // pushes the window's other controls about.
  auto* balloon = new QLabel(field, Qt::ToolTip);
  balloon->setObjectName(QString::fromLatin1(kBalloonName));
  balloon->setForegroundRole(QPalette::ToolTipText);
  balloon->setBackgroundRole(QPalette::ToolTipBase);
  balloon->setAutoFillBackground(true);
  balloon->setFrameShape(QFrame::Box);
  balloon->setMargin(3);
  balloon->setAccessibleName(QStringLiteral("Entry refused"));
  field->installEventFilter(&Restorer());
  return balloon;
}

}  // namespace

void ShowFieldMessage(QLineEdit* field, const QString& message, const QString& kept) {
  QLabel* balloon = Balloon(field);
  field->setProperty(kKeptProperty, kept);
  if (!field->property(kPaletteProperty).toBool()) {
    field->setProperty(kPaletteProperty, true);
    QPalette yellow = field->palette();
    yellow.setColor(QPalette::Base, QColor(255, 255, 0));
    field->setPalette(yellow);
  }
  balloon->setText(message);
  balloon->adjustSize();
  balloon->move(field->mapToGlobal(QPoint(0, field->height() + 2)));
  balloon->show();
}

void HideFieldMessage(QLineEdit* field) {
  if (QLabel* balloon = FieldMessageBalloon(field)) {
    balloon->hide();
    balloon->clear();
  }
  if (field->property(kPaletteProperty).toBool()) {
    field->setProperty(kPaletteProperty, false);
    field->setPalette(QPalette());
  }
}

QString FieldMessage(const QLineEdit* field) {
  const QLabel* balloon = FieldMessageBalloon(field);
  return balloon && balloon->isVisible() ? balloon->text() : QString();
}

QLabel* FieldMessageBalloon(const QLineEdit* field) {
  return field->findChild<QLabel*>(QString::fromLatin1(kBalloonName), Qt::FindDirectChildrenOnly);
}

}  // namespace quorl
