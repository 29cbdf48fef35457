// The script and image library windows, opened from the Libraries menu of the
// real main window, over library folders of the test's own.
#include "TestMain.h"
#include "WindowFixture.h"
#include "LibraryTestSupport.h"
#include "SurfaceTestSupport.h"
#include "libraries/IlibFrm.h"
#include "libraries/SlibFrm.h"
#include "ScriptedPrompts.h"

#include <QClipboard>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace orvane;
using test::whenModal;

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
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found[0]).center());
}

QByteArray png(Qt::GlobalColor colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? buffer.data() : QByteArray();
}

QRgb preview(const IlibFrm* w)
{
    return w->Picture1()->pixmap().isNull() ? 0 : w->Picture1()->pixmap().toImage().pixel(0, 0);
}

}  // namespace

class tst_LibraryWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { m_editor->setSourceMode(false); }
    void cleanupTestCase() { m_editor.reset(); m_folders.reset(); }
    void scriptLibrary_data();
    void scriptLibrary();
    void missingFoldersGiveEmptyLists();
    void insertImage_data();
    void insertImage();
    void nothingChosenAndNonPicture();

private:
    std::unique_ptr<test::LibraryFolders> m_folders;
    std::unique_ptr<test::WindowFixture> m_editor;
};

void tst_LibraryWindows::initTestCase()
{
    m_folders = std::make_unique<test::LibraryFolders>();
    const test::LibraryFolders& f = *m_folders;
    f.write(f.shipped("javascript library/shared.js"), "// shipped");
    f.write(f.shipped("javascript library/utf8.js"), "caf\xc3\xa9 \xe2\x80\x9cq\xe2\x80\x9d");
    f.write(f.shipped("javascript library/cp1252.js"), "caf\xe9 \x93q\x94");
    f.write(f.shipped("javascript library/empty.js"), "");
    f.write(f.user("javascript library/shared.js"), "// mine");
    f.write(f.shipped("asp library/one.asp"), "<% Response.Write(1) %>");
    f.write(f.shipped("image library/red.png"), png(Qt::red));
    f.write(f.shipped("image library/blue.png"), png(Qt::blue));
    f.write(f.shipped("image library/it's.png"), png(Qt::green));
    f.write(f.shipped("image library/notes.txt"), "not a picture");
    m_editor = std::make_unique<test::WindowFixture>();
}

void tst_LibraryWindows::scriptLibrary_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("expected");
    QTest::newRow("UTF-8") << "File1" << "utf8.js" << QString::fromUtf16(u"café “q”");
    QTest::newRow("Windows-1252") << "File1" << "cp1252.js" << QString::fromUtf16(u"café “q”");
    QTest::newRow("empty") << "File1" << "empty.js" << "";
    QTest::newRow("the user's file shadows") << "File1" << "shared.js" << "// mine";
    QTest::newRow("ASP") << "File2" << "one.asp" << "<% Response.Write(1) %>";
}

