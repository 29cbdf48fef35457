#include "frmSettings.h"

#include "Prompts.h"
#include "MapRegions.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

namespace orvane {

frmSettings::frmSettings(MapRegions& regions, QWidget* parent)
    : QDialog(parent), m_regions(regions), m_txtURL(new QLineEdit(this)),
      m_txtFrame(new QLineEdit(this)), m_cmdOK(new QPushButton(QStringLiteral("&Ok"), this))
{
    setObjectName(QStringLiteral("frmSettings"));
    setWindowTitle(QStringLiteral("Map region settings"));
    m_txtURL->setObjectName(QStringLiteral("txtURL"));
    m_txtFrame->setObjectName(QStringLiteral("txtFrame"));
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setDefault(true);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("URL:"), m_txtURL);
    layout->addRow(QStringLiteral("ALT:"), m_txtFrame);
    layout->addRow(m_cmdOK);
    connect(m_cmdOK, &QPushButton::clicked, this, &frmSettings::cmdOK_Click);
}

void frmSettings::cmdOK_Click()
{
    if (m_txtURL->text().trimmed().isEmpty() || m_txtFrame->text().trimmed().isEmpty()) {
        prompts().beep();
        return;
    }
    m_regions.setNewestSettings(m_txtURL->text(), m_txtFrame->text());
    accept();
}

}  // namespace orvane
