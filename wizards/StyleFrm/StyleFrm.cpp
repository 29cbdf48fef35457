#include "StyleFrm.h"

#include "Prompts.h"
#include "SurfaceTypes.h"
#include "mainFrm.h"
#include "StyleClass.h"
#include "PageRewrite.h"
#include "WizardParts.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvane {

namespace {

const QString kErrorTitle = QStringLiteral("Orvane Error");

// An editable box showing initial, which is not among its entries.
QComboBox* comboBox(QWidget* parent, const char* name, const QString& initial,
                    const QStringList& entries)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->addItems(entries);
    box->setCurrentIndex(-1);
    box->setEditText(initial);
    return box;
}

QStringList marginEntries()
{
    QStringList entries;
    for (int px = -70; px <= 80; px += 10)
        entries << QStringLiteral("%1px").arg(px);
    return entries;
}

QStringList sizeEntries()
{
    QStringList entries;
    for (int px = 12; px <= 20; ++px)
        entries << QStringLiteral("%1px").arg(px);
    return entries;
}

}  // namespace

StyleFrm::StyleFrm(mainFrm& main) : QDialog(&main), m_main(main)
{
    setObjectName(QStringLiteral("StyleFrm"));
    setWindowTitle(QStringLiteral("Create a Style"));
    setModal(true);

    m_Text1 = new QLineEdit(this);
    m_Text1->setObjectName(QStringLiteral("Text1"));
    m_Combo4 = comboBox(this, "Combo4", QStringLiteral("-80px"), marginEntries());
    m_Combo1 = comboBox(this, "Combo1", QStringLiteral("Arial"),
                        {QStringLiteral("Courier"), QStringLiteral("Times Roman"),
                         QStringLiteral("Verdana"), QStringLiteral("Old English"),
                         QStringLiteral("Tahoma"), QStringLiteral("Futura")});
    m_Combo2 = comboBox(this, "Combo2", QStringLiteral("10px"), sizeEntries());
    m_Combo3 = comboBox(this, "Combo3", QStringLiteral("Black"),
                        {QStringLiteral("White"), QStringLiteral("Blue"), QStringLiteral("Red"),
                         QStringLiteral("Green"), QStringLiteral("Yellow"), QStringLiteral("Purple"),
                         QStringLiteral("silver"), QStringLiteral("Navy"),
                         QStringLiteral("Navajowhite"), QStringLiteral("Beige"),
                         QStringLiteral("Tomato")});

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Style Name:"), m_Text1);
    form->addRow(QStringLiteral("Margin Top:"), m_Combo4);
    form->addRow(QStringLiteral("Font Family:"), m_Combo1);
    form->addRow(QStringLiteral("Font Size:"), m_Combo2);
    form->addRow(QStringLiteral("Color:"), m_Combo3);

    const DialogButtons buttons = dialogButtons(this, "Command1", QStringLiteral("&Ok"), "Command2");
    connect(buttons.ok, &QPushButton::clicked, this, &StyleFrm::Command1_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons.row);
}

void StyleFrm::display(mainFrm& main)
{
    StyleFrm dialog(main);
    dialog.exec();
}

void StyleFrm::Command1_Click()
{
    if (m_Text1->text().isEmpty()) {
        prompts().messageBox(QLatin1String(kStyleNameMessage), MsgButtons::OK, MsgIcon::Critical,
                             kErrorTitle);
        m_Text1->setFocus();
        return;
    }
    const StyleClass style{.name = m_Text1->text(), .color = m_Combo3->currentText(),
                           .marginTop = m_Combo4->currentText(),
                           .fontFamily = m_Combo1->currentText(), .fontSize = m_Combo2->currentText()};
    const QString before = currentPageText(m_main);
    const std::optional<QString> after = withStyleClass(before, style);
    if (!after) {
        prompts().messageBox(QLatin1String(kNoHeadEndMessage), MsgButtons::OK,
                             MsgIcon::Information, kErrorTitle);
        reject();
        return;
    }
    // The dialog closes before the surface is reloaded from the new text.
    accept();
    try {
        rewritePage(m_main, before, *after);
    } catch (const SurfaceError& e) {
        // The source pane holds the new text; the surface could not take it.
        prompts().messageBox(QString::fromUtf8(e.what()), MsgButtons::OK, MsgIcon::Critical, kErrorTitle);
    }
}

}  // namespace orvane
