#include "Dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace lcd {

void QtDialogs::ErrorBox(const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent_);
    box.setObjectName("ErrorBox");
    box.setInformativeText(detail);
    box.exec();
}

void QtDialogs::ShowMessage(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent_);
    box.setObjectName("MessageBox");
    box.exec();
}

void QtDialogs::ShowException(const QString& text) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text, QMessageBox::Ok,
                    parent_);
    box.setObjectName("ExceptionBox");
    box.exec();
}

QString QtDialogs::SaveFileName(const QString& caption, const QString& suggestedName, const QString& filter) {
    return QFileDialog::getSaveFileName(parent_, caption, suggestedName, filter);
}

QString QtDialogs::OpenFileName(const QString& current, const QStringList& filters) {
    QFileDialog dialog(parent_);
    dialog.setObjectName("OpenPictureDialog");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(filters);
    if (!current.isEmpty()) {
        dialog.selectFile(current);
    }
    return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()
               ? dialog.selectedFiles().first()
               : QString();
}

}  // namespace lcd
