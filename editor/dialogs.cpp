#include "dialogs.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class QtDialogs : public Dialogs {
  public:
    Answer messageBox(QWidget* parent, const QString& text, const QString& caption, Buttons buttons,
                      Icon icon) override {
        QMessageBox box(parent);
        box.setWindowTitle(caption);
        // A CR after a line break breaks the line once more in Qt's box;
        // Windows shows the two as one line break.
        QString shown = text;
        box.setText(shown.replace("\n\r", "\n"));
        box.setIcon(icon == Icon::Question  ? QMessageBox::Question
                    : icon == Icon::Warning ? QMessageBox::Warning
                    : icon == Icon::Error   ? QMessageBox::Critical
                                            : QMessageBox::NoIcon);
        switch (buttons) {
        case Buttons::Ok:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case Buttons::YesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case Buttons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case Buttons::YesNoDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        default:
            return Answer::Ok;
        }
    }

    QString openFileName(QWidget* parent, const QString& folder, const QString& file,
                         const QString& filter) override {
        const QString start = file.isEmpty() ? folder : folder + "/" + file;
        return QFileDialog::getOpenFileName(parent, QCoreApplication::translate("Dialogs", "開く"),
                                            start, filter);
    }

    QString saveFileName(QWidget* parent, const QString& folder, const QString& filter) override {
        QFileDialog dialog(parent, QCoreApplication::translate("Dialogs", "名前を付けて保存"),
                           folder, filter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("vtg");
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().front();
    }
};

Dialogs*& replaced() {
    static Dialogs* dialogs = nullptr;
    return dialogs;
}

} // namespace

Dialogs& dialogs() {
    static QtDialogs qtDialogs;
    return replaced() ? *replaced() : qtDialogs;
}

void setDialogs(Dialogs* replacement) {
    replaced() = replacement;
}
