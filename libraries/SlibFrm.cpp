#include "SlibFrm.h"

#include "ProgramFolder.h"

#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace orvane {

void fillLibraryList(QListWidget* list, const QList<LibraryFile>& files)
{
    list->clear();
    for (const LibraryFile& file : files) {
        auto* item = new QListWidgetItem(file.name, list);
        item->setData(Qt::UserRole, file.path);
        item->setToolTip(file.path);
    }
}

QString libraryPath(const QListWidgetItem* item)
{
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QListWidgetItem* chosenItem(const QListWidget* list)
{
    const QList<QListWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

SlibFrm::SlibFrm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SlibFrm"));
    setWindowTitle(QStringLiteral("Script Libraries"));
    resize(760, 480);

    m_File1 = new QListWidget(this);
    m_File1->setObjectName(QStringLiteral("File1"));
    m_File1->setToolTip(QStringLiteral("JavaScript"));
    m_File2 = new QListWidget(this);
    m_File2->setObjectName(QStringLiteral("File2"));
    m_File2->setToolTip(QStringLiteral("ASP"));
    m_Text1 = new QPlainTextEdit(this);
    m_Text1->setObjectName(QStringLiteral("Text1"));
    m_Text1->setReadOnly(true);
    m_Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    auto* lists = new QVBoxLayout;
    lists->addWidget(m_File1);
    lists->addWidget(m_File2);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(m_Text1, 3);

    // A click or the keyboard moving through a list shows that file.
    for (QListWidget* list : {m_File1, m_File2})
        connect(list, &QListWidget::itemSelectionChanged, this,
                [this, list] { showSnippet(chosenItem(list)); });
    Form_Load();
}

void SlibFrm::display(QWidget* parent)
{
    SlibFrm window(parent);
    window.exec();
}

void SlibFrm::Form_Load()
{
    fillLibraryList(m_File1, listLibrary(libraryFolders(kJavaScriptLibrary)));
    fillLibraryList(m_File2, listLibrary(libraryFolders(kAspLibrary)));
}

// Unreadable files show nothing; the whole file is read and closed at once.
void SlibFrm::showSnippet(QListWidgetItem* item)
{
    if (!item)
        return;
    // One choice at a time across both lists.
    QListWidget* other = item->listWidget() == m_File1 ? m_File2 : m_File1;
    {
        const QSignalBlocker quiet(other);
        other->clearSelection();
    }
    QFile file(libraryPath(item));
    m_Text1->setPlainText(file.open(QIODevice::ReadOnly) ? snippetText(file.readAll()) : QString());
}

}  // namespace orvane
