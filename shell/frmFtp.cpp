#include "frmFtp.h"

#include "FtpControlLibrary.h"
#include "Prompts.h"
#include "Twips.h"

#include <QSettings>

namespace orvane {

namespace {
// ftp1 sits at Left 0, Top 120, Width 10095, Height 3615 twips.
constexpr QRect kControlDesign = pxRect(0, 120, 10095, 3615);
QPointer<frmFtp> s_instance;
const QString kSizeSetting = QStringLiteral("frmFtp/size");
const QString kPanesSetting = QStringLiteral("frmFtp/panes");
}  // namespace

frmFtp::frmFtp(const FtpControlEntry& control, QWidget* parent) : QDialog(parent), m_control(control)
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
    QString error;
    const FtpControlEntry* control = ftpControlEntry(&error);
    if (!control) {
        prompts().messageBox(QStringLiteral("The FTP window cannot open: its control could not be "
                                            "loaded.\n%1").arg(error),
                             MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Orvane FTP"));
        return;
    }
    if (!s_instance)
        s_instance = new frmFtp(*control, parent);
    s_instance->exec();
    // Only now, with every handler of the control returned, is it safe to go.
    if (s_instance)
        s_instance->releaseControl();
}

void frmFtp::showEvent(QShowEvent* event)
{
    if (!m_ftp1) {
        m_ftp1 = m_control.create(this);
        m_ftp1->setObjectName(QStringLiteral("ftp1"));
        // Never smaller than the control needs, so no button is cut off;
        // otherwise the size the user left it at.
        const QSize least = m_ftp1->minimumSizeHint() + QSize(0, kControlDesign.top());
        setMinimumSize(minimumSize().expandedTo(least));
        const QSettings settings(QStringLiteral("orvane"), QStringLiteral("orvane"));
        resize(settings.value(kSizeSetting, size()).toSize().expandedTo(minimumSize()));
        m_control.restoreLayout(m_ftp1, settings.value(kPanesSetting).toByteArray());
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
        settings.setValue(kPanesSetting, m_control.saveLayout(m_ftp1));
    }
    delete m_ftp1;
}

}  // namespace orvane
