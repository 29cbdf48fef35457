#include "tblfFrm.h"

#include "Prompts.h"
#include "SourcePane.h"
#include "Surface.h"
#include "mainFrm.h"
#include "WizardParts.h"
#include "TableText.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace orvane {

namespace {

QLineEdit* textBox(QWidget* parent, QGridLayout* grid, int row, const char* name,
                   const char* label, const QString& text)
{
    auto* caption = new QLabel(QLatin1String(label), parent);
    caption->setObjectName(QStringLiteral("Label%1").arg(row + 1));
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    caption->setBuddy(box);
    grid->addWidget(caption, row, 0);
    grid->addWidget(box, row, 1);
    return box;
}

}  // namespace

tblfFrm::tblfFrm(mainFrm& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("tblfFrm"));
    setWindowTitle(QStringLiteral("Table - format"));
    setModal(true);

    auto* grid = new QGridLayout;
    m_Text1 = textBox(this, grid, 0, "Text1", "Cols", QStringLiteral("2"));
    m_Text2 = textBox(this, grid, 1, "Text2", "Rows", QStringLiteral("2"));
    m_Text3 = textBox(this, grid, 2, "Text3", "Table Attributes",
                      QStringLiteral("Border=\"1\" Cellpadding=\"1\" Cellspacing=\"1\""));
    m_Text4 = textBox(this, grid, 3, "Text4", "Cell Attributes", QStringLiteral("valign=\"top\""));
    m_Text3->setMinimumWidth(fontMetrics().horizontalAdvance(m_Text3->text()) + 16);

    auto* pictures = new QVBoxLayout;
    pictures->addWidget(wizardPicture(this, "Image1", QStringLiteral("table.svg")));
    pictures->addWidget(wizardPicture(this, "Image2", QStringLiteral("colors.svg")));
    pictures->addStretch();

    const DialogButtons buttons = dialogButtons(this, "Command1", QStringLiteral("&Ok"), "Command2");
    connect(buttons.ok, &QPushButton::clicked, this, &tblfFrm::Command1_Click);

    auto* fields = new QVBoxLayout;
    fields->addLayout(grid);
    fields->addStretch();
    fields->addLayout(buttons.row);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(pictures);
    layout->addLayout(fields);
}

void tblfFrm::display(mainFrm& main)
{
    tblfFrm dialog(main);
    dialog.exec();
}

void tblfFrm::Command1_Click()
{
    const std::optional<int> cols = tableCount(m_Text1->text());
    const std::optional<int> rows = tableCount(m_Text2->text());
    if (!cols || !rows) {
        prompts().messageBox(QLatin1String(kTableCountMessage), MsgButtons::OK, MsgIcon::Critical,
                             QStringLiteral("Orvane Error"));
        (cols ? m_Text2 : m_Text1)->setFocus();
        return;
    }
    // The route follows the mode flag alone, whichever tab is in front.
    if (m_main.isSourceMode())
        m_main.rch()->setSelText(tableText(*rows, *cols, m_Text3->text(), m_Text4->text()));
    else if (!insertOnSurface(*rows, *cols))
        return;
    accept();
}

bool tblfFrm::insertOnSurface(int rows, int cols)
{
    const TableParam param{.NumRows = rows, .NumCols = cols,
                           .TableAttrs = m_Text3->text(), .CellAttrs = m_Text4->text()};
    try {
        m_main.DHTMLEdit1()->ExecCommand(DECMD_INSERTTABLE, OLECMDEXECOPT_DONTPROMPTUSER,
                                         QVariant::fromValue(param));
        return true;
    } catch (const SurfaceError&) {
        // The surface builds no empty table and none past its size limit, and
        // nothing where its selection cannot hold one: say so, keep the answers.
        prompts().messageBox(QStringLiteral("The design surface cannot insert a table of %1 rows "
                                            "and %2 columns here.").arg(rows).arg(cols),
                             MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Orvane Error"));
        return false;
    }
}

}  // namespace orvane
