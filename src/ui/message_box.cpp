#include "ui/message_box.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

const QString kTitle = QStringLiteral("VELTRA");

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(icon, kTitle, text, QMessageBox::Ok, parent);
    box.button(QMessageBox::Ok)->setText(QStringLiteral("U redu"));
    box.exec();
}

}  // namespace

void ShowMessage(QWidget* parent, const QString& text)
{
    Show(parent, QMessageBox::Information, text);
}

void ShowError(QWidget* parent, const QString& text)
{
    Show(parent, QMessageBox::Critical, text);
}

bool AskYesNo(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, kTitle, question, QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("Da"));
    box.button(QMessageBox::No)->setText(QStringLiteral("Ne"));
    return box.exec() == QMessageBox::Yes;
}

bool AskTryAgain(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, kTitle, text, QMessageBox::Retry | QMessageBox::Cancel, parent);
    box.button(QMessageBox::Retry)->setText(QStringLiteral("Pokušaj ponovo"));
    box.button(QMessageBox::Cancel)->setText(QStringLiteral("Odustani"));
    box.setDefaultButton(QMessageBox::Retry);
    return box.exec() == QMessageBox::Retry;
}
