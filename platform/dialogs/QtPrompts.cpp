#include "QtPrompts.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

namespace orvane {

namespace {

QWidget* parentWindow()
{
    if (QWidget* w = QApplication::activeModalWidget())
        return w;
    return QApplication::activeWindow();
}

QString shownTitle(const QString& title)
{
    return title.isEmpty() ? QString::fromLatin1(applicationTitle()) : title;
}

FileAnswer runFileDialog(const FileRequest& request, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parentWindow(), request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    const QStringList filters = toQtFilter(request.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int index = qBound(1, request.filterIndex, int(filters.size()));
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    FileAnswer answer;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.accepted = true;
    answer.path = dialog.selectedFiles().first();
    answer.filterIndex = filters.isEmpty() ? 1 : int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return answer;
}

}  // namespace

InputAnswer QtPrompts::inputBox(const QString& prompt, const QString& title,
                                const QString& defaultText, InputEcho echo)
{
    bool ok = false;
    const QString text = QInputDialog::getText(
        parentWindow(), shownTitle(title), prompt,
        echo == InputEcho::Password ? QLineEdit::Password : QLineEdit::Normal, defaultText, &ok);
    return ok ? InputAnswer{true, text} : InputAnswer{false, QString()};
}

MsgResult QtPrompts::messageBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                                const QString& title)
{
    QMessageBox box(parentWindow());
    box.setWindowTitle(shownTitle(title));
    box.setText(text);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case MsgButtons::OK: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    }
    switch (box.exec()) {
    case QMessageBox::Ok: return MsgResult::OK;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return MsgResult::Cancel;
    }
}

void QtPrompts::beep() { QApplication::beep(); }

FileAnswer QtPrompts::openFile(const FileRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptOpen);
}

FileAnswer QtPrompts::saveFile(const FileRequest& request)
{
    return runFileDialog(request, QFileDialog::AcceptSave);
}

ColorAnswer QtPrompts::chooseColor(const QColor& initial, const QString& title)
{
    const QColor c = QColorDialog::getColor(initial, parentWindow(), title);
    return c.isValid() ? ColorAnswer{true, c} : ColorAnswer{false, initial};
}

}  // namespace orvane
