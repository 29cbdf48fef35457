// The FTP control against real servers: connecting, the command cycle, the
// remote tree and list, over FTP, explicit FTPS and SFTP.
#include "Inet.h"
#include "ControlTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTreeWidget>
#include <QtTest>

using namespace orvane;
using namespace orvane::testing;

namespace {

const QString kInvalidUrl =
    QStringLiteral("The URL you have entered is invalid. Please check and try again.");
const QString kNoPassword = QStringLiteral("You must enter a password. Check and try again.");

}  // namespace

class tst_FtpControl : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStringLiteral("Fusion"));
    }

    void connectChecks_data()
    {
        QTest::addColumn<QStringList>("answers");     // URL, user, password; "-" cancels
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("rootText");

        QTest::newRow("text without a dot keeps the previous address")
            << QStringList{"fileserver", "%USER%", "%PASSWORD%"} << QStringList{kInvalidUrl}
            << "127.0.0.1";
        QTest::newRow("all three cancelled keep everything")
            << QStringList{"-", "-", "-"} << QStringList{kInvalidUrl, kNoPassword} << "127.0.0.1";
        QTest::newRow("empty user name keeps the previous one")
            << QStringList{"%URL%", "", "%PASSWORD%"} << QStringList{} << "127.0.0.1";
        QTest::newRow("localhost accepted")
            << QStringList{"ftp://localhost:%PORT%", "%USER%", "%PASSWORD%"} << QStringList{}
            << "localhost";
    }

    void connectChecks()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(QString, rootText);
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_checks");

        FtpControl control;
        ScriptedPrompts prompts;
        QVERIFY(connectTo(control, prompts, server));
        QVERIFY(nodeByKey(control.treeServer, "ctl_checks/"));
        prompts.clear();

        for (const QString& a : answers) {
            if (a == "-") {
                prompts.cancelInput();
                continue;
            }
            QString text = a;
            text.replace("%URL%", server.url()).replace("%USER%", server.user);
            text.replace("%PASSWORD%", server.password).replace("%PORT%", QString::number(server.port));
            prompts.answerInput(text);
        }
        control.Command8->click();
        QVERIFY(waitIdle(control));

        QCOMPARE(messageTexts(prompts), messages);
        QVERIFY(prompts.unexpected().isEmpty());
        // The three questions, titled, without defaults; the password hidden.
        const QList<ScriptedPrompts::Asked> asked = prompts.asked();
        QCOMPARE(asked.size(), 3 + messages.size());
        const QStringList questions{"Enter URL to Connect", "Enter Username", "Enter Password"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(asked.at(i).text, questions.at(i));
            QCOMPARE(asked.at(i).title, QString("Orvane FTP"));
            QCOMPARE(asked.at(i).defaultText, QString());
            QCOMPARE(asked.at(i).echo, i == 2 ? InputEcho::Password : InputEcho::Normal);
        }
        // A new remote tree, and "dir" was sent all the same: the login folder is listed.
        QCOMPARE(control.treeServer->topLevelItemCount(), 1);
        QTreeWidgetItem* root = control.treeServer->topLevelItem(0);
        QCOMPARE(root->text(0), rootText);
        QCOMPARE(root->data(0, orvane::ftp::ImageRole).toInt(), 5);
        QVERIFY(root->isExpanded());
        QCOMPARE(control.lblServerFolder->text(), "Contents of \"" + rootText + "\"");
        QVERIFY(nodeByKey(control.treeServer, "ctl_checks/"));
        QCOMPARE(control.serverPath(), QString("root"));
        // The second Connect left the opened local volume as it was.
        QVERIFY(nodeByKey(control.treeClient, "/usr/"));
        QVERIFY(!nodeByKey(control.treeClient, "/***"));
    }

    void treeAndListOfAFolder()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_tree");
        server.makeFolder("ctl_tree/pub");
        server.makeFolder("ctl_tree/pub/incoming");
        server.makeFolder("ctl_tree/release1.2");
        server.writeFile("ctl_tree/index.html", "<html></html>");
        server.writeFile("ctl_tree/README", "read me");
        server.writeFile("ctl_tree/.profile", "hidden");
        server.writeFile("ctl_tree/pub/notes.txt", "notes");
        server.writeFile("ctl_tree/pub/incoming/upload.tar.gz", "data");
        server.writeFile("ctl_tree_marker.txt", "at the top");

        FtpControl control;
        ScriptedPrompts prompts;
        QVERIFY(connectTo(control, prompts, server));

        // The local side: the volumes under "MyComputer", "/" first and opened.
        QTreeWidgetItem* myComputer = nodeByKey(control.treeClient, "root");
        QVERIFY(myComputer);
        QCOMPARE(myComputer->text(0), QString("MyComputer"));
        QVERIFY(myComputer->childCount() > 0);
        QTreeWidgetItem* system = myComputer->child(0);
        QCOMPARE(system->data(0, orvane::ftp::KeyRole).toString(), QString("/"));
        QVERIFY(system->isExpanded());
        QTreeWidgetItem* usr = nodeByKey(control.treeClient, "/usr/");
        QVERIFY(usr);
        QCOMPARE(usr->data(0, orvane::ftp::ImageRole).toInt(), 6);
        QVERIFY(!nodeByKey(control.treeClient, "/***"));
        QVERIFY(nodeByKey(control.treeClient, "/usr/***"));

        // The login folder: our folder with its placeholder, the marker file.
        QTreeWidgetItem* folder = nodeByKey(control.treeServer, "ctl_tree/");
        QVERIFY(folder);
        QCOMPARE(childTexts(folder), QStringList{"***"});
        QVERIFY(control.lstServer->findItems("ctl_tree_marker.txt", Qt::MatchExactly).size() == 1);

        click(control, folder);
        QCOMPARE(control.serverPath(), QString("ctl_tree/"));
        QCOMPARE(childTexts(folder), (QStringList{"pub/", "release1.2/"}));
        QTreeWidgetItem* pub = nodeByKey(control.treeServer, "ctl_tree/pub/");
        QVERIFY(pub);
        QCOMPARE(pub->data(0, orvane::ftp::ImageRole).toInt(), 6);
        QCOMPARE(pub->data(0, orvane::ftp::SelectedImageRole).toInt(), 7);
        QCOMPARE(childTexts(pub), QStringList{"***"});
        QVERIFY(nodeByKey(control.treeServer, "ctl_tree/pub/***"));
        // Files only; README typed File; .profile and the folders not listed.
        QCOMPARE(listRows(control.lstServer), (QStringList{"README|File", "index.html|HTML"}));
        QTreeWidgetItem* index = control.lstServer->findItems("index.html", Qt::MatchExactly).value(0);
        QCOMPARE(index->data(0, orvane::ftp::KeyRole).toString(), QString("ctl_tree/index.html"));
        QCOMPARE(index->data(0, orvane::ftp::TagRole).toString(), QString("File"));
        QCOMPARE(index->text(2), QString());

        // Expanding names the folder.
        folder->setExpanded(false);
        folder->setExpanded(true);
        QCOMPARE(control.lblServerFolder->text(), QString("Contents of \"ctl_tree/\""));
        QCOMPARE(control.treeServer->currentItem(), folder);

        // Clicked again: the list refilled, no subfolder twice.
        click(control, folder);
        QCOMPARE(childTexts(folder), (QStringList{"pub/", "release1.2/"}));
        QCOMPARE(listRows(control.lstServer), (QStringList{"README|File", "index.html|HTML"}));

        // A folder with a subfolder, then one without: each lists its own files.
        click(control, pub);
        QCOMPARE(childTexts(pub), QStringList{"incoming/"});
        QCOMPARE(listRows(control.lstServer), QStringList{"notes.txt|TXT"});
        QTreeWidgetItem* incoming = nodeByKey(control.treeServer, "ctl_tree/pub/incoming/");
        click(control, incoming);
        QCOMPARE(control.serverPath(), QString("ctl_tree/pub/incoming/"));
        QCOMPARE(incoming->childCount(), 0);
        QCOMPARE(listRows(control.lstServer), QStringList{"upload.tar.gz|TAR.GZ"});

        // The root lists the login folder again, its items keyed "root" + name.
        click(control, control.treeServer->topLevelItem(0));
        QCOMPARE(control.serverPath(), QString("root"));
        QTreeWidgetItem* marker =
            control.lstServer->findItems("ctl_tree_marker.txt", Qt::MatchExactly).value(0);
        QVERIFY(marker);
        QCOMPARE(marker->data(0, orvane::ftp::KeyRole).toString(), QString("rootctl_tree_marker.txt"));
        QVERIFY(control.lstServer->findItems("notes.txt", Qt::MatchExactly).isEmpty());
        QVERIFY(prompts.messages().isEmpty());
        QFile::remove(server.pathOf("ctl_tree_marker.txt"));
    }

    void refreshKeepsFilesGoneFromTheServer()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_refresh");
        server.writeFile("ctl_refresh/old.htm", "old");

        FtpControl control;
        ScriptedPrompts prompts;
        QVERIFY(connectTo(control, prompts, server));
        click(control, nodeByKey(control.treeServer, "ctl_refresh/"));
        QCOMPARE(listRows(control.lstServer), QStringList{"old.htm|HTM"});

        QVERIFY(QFile::remove(server.pathOf("ctl_refresh/old.htm")));
        server.writeFile("ctl_refresh/new.css", "new");
        control.Command3->click();
        QVERIFY(control.Inet1().StillExecuting());   // Refresh does not wait
        QVERIFY(waitIdle(control));
        QCOMPARE(listRows(control.lstServer), (QStringList{"new.css|CSS", "old.htm|HTM"}));

        // A click on the folder lists it afresh.
        click(control, nodeByKey(control.treeServer, "ctl_refresh/"));
        QCOMPARE(listRows(control.lstServer), QStringList{"new.css|CSS"});
    }

    void refusedLoginGivesOneMessage()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        FtpControl control;
        ScriptedPrompts prompts;
        prompts.answerInput(server.url()).answerInput(server.user).answerInput("wrong password");
        control.Command8->click();
        QVERIFY(waitIdle(control));

        const QStringList messages = messageTexts(prompts);
        QCOMPARE(messages.size(), 1);
        const QString response = control.Inet1().ResponseInfo();
        QVERIFY2(response.contains("530"), qPrintable(response));
        QCOMPARE(messages.first(), "There was an error connecting to 127.0.0.1. " + response);
        QCOMPARE(prompts.messages().first().title, QString("orvane"));
        QCOMPARE(control.lblState->text(), QString());
        QCOMPARE(control.cursor().shape(), Qt::ArrowCursor);
        // The root stays, with nothing under it.
        QCOMPARE(control.treeServer->topLevelItemCount(), 1);
        QCOMPARE(control.treeServer->topLevelItem(0)->childCount(), 0);
    }

    void clickWhileExecutingIsRefused()
    {
        // A server that accepts and never greets keeps the operation running.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        QList<QTcpSocket*> held;
        connect(&silent, &QTcpServer::newConnection, &silent,
                [&] { held << silent.nextPendingConnection(); });

        FtpControl control;
        ScriptedPrompts prompts;
        prompts.answerInput(QString("ftp://127.0.0.1:%1").arg(silent.serverPort()))
            .answerInput("user")
            .answerInput("secret");
        control.mnuConnect->trigger();
        QVERIFY(control.Inet1().StillExecuting());
        QTRY_VERIFY(!held.isEmpty());
        QCOMPARE(control.lblState->text(), QString("Connecting ... "));
        QCOMPARE(control.cursor().shape(), Qt::WaitCursor);

        control.GetServerFolders("root", {"pub/"});
        QTreeWidgetItem* pub = nodeByKey(control.treeServer, "pub/");
        QVERIFY(pub);
        pub->setExpanded(true);
        click(control, pub);
        QCOMPARE(messageTexts(prompts), QStringList{"      Still Executing    "});
        QVERIFY(!pub->isExpanded());
        QCOMPARE(childTexts(pub), QStringList{"***"});   // nothing listed, nothing removed
        QCOMPARE(control.serverPath(), QString("root"));

        // Cancel ends it and waits until it has.
        control.Command7->click();
        QVERIFY(!control.Inet1().StillExecuting());
        QCOMPARE(prompts.messages().size(), 1);
    }

    void refusingAnUnverifiedPeerStops()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd_tls");
        FtpControl control;
        ScriptedPrompts prompts;
        prompts.answerInput(server.url()).answerInput(server.user).answerInput(server.password);
        prompts.answerMessage(MsgResult::No);
        control.Command8->click();
        QVERIFY(waitIdle(control));
        QTest::qWait(50);   // a retry would have been sent by now
        QVERIFY(!control.isBusy());
        QCOMPARE(prompts.messages().size(), 1);
        QVERIFY(control.Inet1().hasUntrustedPeer());
        QCOMPARE(control.treeServer->topLevelItem(0)->childCount(), 0);
        QCOMPARE(control.lblState->text(), QString());
    }

    void listsAndNavigates_data()
    {
        addServerRows();
    }

    void listsAndNavigates()
    {
        QFETCH(QString, fixture);
        ORVANE_REQUIRE_SERVER(server, fixture);
        server.makeFolder("ctl_nav");
        server.makeFolder("ctl_nav/site");
        server.makeFolder("ctl_nav/site/img");
        server.writeFile("ctl_nav/site/page one.htm", "<p>");
        server.writeFile("ctl_nav/site/img/logo.png", "png");
        server.writeFile("ctl_nav/Makefile", "all:");

        FtpControl control;
        ScriptedPrompts prompts;
        QVERIFY(connectTo(control, prompts, server));
        QVERIFY2(prompts.unexpected().isEmpty(), qPrintable(prompts.unexpected().join('\n')));
        if (needsTrust(server)) {
            // The unverifiable peer was shown, trusted, and the listing sent again.
            QCOMPARE(prompts.messages().size(), 1);
            const ScriptedPrompts::Asked& asked = prompts.messages().first();
            QCOMPARE(asked.buttons, MsgButtons::YesNo);
            QVERIFY2(asked.text.contains("127.0.0.1"), qPrintable(asked.text));
            QVERIFY2(asked.text.contains(control.Inet1().untrustedFingerprint())
                         || asked.text.contains(server.fingerprint),
                     qPrintable(asked.text));
        } else {
            QVERIFY(prompts.messages().isEmpty());
        }

        QTreeWidgetItem* top = nodeByKey(control.treeServer, "ctl_nav/");
        QVERIFY(top);
        click(control, top);
        QCOMPARE(childTexts(top), (QStringList{"site/"}));
        QCOMPARE(listRows(control.lstServer), QStringList{"Makefile|File"});

        click(control, nodeByKey(control.treeServer, "ctl_nav/site/"));
        QCOMPARE(childTexts(nodeByKey(control.treeServer, "ctl_nav/site/")), QStringList{"img/"});
        QCOMPARE(listRows(control.lstServer), QStringList{"page one.htm|HTM"});

        click(control, nodeByKey(control.treeServer, "ctl_nav/site/img/"));
        QCOMPARE(listRows(control.lstServer), QStringList{"logo.png|PNG"});
        QCOMPARE(prompts.messages().size(), needsTrust(server) ? 1 : 0);

        // Close ends the session and leaves both panes as they were.
        control.closeButton->click();
        QVERIFY(!control.Inet1().StillExecuting());
        QCOMPARE(listRows(control.lstServer), QStringList{"logo.png|PNG"});
        QVERIFY(nodeByKey(control.treeServer, "ctl_nav/site/img/"));
    }

    void serverMenuConnects()
    {
        ORVANE_REQUIRE_SERVER(server, "ftp_pyftpd");
        server.makeFolder("ctl_menu");
        FtpControl control;
        control.resize(800, 400);
        control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
        ScriptedPrompts prompts;

        // The right button on the remote tree shows its menu.
        QWidget* viewport = control.treeServer->viewport();
        QTest::mouseClick(viewport, Qt::RightButton, {}, QPoint(20, 20));
        QTRY_VERIFY(QApplication::activePopupWidget() == control.popServer);
        QStringList items;
        for (QAction* a : control.popServer->actions())
            items << a->text();
        QCOMPARE(items, (QStringList{"&File", "&Connect"}));
        control.popServer->close();
        QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(20, 20));
        QVERIFY(QApplication::activePopupWidget() == nullptr);

        prompts.answerInput(server.url()).answerInput(server.user).answerInput(server.password);
        control.mnuConnect->trigger();
        QVERIFY(waitIdle(control));
        QStringList defaults;
        for (const ScriptedPrompts::Asked& a : prompts.asked())
            defaults << a.defaultText;
        QCOMPARE(defaults, (QStringList{"127.0.0.1", "anonymous", "guest"}));
        QCOMPARE(prompts.asked().at(2).echo, InputEcho::Password);
        QVERIFY(nodeByKey(control.treeServer, "ctl_menu/"));
        // The menu's Connect leaves the local pane alone.
        QCOMPARE(control.treeClient->topLevelItemCount(), 0);
    }

    void liarFolderShowsWhatTheServerSent_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("a line in no known format")
            << "unix/" << QStringList{"ok.txt", "this line follows no listing format at all"};
        QTest::newRow("hostile names and a latin-1 name")
            << "hostile/" << QStringList{"back\\slash.txt", "café.txt", "ctl\x16name.txt", "ok.txt"};
    }

    // Lines the transport cannot read are files named by the whole line; names
    // that are paths are listed as sent, a latin-1 name readably.
    void liarFolderShowsWhatTheServerSent()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, files);
        ORVANE_REQUIRE_SERVER(server, "ftp_liar");
        FtpControl control;
        ScriptedPrompts prompts;
        QVERIFY(connectTo(control, prompts, server));
        click(control, nodeByKey(control.treeServer, folder));
        QVERIFY(waitIdle(control));
        QStringList shown;
        for (const QString& row : listRows(control.lstServer))   // the 100 000-character name aside
            if (!row.contains("LLLL"))
                shown << row.section('|', 0, 0);
        QCOMPARE(shown, files);
        QVERIFY(prompts.messages().isEmpty());
    }
};

QTEST_MAIN(tst_FtpControl)
#include "tst_ftpcontrol.moc"
