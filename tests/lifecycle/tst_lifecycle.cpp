// The document commands on a real design surface and source pane, with real
// files: round trips byte for byte, captions, load and save errors, and the
// question before unsaved work is replaced.
#include "DocumentFixture.h"
#include "ScriptedPrompts.h"
#include "TestMain.h"

#include <QProcess>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <csignal>
#include <QTcpServer>
#include <QTcpSocket>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace orvane;
using namespace orvane::test;

namespace {

const QByteArray kPageA = "<HTML>\r\n<HEAD>\r\n<TITLE>A</TITLE>\r\n</HEAD>\r\n<BODY>\r\n<P>page a</P>\r\n</BODY>\r\n</HTML>\r\n";
const QByteArray kPageB = "<html><head><title>B</title></head>\n<body><p>page b</p></body></html>\n";
const QString kChanged = QStringLiteral("<HTML><HEAD><TITLE>A</TITLE></HEAD><BODY><P>changed</P></BODY></HTML>");
const QString kQuestion = QStringLiteral("The current document has changed.\r\n\r\nDo you want to save changes?");

// A character device that refuses every write with "no space left", private
// to the test folder.
QString makeFullDevice(const TempSite& site)
{
    const QString path = site.path(QStringLiteral("full"));
    if (mknod(path.toLocal8Bit().constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        qFatal("cannot create a device node");
    return path;
}

bool isCharDevice(const QString& path)
{
    struct stat st {};
    return stat(path.toLocal8Bit().constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

// A tmpfs holding one file, mounted read-only; unmounted when it goes away.
class ReadOnlyMount {
public:
    ReadOnlyMount(const QString& dir, const QByteArray& fileBytes) : m_dir(dir)
    {
        QDir().mkpath(dir);
        m_ok = run({"-t", "tmpfs", "-o", "size=1m", "none", dir});
        if (m_ok) {
            QFile f(file());
            m_ok = f.open(QIODevice::WriteOnly) && f.write(fileBytes) == fileBytes.size();
            f.close();
            m_ok = m_ok && run({"-o", "remount,ro", dir});
        }
    }
    ~ReadOnlyMount() { QProcess::execute(QStringLiteral("umount"), {m_dir}); }
    bool ok() const { return m_ok; }
    QString file() const { return m_dir + QStringLiteral("/page.htm"); }
private:
    static bool run(const QStringList& args) { return QProcess::execute(QStringLiteral("mount"), args) == 0; }
    QString m_dir;
    bool m_ok = false;
};

// A one-page web server on 127.0.0.1: /page.htm is served, anything else is 404.
class PageServer : public QTcpServer {
public:
    explicit PageServer(const QByteArray& page) : m_page(page)
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { answer(socket); });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString address(const QString& path) const
    {
        return QStringLiteral("127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }
private:
    void answer(QTcpSocket* socket)
    {
        m_request += socket->readAll();
        if (!m_request.contains("\r\n\r\n"))
            return;
        const bool found = m_request.startsWith("GET /page.htm ");
        m_request.clear();
        const QByteArray body = found ? m_page : QByteArray("not here");
        socket->write((found ? "HTTP/1.0 200 OK\r\n" : "HTTP/1.0 404 Not Found\r\n")
                      + QByteArray("Content-Type: text/html\r\nContent-Length: ")
                      + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        socket->disconnectFromHost();
    }
    QByteArray m_page;
    QByteArray m_request;
};

}  // namespace

class tst_Lifecycle : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newPage_data();
    void newPage();
    void openAndSaveKeepBytes_data();
    void openAndSaveKeepBytes();
    void loadErrorIsReported_data();
    void loadErrorIsReported();
    void modifiedPageAsksFirst_data();
    void modifiedPageAsksFirst();
    void yesWithCancelledSaveDialogKeepsEverything();
    void openFromWeb_data();
    void openFromWeb();
    void failedSaveIsReportedAndOldFileKept_data();
    void failedSaveIsReportedAndOldFileKept();
    void cancelledSourceOpenKeepsPage();
    void rendererCrashKeepsUnsavedWork();

private:
    std::unique_ptr<DocumentFixture> fx;
    std::unique_ptr<ScriptedPrompts> prompts;
    std::unique_ptr<TempSite> site;
};

void tst_Lifecycle::initTestCase()
{
    qApp->setQuitOnLastWindowClosed(false);
}

void tst_Lifecycle::init()
{
    prompts = std::make_unique<ScriptedPrompts>();
    site = std::make_unique<TempSite>();
    fx = std::make_unique<DocumentFixture>();
}

void tst_Lifecycle::cleanup()
{
    if (prompts)
        QVERIFY2(prompts->unexpected().isEmpty(), qPrintable(prompts->unexpected().join("; ")));
    fx.reset();
    prompts.reset();
    site.reset();
}

void tst_Lifecycle::newPage_data()
{
    QTest::addColumn<bool>("source");
    QTest::newRow("edit mode") << false;
    QTest::newRow("source mode") << true;
}

void tst_Lifecycle::newPage()
{
    QFETCH(bool, source);
    fx->rch->setText(QStringLiteral("old source"));
    if (source)
        fx->sourceMode();
    fx->life->Label6_Click();
    QCOMPARE(fx->window.windowTitle(), QStringLiteral("Orvane Editor 1.0"));
    QCOMPARE(fx->design->CurrentDocumentPath(), QString());
    const QString html = fx->design->DocumentHTML();
    QVERIFY(html.contains(QStringLiteral("<P>&nbsp;</P>")));
    if (source) {
        // Nine CR LF lines, no final break; "</HEAD>" in the case features search for.
        const QString page = QStringLiteral(
            "<HTML>\r\n<HEAD>\r\n<META NAME=\"GENERATOR\" Content=\"Kestrova Editor v.1.0\">\r\n"
            "<TITLE></TITLE>\r\n</HEAD>\r\n<BODY>\r\n<P>&nbsp;</P>\r\n</BODY>\r\n</HTML>");
        QCOMPARE(fx->rch->Text(), page);
        QCOMPARE(html, page);
    } else {
        QCOMPARE(fx->rch->Text(), QStringLiteral("old source"));  // Edit mode leaves the pane
    }
    QVERIFY(!fx->design->IsDirty());  // a new page has nothing to save
    QVERIFY(prompts->messages().isEmpty());
}

void tst_Lifecycle::openAndSaveKeepBytes_data()
{
    QTest::addColumn<bool>("source");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("filterIndex");
    const QByteArray crlfUtf8 = "<HTML>\r\n<HEAD><TITLE>caf\xC3\xA9</TITLE></HEAD>\r\n<BODY>"
                                "<!-- keep -->\r\n<P class='x'>na\xC3\xAFve \xE2\x82\xAC</P></BODY></HTML>\r\n";
    const QByteArray latin = "<html><head><meta charset=\"windows-1252\"><title>t</title></head>"
                             "<body><p>caf\xE9 \x80</p></body></html>";
    const QByteArray asp = "<%@ Language=VBScript %>\r\n<HTML><BODY><% Response.Write \"x\" %><P>a</P>"
                           "</BODY></HTML>";
    QTest::newRow("edit mode, CR LF UTF-8") << false << crlfUtf8 << 1;
    QTest::newRow("edit mode, windows-1252") << false << latin << 1;
    QTest::newRow("source mode, CR LF UTF-8") << true << crlfUtf8 << 1;
    QTest::newRow("source mode, windows-1252") << true << latin << 1;
    QTest::newRow("source mode, ASP page with the ASP entry") << true << asp << 2;
    QTest::newRow("source mode, LF page with no final break") << true << kPageB.chopped(1) << 1;
}

void tst_Lifecycle::openAndSaveKeepBytes()
{
    QFETCH(bool, source);
    QFETCH(QByteArray, bytes);
    QFETCH(int, filterIndex);
    const QString from = site->write(QStringLiteral("in/page.htm"), bytes);
    const QString to = site->path(filterIndex == 2 ? QStringLiteral("out.asp") : QStringLiteral("out.htm"));
    if (source)
        fx->sourceMode();

    prompts->answerFile(from);
    fx->life->Label3_Click();
    if (source) {
        QCOMPARE(fx->window.windowTitle(), from);  // the bare path
        QCOMPARE(fx->design->DocumentHTML(), fx->rch->Text());
        QVERIFY(fx->isSourceMode());
    } else {
        QCOMPARE(fx->window.windowTitle(), QStringLiteral("Orvane Editor - ") + from);
    }
    QVERIFY(!fx->design->IsDirty());

    prompts->answerFile(to, filterIndex);
    fx->life->Label5_Click();
    QCOMPARE(TempSite::read(to), bytes);
    if (source) {
        QCOMPARE(fx->window.windowTitle(), from);  // a Source-mode save leaves the caption
        QCOMPARE(fx->design->document().CommonDialog1().filter, QStringLiteral("HTML |*.htm| ASP | *.asp"));
        QCOMPARE(prompts->asked().last().file.filter, QStringLiteral("HTML |*.htm| ASP | *.asp"));
    } else {
        QCOMPARE(fx->window.windowTitle(), QStringLiteral("Orvane Editor - ") + to);
    }
    QVERIFY(!fx->design->IsDirty());
    QVERIFY(prompts->messages().isEmpty());
}

void tst_Lifecycle::loadErrorIsReported_data()
{
    QTest::addColumn<bool>("source");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    for (const bool source : {false, true}) {
        const char* mode = source ? "source mode, " : "edit mode, ";
        QTest::addRow("%smissing file", mode) << source << "missing.htm" << "File not found";
        QTest::addRow("%smissing folder", mode) << source << "nowhere/missing.htm" << "Path not found";
        QTest::addRow("%sfolder in place of the file", mode) << source << "folder" << "Access denied";
    }
    QTest::addRow("edit mode, frameset page") << false << "frames.htm" << "Document contains a frameset";
    QTest::addRow("edit mode, only server script")
        << false << "script.asp" << "Document is primarily server side script";
    QTest::addRow("at start, missing file") << false << "start:missing.htm" << "File not found";
}

void tst_Lifecycle::loadErrorIsReported()
{
    QFETCH(bool, source);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QDir(site->path()).mkdir(QStringLiteral("folder"));
    site->write(QStringLiteral("frames.htm"),
                "<HTML><FRAMESET cols=\"50%,*\"><FRAME SRC=a.htm><FRAME SRC=b.htm></FRAMESET></HTML>");
    site->write(QStringLiteral("script.asp"), "<%@ Language=VBScript %>\r\n<% Response.Redirect \"x\" %>");
    const QString a = site->write(QStringLiteral("a.htm"), kPageA);
    fx->life->openAtStart(name.startsWith("start:") ? site->path(name.mid(6)) : a);
    if (source) {
        fx->sourceMode();
        fx->rch->setText(QString::fromLatin1(kPageA));
    }
    if (!name.startsWith("start:")) {
        prompts->answerFile(site->path(name));
        fx->life->Label3_Click();
    }

    const auto messages = prompts->messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QStringLiteral("Error occurred while loading document: ") + reason + ".");
    QCOMPARE(messages[0].icon, MsgIcon::Critical);
    QCOMPARE(messages[0].buttons, MsgButtons::OK);
    QCOMPARE(messages[0].title, QString::fromLatin1(applicationTitle()));
    if (source) {
        // The page stays as it was.
        QCOMPARE(fx->rch->Text(), QString::fromLatin1(kPageA));
        QCOMPARE(fx->design->CurrentDocumentPath(), a);
        QCOMPARE(fx->window.windowTitle(), QStringLiteral("Orvane Editor - ") + a);
    } else {
        // A failed load leaves a blank page.
        QCOMPARE(fx->design->CurrentDocumentPath(), QString());
        QVERIFY(!fx->design->DocumentHTML().contains(QStringLiteral("page a")));
        QCOMPARE(fx->window.windowTitle(), QStringLiteral("Orvane Editor"));
    }
}

void tst_Lifecycle::modifiedPageAsksFirst_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("source");
    QTest::addColumn<int>("answer");  // MsgResult, or 0: the page is not modified
    const struct { const char* command; bool source; } commands[] = {
        {"open", false}, {"open", true}, {"new", false}, {"new", true},
        {"exit", false}, {"close", true}, {"web", false},
    };
    for (const auto& c : commands) {
        const char* mode = c.source ? "source" : "edit";
        QTest::addRow("%s in %s mode, not modified", c.command, mode) << c.command << c.source << 0;
        QTest::addRow("%s in %s mode, yes", c.command, mode) << c.command << c.source << int(MsgResult::Yes);
        QTest::addRow("%s in %s mode, no", c.command, mode) << c.command << c.source << int(MsgResult::No);
        QTest::addRow("%s in %s mode, cancel", c.command, mode) << c.command << c.source << int(MsgResult::Cancel);
    }
}

void tst_Lifecycle::modifiedPageAsksFirst()
{
    QFETCH(QString, command);
    QFETCH(bool, source);
    QFETCH(int, answer);
    const QString a = site->write(QStringLiteral("a.htm"), kPageA);
    const QString b = site->write(QStringLiteral("b.htm"), kPageB);
    fx->life->openAtStart(a);
    QString pageText;  // what the page holds once modified
    if (source) {
        fx->sourceMode();
        fx->rch->setText(QString::fromLatin1(kPageA));
        if (answer) {
            fx->rch->setFocus();
            fx->rch->setSelStart(0);
            QTest::keyClicks(fx->rch, QStringLiteral("typed "));  // never handed to the surface
        }
        pageText = fx->rch->Text();
    } else if (answer) {
        fx->design->setDocumentHTML(kChanged);
        pageText = kChanged;
    }
    QCOMPARE(fx->design->IsDirty(), answer != 0);

    if (command == "web")
        prompts->answerInput(QUrl::fromLocalFile(b).toString());
    if (answer)
        prompts->answerMessage(MsgResult(answer));
    const bool goesOn = answer != int(MsgResult::Cancel);
    if (command == "open" && goesOn)
        prompts->answerFile(b);

    if (command == "open")
        fx->life->Label3_Click();
    else if (command == "new")
        fx->life->Label6_Click();
    else if (command == "exit")
        fx->life->Label7_Click();
    else if (command == "close")
        fx->window.close();
    else if (command == "web")
        fx->life->Label1_Click();

    const auto messages = prompts->messages();
    QCOMPARE(messages.size(), answer ? 1 : 0);
    if (answer) {
        QCOMPARE(messages[0].text, kQuestion);
        QCOMPARE(messages[0].buttons, MsgButtons::YesNoCancel);
        QCOMPARE(messages[0].icon, MsgIcon::Exclamation);
    }
    QCOMPARE(prompts->pending(), 0);

    // Yes saved the page in place, without a dialog; otherwise the file is as it was.
    if (answer == int(MsgResult::Yes))
        QCOMPARE(QString::fromUtf8(TempSite::read(a)), pageText);
    else
        QCOMPARE(TempSite::read(a), kPageA);

    if (!goesOn) {
        QVERIFY(fx->window.isVisible());
        QCOMPARE(source ? fx->rch->Text() : fx->design->DocumentHTML(), pageText);
        QVERIFY(fx->design->IsDirty());
        return;
    }
    if (command == "exit" || command == "close") {
        QVERIFY(!fx->window.isVisible());
        return;
    }
    if (command == "new") {
        QCOMPARE(fx->window.windowTitle(), QStringLiteral("Orvane Editor 1.0"));
        QVERIFY(!fx->design->DocumentHTML().contains(QStringLiteral("page a")));
    } else {
        if (source)
            QCOMPARE(fx->rch->Text(), QString::fromLatin1(kPageB));
        QVERIFY(fx->design->DocumentHTML().contains(QStringLiteral("page b")));
    }
    QVERIFY(!fx->design->IsDirty());
}

void tst_Lifecycle::yesWithCancelledSaveDialogKeepsEverything()
{
    // A page without a file: Yes needs the save dialog; cancelling it must
    // not count as saved, so the open does not go on.
    fx->design->setDocumentHTML(kChanged);
    const QString b = site->write(QStringLiteral("b.htm"), kPageB);
    prompts->answerMessage(MsgResult::Yes).cancelFile();
    fx->life->Label3_Click();
    QCOMPARE(prompts->pending(), 0);
    QCOMPARE(fx->design->DocumentHTML(), kChanged);
    QVERIFY(fx->design->IsDirty());

    prompts->answerMessage(MsgResult::Yes).cancelFile();
    fx->window.close();
    QVERIFY(fx->window.isVisible());
    Q_UNUSED(b);
}

void tst_Lifecycle::openFromWeb_data()
{
    QTest::addColumn<QString>("answer");   // "{server}" stands for 127.0.0.1:port
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("loads");
    QTest::newRow("scheme with backslashes") << "HTTP:\\\\{server}\\page.htm" << false << true;
    QTest::newRow("cancelled") << "" << true << false;
    QTest::newRow("default left as it is") << "HTTP:\\\\" << false << false;
    QTest::newRow("page not on the server") << "http://{server}/gone.htm" << false << false;
}

void tst_Lifecycle::openFromWeb()
{
    QFETCH(QString, answer);
    QFETCH(bool, cancel);
    QFETCH(bool, loads);
    PageServer server(kPageB);
    QVERIFY(server.isListening());
    const QString a = site->write(QStringLiteral("a.htm"), kPageA);
    fx->life->openAtStart(a);
    const QString caption = fx->window.windowTitle();
    answer.replace(QStringLiteral("{server}"), server.address(QString()));
    if (cancel)
        prompts->cancelInput();
    else
        prompts->answerInput(answer);
    fx->life->Label1_Click();

    QCOMPARE(prompts->asked().size(), 1);
    QCOMPARE(prompts->asked()[0].text, QStringLiteral("Enter Url for Page to Open"));
    QCOMPARE(prompts->asked()[0].title, QStringLiteral("Open From The Web"));
    QCOMPARE(prompts->asked()[0].defaultText, QStringLiteral("HTTP:\\\\"));
    QCOMPARE(fx->design->DocumentHTML(), QString::fromLatin1(loads ? kPageB : kPageA));
    QCOMPARE(fx->window.windowTitle(), caption);  // the caption is not changed
}

void tst_Lifecycle::failedSaveIsReportedAndOldFileKept_data()
{
    QTest::addColumn<bool>("source");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("reason");
    for (const bool source : {false, true}) {
        const char* mode = source ? "source mode, " : "edit mode, ";
        QTest::addRow("%sdisk full", mode) << source << "full" << "Disk is full";
        QTest::addRow("%sparent is a file", mode) << source << "a.htm/page.htm" << "Path not found";
        QTest::addRow("%sread-only file system", mode) << source << "ro" << "Access denied";
    }
}

void tst_Lifecycle::failedSaveIsReportedAndOldFileKept()
{
    QFETCH(bool, source);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    const QString a = site->write(QStringLiteral("a.htm"), kPageA);
    std::unique_ptr<ReadOnlyMount> mount;
    QString path;
    if (target == "full") {
        path = makeFullDevice(*site);
    } else if (target == "ro") {
        mount = std::make_unique<ReadOnlyMount>(site->path(QStringLiteral("ro")), kPageB);
        QVERIFY2(mount->ok(), "cannot mount a read-only tmpfs");
        path = mount->file();
    } else {
        path = site->path(target);
    }
    fx->life->openAtStart(a);
    if (source) {
        fx->sourceMode();
        fx->rch->setText(kChanged);
    } else {
        fx->design->setDocumentHTML(kChanged);
    }

    prompts->answerFile(path);
    fx->life->Label4_Click();

    const auto messages = prompts->messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages[0].text, QStringLiteral("Error occurred while saving document: ") + reason + ".");
    QCOMPARE(messages[0].icon, MsgIcon::Critical);
    QCOMPARE(TempSite::read(a), kPageA);
    if (target == "ro")
        QCOMPARE(TempSite::read(path), kPageB);
    if (target == "full")
        QVERIFY2(isCharDevice(path), "the device was replaced by a file");
    if (!source)
        QVERIFY(fx->design->IsDirty());
}

void tst_Lifecycle::cancelledSourceOpenKeepsPage()
{
    fx->sourceMode();
    fx->rch->setText(QString::fromLatin1(kPageA));
    const QString before = fx->window.windowTitle();
    prompts->cancelFile();
    fx->life->Label3_Click();
    QCOMPARE(fx->rch->Text(), QString::fromLatin1(kPageA));
    QCOMPARE(fx->window.windowTitle(), before);
    QVERIFY(prompts->messages().isEmpty());

    prompts->answerFile(QString());  // an empty name loads nothing either
    fx->life->Label3_Click();
    QCOMPARE(fx->rch->Text(), QString::fromLatin1(kPageA));
    QVERIFY(prompts->messages().isEmpty());
}

void tst_Lifecycle::rendererCrashKeepsUnsavedWork()
{
    const QString a = site->write(QStringLiteral("a.htm"), kPageA);
    fx->life->openAtStart(a);
    fx->design->setFocus();
    caretAfterText(*fx->design, QStringLiteral("page"));
    typeText(*fx->design, QStringLiteral("typed"));
    QVERIFY(fx->design->DocumentHTML().contains(QStringLiteral("typed")));
    const qint64 pid = fx->design->view()->page()->renderProcessPid();
    QVERIFY(pid > 0);
    ::kill(pid_t(pid), SIGKILL);
    // The surface reloads the text it last had in a new page process.
    QString html;
    QVERIFY(QTest::qWaitFor([&] {
        try {
            html = fx->design->DocumentHTML();
            return fx->design->view()->page()->renderProcessPid() != pid && !html.isEmpty();
        } catch (const SurfaceError&) {
            return false;
        }
    }, 30000));
    QVERIFY(html.contains(QStringLiteral("typed")));
    QVERIFY(fx->design->IsDirty());
    QCOMPARE(fx->design->CurrentDocumentPath(), a);
}

ORVANE_TEST_MAIN(tst_Lifecycle)
#include "tst_lifecycle.moc"
