// The script and image library windows and the help window, opened from the
// real main window, over a program folder and user data location of the
// test's own; which files a library list shows, snippet text, the image tag,
// and the program's command line.
#include "TestMain.h"
#include "LibraryFiles.h"
#include "StartOptions.h"
#include "WindowFixture.h"
#include "WizardWindows.h"
#include "SurfaceTestSupport.h"
#include "IlibFrm.h"
#include "ProgramFolder.h"
#include "SlibFrm.h"
#include "helpFrm.h"
#include "ScriptedPrompts.h"

#include <QClipboard>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QWebEngineView>
#include <QtTest>

using namespace orvane;
using test::whenShown;

namespace {

QStringList names(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void clickItem(QListWidget* list, const QString& name) {
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable("not listed: " + name));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
}

QString title(helpFrm& w) { return w.DHTMLEdit1()->view()->title(); }

}  // namespace

class tst_Libraries : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
        setProgramFolder(m_program.path());
        m_program.write("javascript library/shared.js", "// shipped");
        m_program.write("javascript library/a.js", "// a");
        m_data.write(QDir(m_data.path()).relativeFilePath(user("javascript library/shared.js")), "// mine");
        m_program.write("asp library/one.asp", "<% Response.Write(1) %>");
        for (const auto& [name, colour] : {std::pair{"red", Qt::red}, std::pair{"blue", Qt::blue}}) {
            QImage picture(8, 8, QImage::Format_RGB32);
            picture.fill(colour);
            QVERIFY(picture.save(m_program.write(QStringLiteral("image library/%1.png").arg(name), {})));
        }
        m_program.write("image library/notes.txt", "not a picture");
        m_program.write("second.htm", "<TITLE>Second page</TITLE>2");
        m_editor = std::make_unique<test::WindowFixture>();
    }
    void init() { m_editor->setSourceMode(false); }
    void cleanupTestCase() { m_editor.reset(); setProgramFolder({}); }

    // Picking a file in one list shows its text and clears the other list's
    // choice; the user's file shadows the shipped one; the text can be
    // selected and copied but not changed.
    void scriptLibrary() {
        QStringList seen;
        whenShown<SlibFrm>({}, [&](SlibFrm& w) {
            seen << w.windowTitle() << names(w.File1()).join(',') << names(w.File2()).join(',');
            const auto pick = [&](QListWidget* list, const QString& file, QListWidget* other) {
                clickItem(list, file);
                QTest::keyClick(w.Text1(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClick(w.Text1(), Qt::Key_C, Qt::ControlModifier);
                QTest::keyClicks(w.Text1(), "typed");
                seen << w.Text1()->toPlainText() + "|" + QApplication::clipboard()->text() + "|"
                            + QString::number(other->selectedItems().size());
            };
            pick(w.File2(), "one.asp", w.File1());
            pick(w.File1(), "shared.js", w.File2());
            pick(w.File2(), "one.asp", w.File1());
        });
        m_editor->clickMenuItem("S");
        const QString asp = "<% Response.Write(1) %>|<% Response.Write(1) %>|0";
        QCOMPARE(seen, (QStringList{"Script Libraries", "shared.js,a.js", "one.asp", asp, "// mine|// mine|0", asp}));
        QVERIFY(QFileInfo(user("asp library")).isDir());  // made empty on first use
    }

    void insertImage_data() {
        // Source mode: the text after inserting over "ab" selected in "<P>ab</P>".
        // Edit mode: the page's "b" replaced with the image.
        QTest::addColumn<bool>("sourceMode");
        QTest::addColumn<QString>("expected");
        const QString folder = m_program.path("image library/");
        QTest::newRow("Source mode, over the selection") << true << "<P><img src='" + folder + "red.png'></P>";
        QTest::newRow("Edit mode") << false << QString("[1,\"%1red.png\",\"a\"]").arg(folder);
    }

    // "&Insert Image" with nothing chosen inserts nothing and keeps the window; a
    // file that is not a picture leaves the previous preview; a chosen picture is
    // inserted and the window closes.
    void insertImage() {
        QFETCH(bool, sourceMode);
        QFETCH(QString, expected);
        m_editor->surface->setDocumentHTML("<HTML><BODY><P>ab</P></BODY></HTML>");
        if (sourceMode) {
            m_editor->rch->setText("<P>ab</P>");
            m_editor->setSourceMode(true);
            m_editor->rch->setSelStart(3);
            m_editor->rch->setSelLength(2);
        } else {
            test::selectText(*m_editor->surface, "b");
        }
        QList<QRgb> previews;
        bool openAfterNothing = false, closed = false;
        whenShown<IlibFrm>({}, [&](IlibFrm& w) {
            QTest::mouseClick(w.Command2(), Qt::LeftButton);
            QTest::keyClick(w.File1(), Qt::Key_Return);
            openAfterNothing = w.isVisible();
            for (const char* name : {"blue.png", "notes.txt", "red.png"}) {
                clickItem(w.File1(), name);
                previews << (w.Picture1()->pixmap().isNull() ? 0 : w.Picture1()->pixmap().toImage().pixel(0, 0));
            }
            QTest::mouseClick(w.Command2(), Qt::LeftButton);
            closed = !w.isVisible();
        });
        m_editor->clickMenuItem("L");
        QVERIFY(openAfterNothing && closed);
        QCOMPARE(previews, (QList<QRgb>{QColor(Qt::blue).rgb(), QColor(Qt::blue).rgb(), QColor(Qt::red).rgb()}));
        QCOMPARE(m_editor->window->isSourceMode(), sourceMode);
        QCOMPARE(sourceMode ? m_editor->rch->Text()
                            : test::pageScript(*m_editor->surface,
                                  "return JSON.stringify([document.images.length, document.images[0] && "
                                  "document.images[0].getAttribute('src'), document.body.textContent]);")
                                  .toString(),
                 expected);
    }

    // Help opens from its header, reading its page afresh each time, with the
    // mode and the open panel left as they were; a link is followed inside the
    // window and Escape closes it. A page that cannot be read shows a message in
    // the window and asks nothing; in the shipped page every link has its
    // target and every picture loads.
    void help() {
        m_editor->setSourceMode(true);
        QTest::mouseClick(m_editor->menuBar->header("Label_asp"), Qt::LeftButton);
        QTemporaryDir empty;
        ScriptedPrompts prompts;
        const QString missing = "return document.body.innerText.includes('The help page could not be opened.') && "
                                "document.body.innerText.includes(" + test::quoted(empty.filePath("help.htm")) + ");";
        const QString broken = "return [...document.querySelectorAll('a[href^=\"#\"]')]"
                               " .filter(a => !document.getElementById(a.getAttribute('href').slice(1)))"
                               " .map(a => a.getAttribute('href')).concat("
                               " [...document.images].filter(i => !i.naturalWidth).map(i => i.getAttribute('src')))"
                               " .join(' ');";
        QStringList seen;
        int opened = 0;
        for (const QString& folder : {m_program.path(), m_program.path(), empty.path(), QStringLiteral(ORVANE_RESOURCES)}) {
            setProgramFolder(folder);
            m_program.write("help.htm", QString("<TITLE>Help %1</TITLE><A id=next href=second.htm>on</A>").arg(++opened).toUtf8());
            openHelp([&](helpFrm& w) {
                Surface& page = *w.DHTMLEdit1();
                QTest::qWaitFor([&] { return test::pageScript(page, "return [...document.images].every(i => i.complete);").toBool(); });
                if (folder == empty.path())
                    return void(seen << test::pageScript(page, missing).toString());
                seen << w.windowTitle() + "|" + title(w) + "|" + test::pageScript(page, broken).toString();
                if (folder != m_program.path())
                    return;
                test::pageScript(page, "setTimeout(() => document.getElementById('next').click()); return 1;");
                QTest::qWaitFor([&] { return title(w) == "Second page"; });
                w.activateWindow();
                QTest::keyClick(page.view()->focusProxy(), Qt::Key_Escape);
                seen << title(w) + (w.isVisible() ? " open after Escape" : " closed");
            });
        }
        setProgramFolder(m_program.path());
        QCOMPARE(seen, (QStringList{"Orvane - Help|Help 1|", "Second page closed", "Orvane - Help|Help 2|",
                                    "Second page closed", "true", "Orvane - Help|Orvane Editor - Help|"}));
        QCOMPARE(prompts.asked().size(), 0);
        QVERIFY(m_editor->window->isSourceMode());
        QWidget* panel = m_editor->menuBar->panel("Picture_asp");
        QVERIFY(panel->isVisible());
        panel->hide();
    }

    void listsUserFilesFirst_data() {
        // Files as "u:NAME" (the user's folder) or "s:NAME" (shipped); "s:NAME/"
        // is a sub-folder. A folder with no entry does not exist.
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("user's first, a name in both shows the user's")
            << QStringList{"u:b.js", "u:a.js", "s:a.js", "s:c.js"}
            << QStringList{"u:a.js", "u:b.js", "s:c.js"};
        QTest::newRow("by name in any letter case") << QStringList{"s:b.js", "s:A.js"}
                                                    << QStringList{"s:A.js", "s:b.js"};
        QTest::newRow("missing folders") << QStringList{} << QStringList{};
        QTest::newRow("sub-folders left out, spaces kept")
            << QStringList{"s:old/", "s:my check.js"} << QStringList{"s:my check.js"};
    }

    void listsUserFilesFirst() {
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        QTemporaryDir root;
        for (const QString& f : files) {
            const QString path = root.filePath(f.left(1) + '/' + f.mid(2));
            QDir().mkpath(f.endsWith('/') ? path : QFileInfo(path).path());
            QFile file(path);
            QVERIFY(f.endsWith('/') || file.open(QIODevice::WriteOnly));
        }
        QStringList got;
        for (const LibraryFile& f : listLibrary({root.filePath("u"), root.filePath("s")}))
            got << QDir(root.path()).relativeFilePath(f.path).replace('/', ':');
        QCOMPARE(got, expected);
    }

    void texts_data() {
        QTest::addColumn<bool>("tag");  // the image tag for the path, else the snippet text of the bytes
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("UTF-8, byte order mark dropped, CR LF kept") << false
            << QByteArray("\xef\xbb\xbf" "caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d\r\n") << QString::fromUtf16(u"café “q”\r\n");
        QTest::newRow("Windows-1252") << false << QByteArray("caf\xe9 \x93q\x94 \x80") << QString::fromUtf16(u"café “q” €");
        QTest::newRow("UTF-8 cut off at the end") << false << QByteArray("ok \xc3") << QString::fromUtf16(u"ok Ã");
        QTest::newRow("tag, quote") << true << QByteArray("/o/it's.png") << "<img src='/o/it%27s.png'>";
        QTest::newRow("tag, percent, ampersand") << true << QByteArray("/o/1%27&amp.png") << "<img src='/o/1%2527&amp;amp.png'>";
    }

    void texts() {
        QFETCH(bool, tag);
        QFETCH(QByteArray, input);
        QFETCH(QString, expected);
        QCOMPARE(tag ? imageTag(QString::fromUtf8(input)) : snippetText(input), expected);
    }

    void startOptions_data() {
        // Expected: what was read, as "help", "version", "page=", "ignored=", "shot=", "error".
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("-h -v") << QStringList{"-h", "-v"} << "help version";
        QTest::newRow("several pages") << QStringList{"a.htm", "b.htm", "c d.asp"}
                                       << "page=a.htm ignored=b.htm|c d.asp";
        QTest::newRow("screenshot") << QStringList{"--screenshot", "s.png", "a.htm"}
                                    << "page=a.htm shot=s.png";
        QTest::newRow("unknown option") << QStringList{"--bogus", "a.htm"} << "error";
        QTest::newRow("pages after --") << QStringList{"--", "-x.htm", "--help"}
                                        << "page=-x.htm ignored=--help";
    }

    void startOptions() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const StartOptions o = parseStartOptions(QStringList{"orvane"} + arguments);
        QStringList got;
        got << (o.help ? "help" : "") << (o.version ? "version" : "")
            << (o.page.isEmpty() ? "" : "page=" + o.page)
            << (o.ignored.isEmpty() ? "" : "ignored=" + o.ignored.join('|'))
            << (o.screenshot.isEmpty() ? "" : "shot=" + o.screenshot) << (o.error.isEmpty() ? "" : "error");
        got.removeAll(QString());
        QCOMPARE(got.join(' '), expected);
        const QString note = onePageNote(o);  // names each page left out
        QCOMPARE(note.isEmpty(), o.ignored.isEmpty());
        for (const QString& left : o.ignored)
            QVERIFY2(note.contains(left), qPrintable(note));
    }

private:
    // A file in the user's data location.
    QString user(const QString& rel) const { return QDir(userLibraryRoot()).filePath(rel); }
    // Opens help from its header and runs step in the window, which then closes.
    void openHelp(std::function<void(helpFrm&)> step) {
        whenShown<helpFrm>({}, [step](helpFrm& w) { step(w); w.reject(); });
        QTest::mouseMove(m_editor->menuBar->header("Label_help"));
        QTest::mouseClick(m_editor->menuBar->header("Label_help"), Qt::LeftButton);
    }

    test::TempSite m_program, m_data;  // the program folder, the user's data home
    std::unique_ptr<test::WindowFixture> m_editor;
};


ORVANE_TEST_MAIN(tst_Libraries)
#include "tst_libraries.moc"
