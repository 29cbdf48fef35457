// Page files through the editing surface: loading, saving, their error
// numbers, the file dialogs, big pages, relative images and URLs.
#include "ScriptedPrompts.h"
#include "SurfaceTestSupport.h"
#include "TestMain.h"

#include <QImage>

using namespace orvane;
using namespace orvane::test;

class tst_SurfaceFiles : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void loadErrors_data();
    void loadErrors();
    void saveErrors_data();
    void saveErrors();
    void unchangedPageSavesSameBytes();
    void dialogsAskForThePath();
    void bigPageWithRelativeImage_data();
    void bigPageWithRelativeImage();
    void loadUrl();

private:
    std::unique_ptr<Surface> edit;
    std::unique_ptr<Surface> preview;
    TempSite site;
    QString goodPage;
};

namespace {

const QByteArray goodText = "<html><head><title>good</title></head><body><p>kept</p></body></html>";

std::int32_t errorOf(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const SurfaceError& e) {
        return e.number();
    }
    return 0;
}

// The size of the image the page shows as #pic once it has loaded (0 if broken).
int pictureWidth(Surface& s)
{
    int width = 0;
    QTest::qWaitFor([&] {
        width = pageScript(s, "const i = document.getElementById('pic');"
                              " return i && i.complete ? i.naturalWidth : -1;").toInt();
        return width >= 0;
    });
    return width;
}

}  // namespace

void tst_SurfaceFiles::initTestCase()
{
    edit = std::make_unique<Surface>(Surface::Mode::Edit);
    preview = std::make_unique<Surface>(Surface::Mode::Browse);
    showAndSettle(*edit);
    showAndSettle(*preview);
    goodPage = site.write("good.htm", goodText);
    QDir().mkpath(site.path("folder.htm"));
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QDir().mkpath(site.path("img"));
    QVERIFY(picture.save(site.path("img/pic.png")));
}

void tst_SurfaceFiles::loadErrors_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<std::int32_t>("number");
    QTest::newRow("folder part is a file") << site.path("good.htm/page.htm")
                                           << SurfaceErrorNumber::PathNotFound;
    QTest::newRow("a folder, not a file") << site.path("folder.htm") << SurfaceErrorNumber::AccessDenied;
    QTest::newRow("unreadable file") << "/proc/self/mem" << SurfaceErrorNumber::AccessDenied;
    QTest::newRow("no path, no prompt") << QString() << SurfaceErrorNumber::InvalidArgument;
}

// A refused load leaves the document and its path as they were.
void tst_SurfaceFiles::loadErrors()
{
    QFETCH(QString, path);
    QFETCH(std::int32_t, number);
    edit->LoadDocument(goodPage);
    QCOMPARE(errorOf([&] { edit->LoadDocument(path); }), number);
    QCOMPARE(edit->DocumentHTML(), QString::fromUtf8(goodText));
    QCOMPARE(edit->CurrentDocumentPath(), goodPage);
}

void tst_SurfaceFiles::saveErrors_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<std::int32_t>("number");
    QTest::newRow("folder part is a file") << site.path("good.htm/page.htm")
                                           << SurfaceErrorNumber::PathNotFound;
    QTest::newRow("a folder, not a file") << site.path("folder.htm") << SurfaceErrorNumber::AccessDenied;
    QTest::newRow("no path, no prompt") << QString() << SurfaceErrorNumber::InvalidArgument;
    QTest::newRow("web address") << "http://127.0.0.1/page.htm" << SurfaceErrorNumber::InvalidArgument;
}

// A failed save leaves the page modified, with its path, and the target untouched.
void tst_SurfaceFiles::saveErrors()
{
    QFETCH(QString, path);
    QFETCH(std::int32_t, number);
    edit->LoadDocument(goodPage);
    edit->DOM().selection().createRange().pasteHTML("new ");
    QCOMPARE(errorOf([&] { edit->SaveDocument(path); }), number);
    QVERIFY(edit->IsDirty());
    QCOMPARE(edit->CurrentDocumentPath(), goodPage);
    QCOMPARE(TempSite::read(goodPage), goodText);
    QCOMPARE(QDir(site.path()).entryList(QDir::Files).size(), 1);  // no temporary file left
}