// Each row first shows a file of the other list, then the row's file; the
// text can be selected and copied but not changed.
void tst_LibraryWindows::scriptLibrary()
{
    QFETCH(QString, list);
    QFETCH(QString, file);
    QFETCH(QString, expected);
    QStringList lists, shown;
    whenModal<SlibFrm>([&](SlibFrm* w) {
        lists << w->windowTitle() << names(w->File1()).join(',') << names(w->File2()).join(',');
        QListWidget* target = w->findChild<QListWidget*>(list);
        QListWidget* other = target == w->File1() ? w->File2() : w->File1();
        clickItem(other, other->item(0)->text());
        clickItem(target, file);
        QApplication::clipboard()->setText("before");
        QTest::keyClick(w->Text1(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(w->Text1(), Qt::Key_C, Qt::ControlModifier);
        QTest::keyClicks(w->Text1(), "typed");
        shown << w->Text1()->toPlainText() << QApplication::clipboard()->text()
              << QString::number(other->selectedItems().size());
        w->reject();
    });
    m_editor->clickMenuItem("S");
    QCOMPARE(lists, (QStringList{"Script Libraries", "shared.js,cp1252.js,empty.js,utf8.js", "one.asp"}));
    QCOMPARE(shown, (QStringList{expected, expected.isEmpty() ? "before" : expected, "0"}));
    QVERIFY(QFileInfo(m_folders->user("asp library")).isDir());  // made empty on first use
}

void tst_LibraryWindows::missingFoldersGiveEmptyLists()
{
    QTemporaryDir nowhere;
    setProgramFolder(nowhere.path());
    qputenv("XDG_DATA_HOME", nowhere.filePath("data").toLocal8Bit());
    ScriptedPrompts prompts;
    QStringList shown;
    whenModal<SlibFrm>([&](SlibFrm* w) { shown << names(w->File1()) << names(w->File2()); w->reject(); });
    m_editor->clickMenuItem("S");
    whenModal<IlibFrm>([&](IlibFrm* w) { shown << names(w->File1()); w->reject(); });
    m_editor->clickMenuItem("L");
    setProgramFolder(m_folders->program.path());
    qputenv("XDG_DATA_HOME", m_folders->data.path().toLocal8Bit());
    QCOMPARE(shown, QStringList{});
    QCOMPARE(prompts.asked().size(), 0);
}

void tst_LibraryWindows::insertImage_data()
{
    // Source mode rows: the text after inserting at the selection of
    // "<P>ab</P>". The Edit mode row replaces the page's "b" with the image.
    QTest::addColumn<bool>("sourceMode");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("expected");
    const QString folder = m_folders->shipped("image library/");
    QTest::newRow("Source mode, at the caret") << true << "red.png" << 4 << 0
        << "<P>a<img src='" + folder + "red.png'>b</P>";
    QTest::newRow("Source mode, over the selection") << true << "red.png" << 3 << 2
        << "<P><img src='" + folder + "red.png'></P>";
    QTest::newRow("Source mode, quote in the name") << true << "it's.png" << 3 << 0
        << "<P><img src='" + folder + "it%27s.png'>ab</P>";
    QTest::newRow("Edit mode") << false << "red.png" << 0 << 0
        << QString("[1,\"%1red.png\",\"a\"]").arg(folder);
}

void tst_LibraryWindows::insertImage()
{
    QFETCH(bool, sourceMode);
    QFETCH(QString, file);
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
    bool closed = false;
    whenModal<IlibFrm>([&](IlibFrm* w) {
        clickItem(w->File1(), file);
        QTest::mouseClick(w->Command2(), Qt::LeftButton);
        closed = !w->isVisible();
        w->reject();
    });
    m_editor->clickMenuItem("L");
    QVERIFY(closed);
    QCOMPARE(m_editor->window->isSourceMode(), sourceMode);
    QCOMPARE(sourceMode ? m_editor->rch->Text()
                        : test::pageScript(*m_editor->surface,
                              "return JSON.stringify([document.images.length, document.images[0] && "
                              "document.images[0].getAttribute('src'), document.body.textContent]);")
                              .toString(),
             expected);
}

// "&Insert Image" with nothing chosen inserts nothing and keeps the window;
// a file that is not a picture leaves the previous preview.
void tst_LibraryWindows::nothingChosenAndNonPicture()
{
    m_editor->rch->setText("<P>ab</P>");
    m_editor->setSourceMode(true);
    QList<QRgb> previews;
    bool openAfterInsert = false;
    whenModal<IlibFrm>([&](IlibFrm* w) {
        QTest::mouseClick(w->Command2(), Qt::LeftButton);
        QTest::keyClick(w->File1(), Qt::Key_Return);
        openAfterInsert = w->isVisible();
        for (const char* name : {"red.png", "notes.txt", "blue.png"}) {
            clickItem(w->File1(), name);
            previews << preview(w);
        }
        w->reject();
    });
    m_editor->clickMenuItem("L");
    QVERIFY(openAfterInsert);
    QCOMPARE(m_editor->rch->Text(), QString("<P>ab</P>"));
    QCOMPARE(previews, (QList<QRgb>{QColor(Qt::red).rgb(), QColor(Qt::red).rgb(), QColor(Qt::blue).rgb()}));
}

ORVANE_TEST_MAIN(tst_LibraryWindows)
#include "tst_library_windows.moc"
