#pragma once
// SlibFrm, "Script Libraries": the JavaScript snippets (File1) and the ASP
// snippets (File2), the user's files before the shipped ones; a click shows
// the file's text in Text1, read-only but selectable, for copying.

#include "LibraryFiles.h"

#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;

namespace orvane {

class SlibFrm : public QDialog {
    Q_OBJECT
public:
    explicit SlibFrm(QWidget* parent = nullptr);

    // Shows a fresh window modally; returns when the user closes it.
    static void display(QWidget* parent);

    QListWidget* File1() const { return m_File1; }
    QListWidget* File2() const { return m_File2; }
    QPlainTextEdit* Text1() const { return m_Text1; }

private:
    void Form_Load();
    void showSnippet(QListWidgetItem* item);

    QListWidget* m_File1 = nullptr;
    QListWidget* m_File2 = nullptr;
    QPlainTextEdit* m_Text1 = nullptr;
};

// Fills list with files, each item carrying its file's path.
void fillLibraryList(QListWidget* list, const QList<LibraryFile>& files);
// The path of a list item filled by fillLibraryList ("" for none).
QString libraryPath(const QListWidgetItem* item);
// The list's selected item, or nullptr.
QListWidgetItem* chosenItem(const QListWidget* list);

}  // namespace orvane
