// The View tab of the real window: a saved, unchanged local HTML page is
// previewed by loading its own file, as a browser opening it would; any other
// page shows the editor's text, its links resolving against the page's place.

#include "DocumentLifecycle.h"
#include "MainWindowParts.h"
#include "ScriptedPrompts.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"
#include "WindowFixture.h"

#include <QWebEnginePage>
#include <QWebEngineView>

using namespace orvane;
using namespace orvane::test;

class tst_Preview : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { qApp->setQuitOnLastWindowClosed(false); }
    void previewLoadsTheFileOnlyWhenItIsThePage_data();
    void previewLoadsTheFileOnlyWhenItIsThePage();
};

void tst_Preview::previewLoadsTheFileOnlyWhenItIsThePage_data()
{
    QTest::addColumn<QString>("name");      // empty: the window's first, new page
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("edited");       // a word made bold before the preview
    QTest::addColumn<bool>("fileLoaded");
    const QByteArray ascii = "<html><head><title>t</title></head>\r\n<body><p>some words here</p></body></html>\r\n";
    QTest::newRow("unchanged html file") << "page.htm" << ascii << false << true;
    QTest::newRow("unchanged file with an upper-case .HTML") << "PAGE.HTML" << ascii << false << true;
    QTest::newRow("declared utf-8 with accents")
        << "page.html" << QByteArray("<html><head><meta charset=\"utf-8\"></head><body><p>some words, caf\xC3\xA9</p></body></html>")
        << false << true;
    QTest::newRow("undeclared utf-8 with accents: a browser may read it otherwise")
        << "page.htm" << QByteArray("<html><body><p>some words, caf\xC3\xA9</p></body></html>") << false << false;
    QTest::newRow("asp page: a browser would not show it as a page")
        << "page.asp" << QByteArray("<html><body><p>some words <%= Now() %></p></body></html>") << false << false;
    QTest::newRow("modified page, then saved") << "page.htm" << ascii << true << false;
    QTest::newRow("new page") << QString() << QByteArray() << false << false;
}

void tst_Preview::previewLoadsTheFileOnlyWhenItIsThePage()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, edited);
    QFETCH(bool, fileLoaded);
    ScriptedPrompts prompts;
    TempSite site;
    WindowFixture fx;
    mainFrm& w = *fx.window;
    const QString file = name.isEmpty() ? QString() : site.write(name, bytes);
    if (!file.isEmpty())
        w.parts()->lifecycle().openAtStart(file);
    if (edited) {
        selectText(*fx.surface, QStringLiteral("words"));
        fx.surface->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
    }
    auto preview = [&](bool fromFile) {
        fx.clickTab(1);
        fx.clickTab(2);
        QCOMPARE(fx.frontFrame(), 2);
        Surface& view = *w.DHTMLEdit2();
        const QUrl url = view.view()->page()->url();
        QVERIFY2((url == QUrl::fromLocalFile(file)) == fromFile, qPrintable(url.toString()));
        if (file.isEmpty())
            return;
        // Relative links resolve against the page's own place either way.
        QCOMPARE(pageScript(view, QStringLiteral("return document.baseURI;")).toString(),
                 QUrl::fromLocalFile(file).toString());
        const QString shown = pageScript(view, QStringLiteral("return document.body.innerHTML;")).toString();
        QVERIFY2(shown.contains(edited ? "<b>words</b>" : "words"), qPrintable(shown));
    };
    preview(fileLoaded);
    if (edited) {
        QVERIFY(w.parts()->lifecycle().SaveCurrentDocument(false));
        QVERIFY(!w.document().isModified());
        preview(true);
    }
    QVERIFY2(prompts.unexpected().isEmpty(), qPrintable(prompts.unexpected().join("; ")));
}

ORVANE_TEST_MAIN(tst_Preview)
#include "tst_preview.moc"
