#include "IlibFrm.h"

#include "LibraryFiles.h"
#include "ProgramFolder.h"
#include "SlibFrm.h"
#include "SourcePane.h"
#include "Surface.h"
#include "mainFrm.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace orvane {

IlibFrm::IlibFrm(mainFrm* editor) : QDialog(editor), m_editor(editor)
{
    setObjectName(QStringLiteral("IlibFrm"));
    setWindowTitle(QStringLiteral("Image Library"));
    resize(640, 420);

    m_File1 = new QListWidget(this);
    m_File1->setObjectName(QStringLiteral("File1"));
    m_Picture1 = new QLabel(this);
    m_Picture1->setObjectName(QStringLiteral("Picture1"));
    m_Picture1->setAlignment(Qt::AlignCenter);
    m_Picture1->setFrameShape(QFrame::StyledPanel);
    m_Picture1->setMinimumSize(200, 200);
    m_Command2 = new QPushButton(QStringLiteral("&Insert Image"), this);
    m_Command2->setObjectName(QStringLiteral("Command2"));
    m_Command2->setAutoDefault(false);
    // Nothing to insert until an image is chosen.
    m_Command2->setEnabled(false);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_File1, 0, 0);
    layout->addWidget(m_Command2, 1, 0);
    layout->addWidget(m_Picture1, 0, 1, 2, 1);
    layout->setColumnStretch(1, 2);
    layout->setColumnStretch(0, 1);

    // The chosen file is the selected one: the keyboard focus alone makes an
    // item current without choosing it.
    connect(m_File1, &QListWidget::itemSelectionChanged, this,
            [this] { File1_Click(chosenItem(m_File1)); });
    connect(m_File1, &QListWidget::itemActivated, this, &IlibFrm::Command2_Click);
    connect(m_Command2, &QPushButton::clicked, this, &IlibFrm::Command2_Click);
    Form_Load();
}

void IlibFrm::display(mainFrm* editor)
{
    IlibFrm window(editor);
    window.exec();
}

void IlibFrm::Form_Load()
{
    fillLibraryList(m_File1, listLibrary(libraryFolders(kImageLibrary)));
}

// A file that is not a picture leaves the previous preview in place.
void IlibFrm::File1_Click(QListWidgetItem* item)
{
    m_Command2->setEnabled(item != nullptr);
    QPixmap picture;
    if (!item || !picture.load(libraryPath(item)))
        return;
    m_picture = picture;
    showPreview();
}

// Large pictures are shrunk to the box; small ones keep their own size.
void IlibFrm::showPreview()
{
    if (m_picture.isNull())
        return;
    const QSize box = m_Picture1->contentsRect().size();
    const bool fits = m_picture.width() <= box.width() && m_picture.height() <= box.height();
    m_Picture1->setPixmap(fits ? m_picture
                               : m_picture.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void IlibFrm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    showPreview();
}

// Source mode replaces the source selection; Edit mode pastes at the design
// surface's selection. A failing paste is skipped; the window closes either way.
void IlibFrm::Command2_Click()
{
    const QString path = libraryPath(chosenItem(m_File1));
    if (path.isEmpty())
        return;
    const QString tag = imageTag(path);
    if (m_editor->isSourceMode()) {
        m_editor->rch()->setSelText(tag);
    } else {
        try {
            m_editor->DHTMLEdit1()->DOM().selection().createRange().pasteHTML(tag);
        } catch (const SurfaceError&) {
        }
    }
    accept();
}

}  // namespace orvane
