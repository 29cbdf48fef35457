// Saves a picture of the main window with the Format panel open and "Bold"
// under the pointer, taken from the screen (so a real X server's composition
// of the panel over the design surface is what is seen):
//
//   xvfb-run -s "-screen 0 1280x800x24" build/tests/menus/grab_open_menu FILE.png

#include "platform/surface/Surface.h"
#include "shell/mainFrm.h"
#include "shell/menubar/MenuBar.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTest>
#include <QTimer>

int main(int argc, char* argv[])
{
    orvane::Surface::prepareApplication();
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_open_menu FILE.png\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);

    mainFrm window;
    window.move(0, 0);
    window.show();
    window.DHTMLEdit1()->setDocumentHTML(QStringLiteral(
        "<HTML><BODY><H2>Orvane Editor</H2><P>Some <B>bold</B> and <I>italic</I> text, "
        "a <A HREF=\"x.htm\">link</A> and a table:</P>"
        "<TABLE BORDER=1><TR><TD>one</TD><TD>two</TD></TR><TR><TD>three</TD><TD>four</TD></TR>"
        "</TABLE></BODY></HTML>"));
    QTest::qWait(800);
    orvane::MenuBar* bar = window.menuBar();
    QTest::mouseMove(bar->header(QStringLiteral("Label_format")));
    QTest::mouseClick(bar->header(QStringLiteral("Label_format")), Qt::LeftButton);
    QTest::mouseMove(bar->item(QStringLiteral("Label15")));
    QTest::qWait(500);
    const QPixmap shot = window.screen()->grabWindow(0, window.x(), window.y(),
                                                     window.frameGeometry().width(),
                                                     window.frameGeometry().height());
    return shot.save(path) ? 0 : 1;
}
