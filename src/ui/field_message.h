// A refused entry in a text field is told beside the field, in a small
// balloon under it, not in a box that takes the keyboard: the user sees what
// is wrong and goes on typing. The field turns yellow while the balloon is
// up; when it loses focus with the refused text still in it, the value it
// kept comes back.
#pragma once

#include <QString>

class QLabel;
class QLineEdit;

namespace quorl {

// Shows `message` under `field` and remembers `kept` for the focus loss.
void ShowFieldMessage(QLineEdit* field, const QString& message, const QString& kept);
// The text is good again: balloon and colour go, nothing is written back.
void HideFieldMessage(QLineEdit* field);
// The balloon's text while it is up, otherwise empty.
QString FieldMessage(const QLineEdit* field);
// The balloon itself (null until a first refusal), for looking at it.
QLabel* FieldMessageBalloon(const QLineEdit* field);

}  // namespace quorl
