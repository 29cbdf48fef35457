#include "javaWiz.h"

#include "SourcePane.h"
#include "ScanFunctions.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace orvane {

namespace {
const QStringList kEvents = {"onmouseover", "onmouseout", "onclick",  "onsubmit", "onload",
                             "onunload",    "onblur",     "onselect", "onfocus",  "onmousedown"};

QString selectedEntry(const QListWidget* list)
{
    const QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}
}  // namespace

javaWiz::javaWiz(SourcePane& rch, QWidget* parent)
    : QDialog(parent), m_rch(rch), m_List2(new QListWidget(this)), m_List1(new QListWidget(this))
{
    setObjectName(QStringLiteral("javaWiz"));
    setWindowTitle(QStringLiteral("Events"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_List2->setObjectName(QStringLiteral("List2"));
    m_List1->setObjectName(QStringLiteral("List1"));
    m_List2->addItems(kEvents);
    m_List1->addItems(scanFunctions(rch.Text()));
    for (QListWidget* list : {m_List2, m_List1})
        list->setCurrentRow(-1);

    auto* Label3 = new QLabel(QStringLiteral("Step 4. Click Finish"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    auto* Command1 = new QPushButton(QStringLiteral("&Finish"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* Command2 = new QPushButton(QStringLiteral("&Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command1, &QPushButton::clicked, this, &javaWiz::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Step 2. Choose an Event"), this), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Step 3. Choose a Function"), this), 0, 1);
    layout->addWidget(m_List2, 1, 0);
    layout->addWidget(m_List1, 1, 1);
    layout->addWidget(Label3, 2, 0);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    layout->addLayout(buttons, 2, 1);
}

void javaWiz::display(SourcePane& rch, QWidget* parent) { (new javaWiz(rch, parent))->open(); }

void javaWiz::Command1_Click()
{
    m_rch.setSelText(u' ' + selectedEntry(m_List2) + QStringLiteral("='") + selectedEntry(m_List1)
                     + u'\'');
    close();
}

}  // namespace orvane
