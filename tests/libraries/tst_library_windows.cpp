// The script and image library windows, opened from the Libraries menu of the
// real main window, over library folders of the test's own.
#include "TestMain.h"
#include "EditorFixture.h"
#include "LibraryFolders.h"
#include "ModalWindow.h"
#include "SurfaceTestSupport.h"
#include "libraries/IlibFrm.h"
#include "libraries/SlibFrm.h"
#include "platform/dialogs/ScriptedPrompts.h"

#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace orvane;
using orvane::test::LibraryFolders;
using orvane::test::whenModal;

namespace {

QStringList names(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

void clickItem(QListWidget* list, const QString& name)
{
    const QList<QListWidgetItem*> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable("not listed: " + name));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.first()).center());
}

QByteArray png(Qt::GlobalColor colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QRgb previewColour(const QLabel* preview)
{
    const QPixmap p = preview->pixmap();
    return p.isNull() ? 0 : p.toImage().pixel(0, 0);
}

}  // namespace

class tst_LibraryWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void scriptLibraryListsBothFolders();
    void scriptLibraryShowsSnippet_data();
    void scriptLibraryShowsSnippet();
    void missingFoldersGiveEmptyLists();
    void imageLibraryInserts_data();
    void imageLibraryInserts();
    void imageLibraryWithNothingChosenInsertsNothing();
    void nonPictureKeepsThePreview();
    void cleanupTestCase();

private:
    QString imagePath(const QString& name) const { return m_folders->shipped(kImageLibrary, name); }

    std::unique_ptr<LibraryFolders> m_folders;
    std::unique_ptr<test::EditorFixture> m_editor;
};

void tst_LibraryWindows::initTestCase()
{
    m_folders = std::make_unique<LibraryFolders>();
    const LibraryFolders& f = *m_folders;
    f.write(f.shipped(kJavaScriptLibrary, "shared.js"), "// shipped");
    f.write(f.shipped(kJavaScriptLibrary, "utf8.js"), "caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d");
    f.write(f.shipped(kJavaScriptLibrary, "cp1252.js"), "caf\xe9 \x93q\x94");
    f.write(f.shipped(kJavaScriptLibrary, "empty.js"), "");
    f.write(f.user(kJavaScriptLibrary, "shared.js"), "// mine");
    f.write(f.user(kJavaScriptLibrary, "zzz-mine.js"), "// also mine");
    f.write(f.shipped(kAspLibrary, "one.asp"), "<% Response.Write(1) %>");
    f.write(imagePath("red.png"), png(Qt::red));
    f.write(imagePath("blue.png"), png(Qt::blue));
    f.write(imagePath("it's.png"), png(Qt::green));
    f.write(imagePath("notes.txt"), "not a picture");
    m_editor = std::make_unique<test::EditorFixture>();
}

void tst_LibraryWindows::init()
{
    m_editor->setSourceMode(false);
}

void tst_LibraryWindows::cleanupTestCase()
{
    m_editor.reset();
    m_folders.reset();
}

void tst_LibraryWindows::scriptLibraryListsBothFolders()
{
    QStringList js, asp;
    QString title;
    whenModal<SlibFrm>([&](SlibFrm* w) {
        title = w->windowTitle();
        js = names(w->File1());
        asp = names(w->File2());
        w->reject();
    });
    m_editor->clickMenuItem("S");
    QCOMPARE(title, QString("Script Libraries"));
    QCOMPARE(js, (QStringList{"shared.js", "zzz-mine.js", "cp1252.js", "empty.js", "utf8.js"}));
    QCOMPARE(asp, QStringList{"one.asp"});
    // The user's own folders exist from the first opening on, empty.
    QVERIFY(QFileInfo(m_folders->user(kAspLibrary, "")).isDir());
    QVERIFY(!m_editor->menuPanel("pic_library")->isVisible());
}

void tst_LibraryWindows::scriptLibraryShowsSnippet_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTF-8") << "File1" << "utf8.js" << QString::fromUtf16(u"café “q”");
    QTest::newRow("Windows-1252") << "File1" << "cp1252.js" << QString::fromUtf16(u"café “q”");
    QTest::newRow("empty") << "File1" << "empty.js" << "";
    QTest::newRow("the user's file in place of the shipped one") << "File1" << "shared.js"
                                                                 << "// mine";
    QTest::newRow("ASP") << "File2" << "one.asp" << "<% Response.Write(1) %>";
}

