#include "common/ui/message_service.h"

#include "common/calc_error.h"

#include <QFileDialog>
#include <QMessageBox>

namespace orvex {

void MessageService::calcError(QWidget* parent)
{
    show(parent,
        { QString::fromUtf8(kCalcErrorMessage), QStringLiteral("ERROR"), MsgIcon::Critical,
            MsgButtons::Ok });
}

MsgAnswer QtMessageService::show(QWidget* parent, const MessageRequest& request)
{
    QMessageBox box(parent);
    box.setText(request.text);
    box.setWindowTitle(request.title);
    switch (request.icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MsgIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }
    switch (request.buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return request.buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
}

MsgAnswer ScriptedMessageService::show(QWidget*, const MessageRequest& request)
{
    shown.push_back(request);
    if (!answers.empty()) {
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return request.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

QString QtFileDialogService::openFileName(
    QWidget* parent, const QString& caption, const QString& filter, const QString& startName)
{
    return QFileDialog::getOpenFileName(parent, caption, startName, filter);
}

QString QtFileDialogService::saveFileName(QWidget* parent, const QString& caption,
    const QString& filter, const QString& startName, const QString& defaultSuffix)
{
    // The dialog asks before overwriting an existing file (the suffix added).
    QFileDialog dialog(parent, caption, startName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtFileDialogService::openOrNewFileName(
    QWidget* parent, const QString& caption, const QString& filter, const QString& startName)
{
    QFileDialog dialog(parent, caption, startName, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // the folder must exist, the file need not
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString ScriptedFileDialogService::openFileName(
    QWidget*, const QString&, const QString& filter, const QString&)
{
    filters << filter;
    if (names.empty())
        return {};
    QString n = names.front();
    names.pop_front();
    return n;
}

QString ScriptedFileDialogService::saveFileName(QWidget* parent, const QString& caption,
    const QString& filter, const QString& startName, const QString& defaultSuffix)
{
    suffixes << defaultSuffix;
    return openFileName(parent, caption, filter, startName);
}

} // namespace orvex
