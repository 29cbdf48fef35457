#include "frmFtp.h"

#include "DesignLayout.h"

#include <QSettings>

namespace orvane {

namespace {
// ftp1 sits at Left 0, Top 120, Width 10095, Height 3615 twips.
constexpr QRect kControlDesign = pxRect(0, 120, 10095, 3615);
QPointer<frmFtp> s_instance;
const QString kSizeSetting = QStringLiteral("frmFtp/size");
const QString kPanesSetting = QStringLiteral("frmFtp/panes");
}  // namespace

frmFtp::frmFtp(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFtp"));
    setWindowTitle(QStringLiteral("Orvane FTP"));
    setModal(true);
    const QSize size(kControlDesign.right() + 1, kControlDesign.bottom() + 1);
    setMinimumSize(size);
    resize(size);
}

frmFtp* frmFtp::instance()
{
    return s_instance;
}

void frmFtp::display(QWidget* parent)
{
    if (!s_instance)
        s_instance = new frmFtp(parent);
    s_instance->exec();
    // Only now, with every handler of the control returned, is it safe to go.
    if (s_instance)
        s_instance->releaseControl();
}

void frmFtp::showEvent(QShowEvent* event)
{
    if (!m_ftp1) {
        m_ftp1 = new ftp::ftp(this);
        m_ftp1->setObjectName(QStringLiteral("ftp1"));
        // Never smaller than the control needs, so no button is cut off;
        // otherwise the size the user left it at.
        const QSize least = m_ftp1->minimumSizeHint() + QSize(0, kControlDesign.top());
        setMinimumSize(minimumSize().expandedTo(least));
        const QSettings settings(QStringLiteral("orvane"), QStringLiteral("orvane"));
        resize(settings.value(kSizeSetting, size()).toSize().expandedTo(minimumSize()));
        m_ftp1->restoreLayout(settings.value(kPanesSetting).toByteArray());
        placeControl();
        m_ftp1->show();
    }
    QDialog::showEvent(event);
}

void frmFtp::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeControl();
}

void frmFtp::placeControl()
{
    if (m_ftp1)
        m_ftp1->setGeometry(0, kControlDesign.top(), width(), height() - kControlDesign.top());
}

void frmFtp::releaseControl()
{
    if (m_ftp1) {
        QSettings settings(QStringLiteral("orvane"), QStringLiteral("orvane"));
        settings.setValue(kSizeSetting, size());
        settings.setValue(kPanesSetting, m_ftp1->saveLayout());
    }
    delete m_ftp1;
}

}  // namespace orvane
