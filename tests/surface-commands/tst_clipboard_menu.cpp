// Cut, copy and paste through the system clipboard, select all, and the
// program's context menu.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QClipboard>
#include <QMenu>
#include <QMimeData>

using namespace orvane;
using namespace orvane::test;

class tst_ClipboardMenu : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void copyThenPasteRoundTrip()
    {
        loadBody(*s, "<P>one <B>two</B> three</P>");
        selectText(*s, "two");
        s->ExecCommand(DECMD_COPY);
        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QCOMPARE(mime->text(), QString("two"));
        QVERIFY(mime->html().contains("two"));
        QCOMPARE(bodyHtml(*s), QString("<P>one <B>two</B> three</P>"));   // copy changes nothing

        caretAfterText(*s, "three");
        s->ExecCommand(DECMD_PASTE);
        QCOMPARE(bodyHtml(*s), QString("<P>one <B>two</B> three<B>two</B></P>"));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(bodyHtml(*s), QString("<P>one <B>two</B> three</P>"));
    }

    void pasteOfPlainTextIsEscaped()
    {
        loadBody(*s, "<P>x</P>");
        QGuiApplication::clipboard()->setText("a<b>&c\nnext");
        selectText(*s, "x");
        s->ExecCommand(DECMD_PASTE);
        QCOMPARE(pageScript(*s, "return document.body.innerText;").toString().simplified(), QString("a<b>&c next"));
        QVERIFY(!bodyHtml(*s).contains("<B>"));
    }

    void pasteStatusFollowsClipboard()
    {
        loadBody(*s, "<P>x</P>");
        selectText(*s, "x", true);
        QGuiApplication::clipboard()->clear();
        QCOMPARE(s->QueryStatus(DECMD_PASTE), int(DECMDF_DISABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_PASTE));
        QGuiApplication::clipboard()->setText("t");
        QCOMPARE(s->QueryStatus(DECMD_PASTE), int(DECMDF_ENABLED));
    }

    void selectAllSelectsPage()
    {
        loadBody(*s, "<P>one</P><TABLE><TR><TD>two</TD></TR></TABLE><P>three</P>");
        selectText(*s, "one", true);
        QCOMPARE(s->QueryStatus(DECMD_COPY), int(DECMDF_DISABLED));
        s->ExecCommand(DECMD_SELECTALL);
        QCOMPARE(pageScript(*s, "return getSelection().toString();").toString().simplified(), QString("one two three"));
        QCOMPARE(s->QueryStatus(DECMD_COPY), int(DECMDF_ENABLED));
    }

    void readOnlySurfaceCopiesButDoesNotEdit()
    {
        Surface preview(Surface::Mode::Browse);
        showAndSettle(preview);
        loadBody(preview, "<P>look only</P>");
        selectText(preview, "only");
        QCOMPARE(preview.QueryStatus(DECMD_BOLD), int(DECMDF_DISABLED));
        QCOMPARE(preview.QueryStatus(DECMD_COPY), int(DECMDF_ENABLED));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, preview.ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER));
        preview.ExecCommand(DECMD_COPY);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("only"));
    }

    void rightClickAsksAndShowsMenu()
    {
        loadBody(*s, "<P>text to click</P>");
        QSignalSpy asked(s.get(), &Surface::ShowContextMenu);
        QSignalSpy picked(s.get(), &Surface::ContextMenuAction);
        auto answer = connect(s.get(), &Surface::ShowContextMenu, this, [this] {
            s->SetContextMenu({"Cut", "Copy", "", "Paste"}, {2, 0, 0, 0});
        });
        emit s->view()->customContextMenuRequested(QPoint(30, 15));
        QTRY_COMPARE(asked.size(), 1);  // once the page's state there is known
        disconnect(answer);
        QCOMPARE(asked.at(0).value(0).toInt(), 30);
        QCOMPARE(asked.at(0).value(1).toInt(), 15);

        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        const QList<QAction*> actions = menu->actions();
        QCOMPARE(actions.size(), 4);
        QVERIFY(!actions.at(0)->isEnabled());
        QVERIFY(actions.at(1)->isEnabled());
        QVERIFY(actions.at(2)->isSeparator());
        QCOMPARE(menu->pos(), s->view()->mapToGlobal(QPoint(30, 15)));
        actions.at(3)->trigger();
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.at(0).value(0).toInt(), 3);
        menu->close();
    }

    void noAnswerShowsNoMenu()
    {
        QSignalSpy asked(s.get(), &Surface::ShowContextMenu);
        QTest::mouseClick(s->view()->focusProxy(), Qt::RightButton, {}, QPoint(40, 20));
        QVERIFY(asked.wait(3000));
        QCOMPARE(asked.at(0).value(0).toInt(), 40);
        QTest::qWait(100);
        QVERIFY(!QApplication::activePopupWidget());
    }

private:
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_ClipboardMenu)
#include "tst_clipboard_menu.moc"
