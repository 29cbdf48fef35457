#include "helpFrm.h"

#include "ProgramFolder.h"
#include "Surface.h"

#include <QDir>
#include <QPointer>
#include <QShortcut>

namespace orvane {

namespace {
QPointer<helpFrm> s_instance;
}  // namespace

QString helpMissingPage(const QString& path)
{
    return QStringLiteral("<HTML><HEAD><TITLE>Orvane - Help</TITLE></HEAD><BODY>"
                          "<H3>The help page could not be opened.</H3>"
                          "<P>Orvane looked for it at <CODE>%1</CODE>. Reinstalling the "
                          "program puts it back.</P></BODY></HTML>")
        .arg(path.toHtmlEscaped());
}

helpFrm::helpFrm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("helpFrm"));
    setWindowTitle(QStringLiteral("Orvane - Help"));
    resize(820, 640);
    m_DHTMLEdit1 = new Surface(Surface::Mode::Browse, this);
    m_DHTMLEdit1->setObjectName(QStringLiteral("DHTMLEdit1"));
    // Escape closes the window as it closes any dialog, even with the page
    // holding the keyboard focus (the page does not pass Escape on).
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QDialog::reject);
}

helpFrm* helpFrm::instance()
{
    return s_instance;
}

void helpFrm::display(QWidget* parent)
{
    if (!s_instance)
        s_instance = new helpFrm(parent);
    s_instance->Form_Load();
    s_instance->exec();
}

void helpFrm::Form_Load()
{
    const QString path = QDir(programFolder()).filePath(kHelpPage);
    try {
        m_DHTMLEdit1->LoadDocument(path);
    } catch (const SurfaceError&) {
        try {
            m_DHTMLEdit1->setDocumentHTML(helpMissingPage(path));
        } catch (const SurfaceError&) {
            // The surface cannot show anything now; the window opens all the same.
        }
    }
}

void helpFrm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    m_DHTMLEdit1->setGeometry(rect());
}

}  // namespace orvane
