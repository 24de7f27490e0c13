#include "ui/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

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