// A page in a legacy encoding with CR LF comes back byte for byte, and the
// page shows its characters, not their bytes.
void tst_SurfaceFiles::unchangedPageSavesSameBytes()
{
    const QByteArray bytes = "<html>\r\n<head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                             "charset=windows-1252\"></head>\r\n<body><p id=t>caf\xe9 \x93q\x94</p>"
                             "</body>\r\n</html>\r\n";
    const QString path = site.write("legacy/page.htm", bytes);
    edit->LoadDocument(path);
    QCOMPARE(pageScript(*edit, "return document.getElementById('t').textContent;").toString(),
             QString::fromUtf8("caf\u00e9 \u201cq\u201d"));
    const QString copy = site.path("legacy/copy.htm");
    edit->SaveDocument(copy);
    QCOMPARE(TempSite::read(copy), bytes);
    QCOMPARE(edit->CurrentDocumentPath(), copy);
    QVERIFY(!edit->IsDirty());
    QCOMPARE(QDir(site.path("legacy")).entryList(QDir::Files), QStringList({"copy.htm", "page.htm"}));
}

void tst_SurfaceFiles::dialogsAskForThePath()
{
    ScriptedPrompts prompts;
    edit->NewDocument();
    prompts.cancelFile();
    edit->LoadDocument(QString(), true);  // cancelled: no error, nothing loaded
    QVERIFY(edit->CurrentDocumentPath().isEmpty());
    prompts.answerFile(goodPage);
    edit->LoadDocument(QString(), true);
    QCOMPARE(edit->CurrentDocumentPath(), goodPage);
    QCOMPARE(edit->DocumentHTML(), QString::fromUtf8(goodText));

    const QString target = site.path("dialog/saved.htm");
    QDir().mkpath(site.path("dialog"));
    prompts.cancelFile();
    edit->SaveDocument(QString(), true);
    QVERIFY(!QFile::exists(target));
    prompts.answerFile(target);
    edit->SaveDocument(QString(), true);
    QCOMPARE(TempSite::read(target), goodText);
    QCOMPARE(edit->CurrentDocumentPath(), target);

    QCOMPARE(prompts.asked().size(), 4);
    QCOMPARE(prompts.asked().at(0).kind, ScriptedPrompts::Kind::OpenFile);
    QCOMPARE(prompts.asked().at(3).kind, ScriptedPrompts::Kind::SaveFile);
    QVERIFY(prompts.unexpected().isEmpty());
}

void tst_SurfaceFiles::bigPageWithRelativeImage_data()
{
    QTest::addColumn<bool>("editMode");
    QTest::newRow("design surface") << true;
    QTest::newRow("preview") << false;
}

// Pages far over what setHtml takes load whole, and relative images resolve
// against the page's folder, also when the text is set again afterwards.
void tst_SurfaceFiles::bigPageWithRelativeImage()
{
    QFETCH(bool, editMode);
    Surface& s = editMode ? *edit : *preview;
    QByteArray text = "<html><head><title>big</title></head>\r\n<body>\r\n<img id=pic src=\"../img/pic.png\">\r\n";
    for (int i = 0; text.size() < 5 * 1024 * 1024; ++i)
        text += "<p>Paragraph " + QByteArray::number(i) + " with some words to fill the page.</p>\r\n";
    text += "<p id=last>end</p></body></html>\r\n";
    const QString path = site.write("big/page.htm", text);

    s.LoadDocument(path);
    QCOMPARE(s.DocumentHTML(), QString::fromUtf8(text));
    QCOMPARE(pageScript(s, "return document.getElementById('last').textContent;").toString(), "end");
    QCOMPARE(pictureWidth(s), 3);

    s.setDocumentHTML(QString::fromUtf8(text).replace("with some", "with other"));
    QCOMPARE(pictureWidth(s), 3);
}

// A file path or a file URL loads the page, its images relative to it.
void tst_SurfaceFiles::loadUrl()
{
    const QByteArray text = "<html><body><p>web</p><img id=pic src=\"img/pic.png\"></body></html>";
    const QString path = site.write("web.htm", text);
    QStringList served;
    for (const QString& url : {path, QUrl::fromLocalFile(path).toString()}) {
        edit->LoadURL(url);
        QCOMPARE(edit->DocumentHTML(), QString::fromUtf8(text));
        QCOMPARE(edit->CurrentDocumentPath(), path);
        QCOMPARE(pictureWidth(*edit), 3);
        served << edit->view()->url().toLocalFile();
        const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QCOMPARE(QFile::permissions(served.last()) & others, QFile::Permissions());
    }
    // Each load is served from a private file of its own; the one before is removed.
    QVERIFY(!QFile::exists(served.first()));
    QVERIFY(QFile::exists(served.last()));

    // The page's own base, relative to its real folder, still leads its images.
    const QByteArray withBase = "<html><head><base href=\"img/\"></head><body><img id=pic src=\"pic.png\"></body></html>";
    edit->LoadURL(site.write("based.htm", withBase));
    QCOMPARE(pictureWidth(*edit), 3);
    QCOMPARE(edit->DocumentHTML(), QString::fromUtf8(withBase));
}

ORVANE_TEST_MAIN(tst_SurfaceFiles)
#include "tst_surface_files.moc"
