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
    void previewLoadsTheFileOnlyWhenItIsThePage_data()
    {
        QTest::addColumn<QString>("name");  // empty: the window's first, new page
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("fileLoaded");  // "modified page" is then saved: its file is loaded
        const QByteArray ascii = "<html><head><title>t</title></head>\r\n<body><p>some words</p></body></html>\r\n";
        QTest::newRow("unchanged html file") << "PAGE.HTML" << ascii << true;
        QTest::newRow("declared utf-8") << "a.htm" << QByteArray("<meta charset=utf-8><p>some words, caf\xC3\xA9") << true;
        QTest::newRow("utf-8 byte order mark") << "a.htm" << QByteArray("\xEF\xBB\xBF<p>some words, caf\xC3\xA9") << true;
        QTest::newRow("undeclared utf-8") << "a.htm" << QByteArray("<p>some words, caf\xC3\xA9") << false;
        QTest::newRow("asp page") << "a.asp" << QByteArray("<p>some words <%= Now() %>") << false;
        QTest::newRow("modified page") << "page.htm" << ascii << false;
        QTest::newRow("new page") << QString() << QByteArray() << false;
    }
    void previewLoadsTheFileOnlyWhenItIsThePage()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, fileLoaded);
        ScriptedPrompts prompts;
        TempSite site;
        WindowFixture fx;
        DocumentLifecycle& life = fx.window->parts()->lifecycle();
        const QString file = name.isEmpty() ? QString() : site.write(name, bytes);
        const bool edited = QTest::currentDataTag() == QLatin1String("modified page");
        if (!file.isEmpty())
            life.openAtStart(file);
        if (edited) {
            selectText(*fx.surface, QStringLiteral("words"));
            fx.surface->ExecCommand(DECMD_BOLD, OLECMDEXECOPT_DONTPROMPTUSER);
        }
        for (bool fromFile : {fileLoaded, true}) {
            fx.clickTab(1);
            fx.clickTab(2);
            Surface& view = *fx.window->DHTMLEdit2();
            const QUrl url = view.view()->page()->url();
            QVERIFY2((url == QUrl::fromLocalFile(file)) == fromFile, qPrintable(url.toString()));
            if (file.isEmpty())
                break;
            QCOMPARE(pageScript(view, "return document.baseURI;").toString(), QUrl::fromLocalFile(file).toString());
            const QString shown = pageScript(view, "return document.body.innerHTML;").toString();
            QVERIFY2(shown.contains(edited ? "<b>words</b>" : "words"), qPrintable(shown));
            if (!edited)
                break;
            QVERIFY(life.SaveCurrentDocument(false));  // now the page is the file
        }
        QVERIFY2(prompts.unexpected().isEmpty(), qPrintable(prompts.unexpected().join("; ")));
    }
};

ORVANE_TEST_MAIN(tst_Preview)
#include "tst_preview.moc"
