// The script and image library windows and the help window, opened from the
// real main window, over a program folder and user data location of the
// test's own.
#include "TestMain.h"
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

QByteArray png(Qt::GlobalColor colour) {
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? buffer.data() : QByteArray();
}

QString title(helpFrm& w) { return w.DHTMLEdit1()->view()->title(); }

}  // namespace

class tst_LibraryWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_editor->setSourceMode(false); }
    void cleanupTestCase() { m_editor.reset(); setProgramFolder({}); }
    void scriptLibrary_data();
    void scriptLibrary();
    void insertImage_data();
    void insertImage();
    void helpOpensFromItsHeader();
    void missingAndShippedHelpPages();

private:
    // Writes a file under the program folder ("shipped") or the user's data location.
    void write(const QString& path, const QByteArray& bytes) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
    QString shipped(const QString& rel) const { return m_program.filePath(rel); }
    QString user(const QString& rel) const { return QDir(userLibraryRoot()).filePath(rel); }
    // Opens help from its header and runs step in the window, which then closes.
    void openHelp(std::function<void(helpFrm&)> step) {
        whenShown<helpFrm>({}, [step](helpFrm& w) { step(w); w.reject(); });
        QTest::mouseMove(m_editor->menuBar->header("Label_help"));
        QTest::mouseClick(m_editor->menuBar->header("Label_help"), Qt::LeftButton);
    }

    QTemporaryDir m_program, m_data;
    std::unique_ptr<test::WindowFixture> m_editor;
};

void tst_LibraryWindows::initTestCase() {
    qputenv("XDG_DATA_HOME", m_data.path().toLocal8Bit());
    setProgramFolder(m_program.path());
    write(shipped("javascript library/shared.js"), "// shipped");
    write(shipped("javascript library/utf8.js"), "caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d");
    write(shipped("javascript library/cp1252.js"), "caf\xe9 \x93q\x94");
    write(user("javascript library/shared.js"), "// mine");
    write(shipped("asp library/one.asp"), "<% Response.Write(1) %>");
    write(shipped("image library/red.png"), png(Qt::red));
    write(shipped("image library/blue.png"), png(Qt::blue));
    write(shipped("image library/it's.png"), png(Qt::green));
    write(shipped("image library/notes.txt"), "not a picture");
    write(shipped("second.htm"), "<TITLE>Second page</TITLE>2");
    m_editor = std::make_unique<test::WindowFixture>();
}

void tst_LibraryWindows::scriptLibrary_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTF-8") << "File1" << "utf8.js" << QString::fromUtf16(u"café “q”");
    QTest::newRow("Windows-1252") << "File1" << "cp1252.js" << QString::fromUtf16(u"café “q”");
    QTest::newRow("the user's file shadows") << "File1" << "shared.js" << "// mine";
    QTest::newRow("ASP") << "File2" << "one.asp" << "<% Response.Write(1) %>";
}

