// The surface's one undo history: typing in bursts, commands, the paste
// route, keyboard undo in the page, and the nodes and marks it restores.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

using namespace orvane;
using namespace orvane::test;

class tst_CommandHistory : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void init()
    {
        loadBody(*s, "<P id=\"p\">one two</P>");
        caretAfterText(*s, "two");
    }

    // A burst of typing is one step; a pause starts the next.
    void typingBurstsAreSteps()
    {
        typeText(*s, "ab");
        QTRY_COMPARE(paragraph(), QString("one twoab"));
        QTest::qWait(1200);
        typeText(*s, "cd");
        QTRY_COMPARE(paragraph(), QString("one twoabcd"));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(paragraph(), QString("one twoab"));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(paragraph(), QString("one two"));
        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_DISABLED));
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(paragraph(), QString("one twoab"));
    }

    void commandsAndTypingUndoInOrder()
    {
        typeText(*s, "xy");
        QTRY_COMPARE(paragraph(), QString("one twoxy"));
        selectText(*s, "one");
        s->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        caretAfterText(*s, "xy");
        s->ExecCommand(DECMD_INSERTTABLE, OLECMDEXECOPT_DONTPROMPTUSER, QVariant::fromValue(TableParam{1, 2, {}, {}, {}}));
        QVERIFY(bodyHtml(*s).contains("<TABLE>"));

        s->ExecCommand(DECMD_UNDO);
        QVERIFY(!bodyHtml(*s).contains("<TABLE>"));
        QCOMPARE(paragraph(), QString("<b>one</b> twoxy"));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(paragraph(), QString("one twoxy"));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(paragraph(), QString("one two"));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_UNDO));
    }

    // The paste route is undoable, undo brings the selection back, a new
    // change drops what could be redone.
    void pasteUndoRedo()
    {
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

    void controlZInPageUsesSurfaceHistory()
    {
        selectText(*s, "one");
        s->ExecCommand(DECMD_UNDERLINE, OLECMDEXECOPT_DONTPROMPTUSER);
        QCOMPARE(paragraph(), QString("<u>one</u> two"));
        s->setFocus();
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("one two"));
        QTest::keyClick(s->view()->focusProxy(), Qt::Key_Y, Qt::ControlModifier);
        QTRY_COMPARE(paragraph(), QString("<u>one</u> two"));
        QCOMPARE(s->QueryStatus(DECMD_UNDO), int(DECMDF_ENABLED));
    }

    void undoBringsBackSameNodesAndKeepsMarks()
    {
        pageScript(*s, "window.keptText = document.querySelector('#p').firstChild; return 1;");
        selectText(*s, "two");
        s->ExecCommand(DECMD_ITALIC, OLECMDEXECOPT_DONTPROMPTUSER);
        // A mark the fidelity layer might set after the change.
        pageScript(*s, "document.querySelector('#p').setAttribute('data-orv-mark', 'x'); return 1;");
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(paragraph(), QString("one two"));
        QCOMPARE(pageScript(*s, "return document.querySelector('#p').firstChild === window.keptText;").toBool(), true);
        QCOMPARE(pageScript(*s, "return document.querySelector('#p').getAttribute('data-orv-mark');").toString(),
                 QString("x"));
    }

    void undoingEveryEditGivesBackPageText()
    {
        // The fidelity layer's change record follows the history: undoing every
        // edit leaves no element changed, so the page's own text comes back.
        loadBody(*s, "<P data-orv-id=\"0\">one <B data-orv-id=\"1\">two</B></P>"
                     "<TABLE data-orv-id=\"2\"><TBODY data-orv-id=\"3\"><TR data-orv-id=\"4\">"
                     "<TD data-orv-id=\"5\">x</TD></TR></TBODY></TABLE>");
        pageScript(*s, "orv.fidelity.init({parents: [-1, 0, -1, 2, 3, 4]}); return 1;");
        const QString changed = "return orv.fidelity.changed();";
        QCOMPARE(pageScript(*s, changed).toBool(), false);
        selectText(*s, "one");
        s->ExecCommand(DECMD_ITALIC, OLECMDEXECOPT_DONTPROMPTUSER);
        selectText(*s, "x", true);
        s->ExecCommand(DECMD_INSERTCOL);
        QCOMPARE(pageScript(*s, changed).toBool(), true);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(pageScript(*s, changed).toBool(), true);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(pageScript(*s, changed).toBool(), false);
        s->ExecCommand(DECMD_REDO);
        QCOMPARE(pageScript(*s, changed).toBool(), true);
    }

private:
    QString paragraph() { return pageScript(*s, "return document.querySelector('p').innerHTML;").toString(); }
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_CommandHistory)
#include "tst_command_history.moc"
