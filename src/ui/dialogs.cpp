#include "ui/dialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace quorl {

void Dialogs::ShowMessage(QWidget* parent, const QString& text) {
  QMessageBox::information(parent, QStringLiteral("Quorl"), text, QMessageBox::Ok);
}

QString Dialogs::OpenFile(QWidget* parent, const QString& title, const QString& folder,
                          const QString& filter) {
  return QFileDialog::getOpenFileName(parent, title, folder, filter);
}

QString Dialogs::ChooseFolder(QWidget* parent, const QString& title, const QString& folder) {
  return QFileDialog::getExistingDirectory(parent, title, folder);
}

QString Dialogs::SaveFile(QWidget* parent, const QString& title, const QString& folder,
                          const QString& proposed_name, const QString& filter,
                          const QString& default_suffix) {
  QFileDialog dialog(parent, title, folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(default_suffix);
  dialog.selectFile(proposed_name);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().first();
}

bool Dialogs::AskYesNo(QWidget* parent, const QString& text) {
  return QMessageBox::warning(parent, QStringLiteral("Quorl"), text, QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) == QMessageBox::Yes;
}

Dialogs::RecoveryAnswer Dialogs::AskRecovery(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Quorl"), text, QMessageBox::NoButton, parent);
  QPushButton* restore = box.addButton(QStringLiteral("Restore"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("Discard"), QMessageBox::DestructiveRole);
  QPushButton* later = box.addButton(QStringLiteral("Ask later"), QMessageBox::RejectRole);
  restore->setAccessibleName(QStringLiteral("Restore the autosaved canvas"));
  discard->setAccessibleName(QStringLiteral("Discard the autosaved canvas"));
  later->setAccessibleName(QStringLiteral("Keep the autosaved canvas and ask at the next start"));
  box.setDefaultButton(restore);
  box.setEscapeButton(later);
  box.exec();
  if (box.clickedButton() == restore) return RecoveryAnswer::Restore;
  if (box.clickedButton() == discard) return RecoveryAnswer::Discard;
  return RecoveryAnswer::Later;
}

Dialogs::SaveChoice Dialogs::AskSaveFirst(QWidget* parent, bool& stop_asking) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Quorl"), QStringLiteral("Save the picture first?"),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Save);
  auto* never = new QCheckBox(QStringLiteral("Do not ask again"), &box);
  never->setAccessibleName(QStringLiteral("Do not ask again"));
  box.setCheckBox(never);
  const int answer = box.exec();
  stop_asking = never->isChecked();
  if (answer == QMessageBox::Save) return SaveChoice::Save;
  if (answer == QMessageBox::Discard) return SaveChoice::Discard;
  return SaveChoice::Cancel;
}

QColor Dialogs::ChooseColour(QWidget* parent, const QString& title, const QColor& initial) {
  return QColorDialog::getColor(initial, parent, title);
}

void Dialogs::OpenFolder(const QString& folder) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

namespace {
Dialogs g_real_dialogs;
Dialogs* g_dialogs = &g_real_dialogs;
}  // namespace

Dialogs& CurrentDialogs() {
  return *g_dialogs;
}

void InstallDialogs(Dialogs* dialogs) {
  g_dialogs = dialogs ? dialogs : &g_real_dialogs;
}

}  // namespace quorl
