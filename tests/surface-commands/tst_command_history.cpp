// The surface's one undo history (typing in bursts, commands, the paste
// route, keyboard undo in the page), the system clipboard, and the program's
// context menu.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QClipboard>
#include <QMimeData>

using namespace orvane;
using namespace orvane::test;

class tst_CommandHistory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void init() {
        loadBody(*s, "<P id=\"p\">one two</P>");
        caretAfterText(*s, "two");
    }

    // A burst of typing is one step, a pause starts the next; commands and
    // typing undo in order.
    void typingAndCommandsUndoInOrder() {
        typeText(*s, "ab");
        QTRY_COMPARE(paragraph(), QString("one twoab"));
        QTest::qWait(1200);
        typeText(*s, "cd");
        QTRY_COMPARE(paragraph(), QString("one twoabcd"));
        selectText(*s, "one");
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        caretAfterText(*s, "cd");
        s->ExecCommand(DECMD_INSERTTABLE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant::fromValue(TableParam{1, 2, {}, {}, {}}));
        QVERIFY(bodyHtml(*s).contains("<TABLE>"));

        s->ExecCommand(DECMD_UNDO);
        QVERIFY(!bodyHtml(*s).contains("<TABLE>"));
        QCOMPARE(paragraph(), QString("<b>one</b> twoabcd"));
        for (const char* back : {"one twoabcd", "one twoab", "one two"}) {
            s->ExecCommand(DECMD_UNDO);
            QCOMPARE(paragraph(), QString(back));
        }
        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_UNDO));
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(paragraph(), QString("one twoab"));
    }

    // The paste route is undoable, undo brings the selection back, a new
    // change drops what could be redone.
    void pasteUndoRedo() {
        selectText(*s, "one");
        s->DOM().selection().createRange().pasteHTML("<I>new</I>");
        QCOMPARE(paragraph(), QString("<i>new</i> two"));
        selectText(*s, "two", true);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(paragraph(), QString("one two"));
        QCOMPARE(s->DOM().selection().createRange().text(), QString("one"));
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(paragraph(), QString("<i>new</i> two"));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(s->QueryStatus(DECMD_REDO), int(DECMDF_ENABLED));
        selectText(*s, "two");
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        QCOMPARE(s->QueryStatus(DECMD_REDO), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_REDO));
    }

    // Control+Z and Control+Y in the page use the surface's history, which
    // brings back the very nodes and keeps marks set after the change.
    void keyboardUndoKeepsNodesAndMarks() {
        pageScript(*s, "window.keptText = document.querySelector('#p').firstChild; return 1;");
        selectText(*s, "one");
        s->ExecCommand(DECMD_UNDERLINE, OLECMDEXECOPT_DONTPROMPTUSER);
        pageScript(*s, "document.querySelector('#p').setAttribute('data-orv-mark', 'x'); return 1;");
        s->setFocus();
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("one two"));
        QVERIFY(pageScript(*s, "return document.querySelector('#p').firstChild === window.keptText;").toBool());
        QCOMPARE(pageScript(*s, "return document.querySelector('#p').getAttribute('data-orv-mark');").toString(),
                 QString("x"));
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("<u>one</u> two"));
    }

    void copyPasteAndSelectAll() {
        const QString table = "<TABLE><TBODY><TR><TD>four</TD></TR></TBODY></TABLE>";
        loadBody(*s, "<P>one <B>two</B> three</P>" + table);
        selectText(*s, "two");
        s->ExecCommand(DECMD_COPY);
        QCOMPARE(QGuiApplication::clipboard()->mimeData()->text(), QString("two"));
        caretAfterText(*s, "three");
        QCOMPARE(s->QueryStatus(DECMD_COPY), int(DECMDF_DISABLED));
        s->ExecCommand(DECMD_PASTE);
        QCOMPARE(bodyHtml(*s), "<P>one <B>two</B> three<B>two</B></P>" + table);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), "<P>one <B>two</B> three</P>" + table);

        s->ExecCommand(DECMD_SELECTALL);
        QCOMPARE(pageScript(*s, "return getSelection().toString();").toString().simplified(),
                 QString("one two three four"));

        QGuiApplication::clipboard()->clear();
        QCOMPARE(s->QueryStatus(DECMD_PASTE), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_PASTE));
    }

    void readOnlySurfaceCopiesButDoesNotEdit() {
        Surface preview(Surface::Mode::Browse);
        showAndSettle(preview);
        loadBody(preview, "<P>look only</P>");
        selectText(preview, "only");
        QCOMPARE(preview.QueryStatus(DECMD_BOLD), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, preview.ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER));
        preview.ExecCommand(DECMD_COPY);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("only"));
    }

    // A right click asks for the menu where it happened; with no answer no menu shows.
    void rightClickAsksForMenu() {
        QSignalSpy asked(s.get(), &Surface::ShowContextMenu);
        QTest::mouseClick(s->view()->focusProxy(), Qt::RightButton, {}, QPoint(40, 20));
        QVERIFY(asked.wait(3000));
        QCOMPARE(QPoint(asked.at(0).value(0).toInt(), asked.at(0).value(1).toInt()), QPoint(40, 20));
        QTest::qWait(100);
        QVERIFY(!QApplication::activePopupWidget());
    }

private:
    QString paragraph() { return pageScript(*s, "return document.querySelector('p').innerHTML;").toString(); }
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_CommandHistory)
#include "tst_command_history.moc"