void tst_LibraryWindows::scriptLibraryShowsSnippet()
{
    QFETCH(QString, list);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QString shown, copied, afterTyping;
    bool otherListCleared = false;
    whenModal<SlibFrm>([&](SlibFrm* w) {
        QListWidget* target = w->findChild<QListWidget*>(list);
        QListWidget* other = target == w->File1() ? w->File2() : w->File1();
        // Another file first, so the window switches from one file to the next.
        clickItem(other, other->item(0)->text());
        clickItem(target, file);
        shown = w->Text1()->toPlainText();
        otherListCleared = other->selectedItems().isEmpty();
        QApplication::clipboard()->setText("before");
        w->Text1()->setFocus();
        QTest::keyClick(w->Text1(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w->Text1(), Qt::Key_C, Qt::ControlModifier);
        copied = QApplication::clipboard()->text();
        QTest::keyClicks(w->Text1(), "typed");
        afterTyping = w->Text1()->toPlainText();
        w->reject();
    });
    m_editor->clickMenuItem("S");
    QCOMPARE(shown, expected);
    QVERIFY(otherListCleared);
    QCOMPARE(copied, expected.isEmpty() ? QString("before") : expected);
    QCOMPARE(afterTyping, expected);
}

void tst_LibraryWindows::missingFoldersGiveEmptyLists()
{
    QTemporaryDir nowhere, noData;
    setProgramFolder(nowhere.path());
    qputenv("XDG_DATA_HOME", noData.path().toLocal8Bit());
    ScriptedPrompts prompts;
    QStringList js, asp, images;
    whenModal<SlibFrm>([&](SlibFrm* w) {
        js = names(w->File1());
        asp = names(w->File2());
        w->reject();
    });
    m_editor->clickMenuItem("S");
    whenModal<IlibFrm>([&](IlibFrm* w) {
        images = names(w->File1());
        w->reject();
    });
    m_editor->clickMenuItem("L");
    setProgramFolder(m_folders->program.path());
    qputenv("XDG_DATA_HOME", m_folders->data.path().toLocal8Bit());
    QCOMPARE(js, QStringList{});
    QCOMPARE(asp, QStringList{});
    QCOMPARE(images, QStringList{});
    QVERIFY(prompts.asked().isEmpty());
}

void tst_LibraryWindows::imageLibraryInserts_data()
{
    // Source mode rows: the source text, the selection, the expected text
    // (IMG stands for the tag's src value). Edit mode rows select "b" of the
    // page and expect one image with that src.
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("src");
    const QString folder = m_folders->program.path() + "/image library/";
    QTest::newRow("Source mode, at the caret") << true << "red.png" << 4 << 0
        << "<P>a<img src='IMG'>b</P>" << folder + "red.png";
    QTest::newRow("Source mode, replacing the selection") << true << "red.png" << 3 << 2
        << "<P><img src='IMG'></P>" << folder + "red.png";
    QTest::newRow("Source mode, quote in the name") << true << "it's.png" << 3 << 0
        << "<P><img src='IMG'>ab</P>" << folder + "it%27s.png";
    QTest::newRow("Edit mode") << false << "red.png" << 0 << 0 << "" << folder + "red.png";
}

void tst_LibraryWindows::imageLibraryInserts()
{
    QFETCH(bool, sourceMode);
    QFETCH(QString, file);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, expected);
    QFETCH(QString, src);
    Surface* surface = m_editor->surface;
    SourcePane* rch = m_editor->rch;
    surface->setDocumentHTML("<HTML><BODY><P>ab</P></BODY></HTML>");
    if (sourceMode) {
        rch->setText("<P>ab</P>");
        m_editor->setSourceMode(true);
        rch->setSelStart(selStart);
        rch->setSelLength(selLength);
    } else {
        test::selectFirstOccurrence(*surface, "b");
    }
    bool closedByInsert = false;
    whenModal<IlibFrm>([&](IlibFrm* w) {
        clickItem(w->File1(), file);
        QTest::mouseClick(w->Command2(), Qt::LeftButton);
        closedByInsert = !w->isVisible();
        if (!closedByInsert)
            w->reject();
    });
    m_editor->clickMenuItem("L");
    QVERIFY(closedByInsert);
    QCOMPARE(m_editor->window->isSourceMode(), sourceMode);
    if (sourceMode) {
        QCOMPARE(rch->Text(), QString(expected).replace("IMG", src));
        return;
    }
    const QVariant page = test::evaluateInPage(*surface,
        "JSON.stringify([document.images.length, document.images.length ? "
        "document.images[0].getAttribute('src') : '', document.body.textContent])");
    QCOMPARE(page.toString(), QString(QJsonDocument(QJsonArray{1, src, "a"})
                                           .toJson(QJsonDocument::Compact)));
}

void tst_LibraryWindows::imageLibraryWithNothingChosenInsertsNothing()
{
    m_editor->rch->setText("<P>ab</P>");
    m_editor->setSourceMode(true);
    m_editor->rch->setSelStart(3);
    bool stillOpen = false;
    whenModal<IlibFrm>([&](IlibFrm* w) {
        QTest::mouseClick(w->Command2(), Qt::LeftButton);
        QTest::keyClick(w->File1(), Qt::Key_Return);
        stillOpen = w->isVisible();
        w->reject();
    });
    m_editor->clickMenuItem("L");
    QVERIFY(stillOpen);
    QCOMPARE(m_editor->rch->Text(), QString("<P>ab</P>"));
}

void tst_LibraryWindows::nonPictureKeepsThePreview()
{
    QRgb first = 0, afterText = 0, afterBlue = 0;
    whenModal<IlibFrm>([&](IlibFrm* w) {
        clickItem(w->File1(), "red.png");
        first = previewColour(w->Picture1());
        clickItem(w->File1(), "notes.txt");
        afterText = previewColour(w->Picture1());
        clickItem(w->File1(), "blue.png");
        afterBlue = previewColour(w->Picture1());
        w->reject();
    });
    m_editor->clickMenuItem("L");
    QCOMPARE(first, QColor(Qt::red).rgb());
    QCOMPARE(afterText, QColor(Qt::red).rgb());
    QCOMPARE(afterBlue, QColor(Qt::blue).rgb());
}

ORVANE_TEST_MAIN(tst_LibraryWindows)
#include "tst_library_windows.moc"