// Each row first shows a file of the other list, then the row's file; the
// text can be selected and copied but not changed.
void tst_LibraryWindows::scriptLibrary() {
    QFETCH(QString, list);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QStringList lists, shown;
    whenShown<SlibFrm>({}, [&](SlibFrm& w) {
        lists << w.windowTitle() << names(w.File1()).join(',') << names(w.File2()).join(',');
        QListWidget* target = w.findChild<QListWidget*>(list);
        QListWidget* other = target == w.File1() ? w.File2() : w.File1();
        clickItem(other, other->item(0)->text());
        clickItem(target, file);
        QTest::keyClick(w.Text1(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w.Text1(), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClicks(w.Text1(), "typed");
        shown << w.Text1()->toPlainText() << QApplication::clipboard()->text()
              << QString::number(other->selectedItems().size());
    });
    m_editor->clickMenuItem("S");
    QCOMPARE(lists, (QStringList{"Script Libraries", "shared.js,cp1252.js,utf8.js", "one.asp"}));
    QCOMPARE(shown, (QStringList{expected, expected, "0"}));
    QVERIFY(QFileInfo(user("asp library")).isDir());  // made empty on first use
}

void tst_LibraryWindows::insertImage_data() {
    // Source mode rows: the text after inserting at the selection of
    // "<P>ab</P>". The Edit mode row replaces the page's "b" with the image.
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    const QString folder = shipped("image library/");
    QTest::newRow("Source mode, over the selection") << true << 3 << 2 << "<P><img src='" + folder + "red.png'></P>";
    QTest::newRow("Edit mode") << false << 0 << 0 << QString("[1,\"%1red.png\",\"a\"]").arg(folder);
}

// "&Insert Image" with nothing chosen inserts nothing and keeps the window; a
// file that is not a picture leaves the previous preview; a chosen picture is
// inserted and the window closes.
void tst_LibraryWindows::insertImage() {
    QFETCH(bool, sourceMode);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    m_editor->surface->setDocumentHTML("<HTML><BODY><P>ab</P></BODY></HTML>");
    if (sourceMode) {
        m_editor->rch->setText("<P>ab</P>");
        m_editor->setSourceMode(true);
        m_editor->rch->setSelStart(selStart);
        m_editor->rch->setSelLength(selLength);
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

// Each opening reads the page afresh; a link is followed inside the window;
// Escape closes it; the open panel and the mode stay as they were.
void tst_LibraryWindows::helpOpensFromItsHeader() {
    m_editor->setSourceMode(true);
    QTest::mouseClick(m_editor->menuBar->header("Label_asp"), Qt::LeftButton);
    QStringList seen;
    for (const char* version : {"First help", "Second help"}) {
        write(shipped("help.htm"), QString("<TITLE>%1</TITLE><A id=next href=second.htm>on</A>").arg(version).toUtf8());
        openHelp([&](helpFrm& w) {
            seen << w.windowTitle() << title(w);
            test::pageScript(*w.DHTMLEdit1(), "setTimeout(() => document.getElementById('next').click()); return 1;");
            QTest::qWaitFor([&] { return title(w) == "Second page"; });
            seen << title(w);
            w.activateWindow();
            QTest::keyClick(w.DHTMLEdit1()->view()->focusProxy(), Qt::Key_Escape);
            seen << (w.isVisible() ? "open after Escape" : "closed");
        });
    }
    QCOMPARE(seen, (QStringList{"Orvane - Help", "First help", "Second page", "closed",
                                "Orvane - Help", "Second help", "Second page", "closed"}));
    QVERIFY(m_editor->window->isSourceMode());
    QWidget* panel = m_editor->menuBar->panel("Picture_asp");
    QVERIFY(panel->isVisible());
    panel->hide();
}

// A page that cannot be read shows a message in the window and asks nothing;
// in the shipped page every link has its target and every picture loads.
void tst_LibraryWindows::missingAndShippedHelpPages() {
    const auto shown = [this](const QString& folder, const char* script) {
        setProgramFolder(folder);
        QString text;
        openHelp([&](helpFrm& w) {
            Surface& page = *w.DHTMLEdit1();
            QTest::qWaitFor([&] { return test::pageScript(page, "return [...document.images].every(i => i.complete);").toBool(); });
            text = title(w) + "|" + test::pageScript(page, script).toString();
        });
        setProgramFolder(m_program.path());
        return text;
    };
    QTemporaryDir empty;
    ScriptedPrompts prompts;
    const QString missing = shown(empty.path(), "return document.body.innerText;");
    QVERIFY2(missing.contains("The help page could not be opened.") && missing.contains(empty.filePath("help.htm")),
             qPrintable(missing));
    QCOMPARE(prompts.asked().size(), 0);
    QCOMPARE(shown(QStringLiteral(ORVANE_RESOURCES),
                   "return [...document.querySelectorAll('a[href^=\"#\"]')]"
                   " .filter(a => !document.getElementById(a.getAttribute('href').slice(1)))"
                   " .map(a => a.getAttribute('href')).concat("
                   " [...document.images].filter(i => !i.naturalWidth).map(i => i.getAttribute('src')))"
                   " .join(' ');"),
             QString("Orvane Editor - Help|"));
}

ORVANE_TEST_MAIN(tst_LibraryWindows)
#include "tst_library_windows.moc"
