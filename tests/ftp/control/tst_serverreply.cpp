// The FTP control's remote list against our lying server: lines the
// transport cannot read are shown whole as files, names that are paths are
// not offered, and names in another encoding are shown readably.
#include "ItemRoles.h"
#include "ScriptedPrompts.h"
#include "TestServers.h"
#include "ftp.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

using namespace orvane;
using FtpControl = orvane::ftp::ftp;

namespace {

QTreeWidgetItem* nodeByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, orvane::ftp::KeyRole).toString() == key)
            return *it;
    return nullptr;
}

QStringList listTexts(const QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    out.sort();
    return out;
}

}  // namespace

class tst_ServerReply : public QObject {
    Q_OBJECT
private slots:
    void folderShowsWhatTheServerSent_data();
    void folderShowsWhatTheServerSent();
};

void tst_ServerReply::folderShowsWhatTheServerSent_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("a line in no known format")
        << "unix/" << QStringList{"ok.txt", "this line follows no listing format at all"};
    QTest::newRow("hostile names and a latin-1 name")
        << "hostile/" << QStringList{"back\\slash.txt", "café.txt", "ctl\x16name.txt", "ok.txt"};
}

void tst_ServerReply::folderShowsWhatTheServerSent()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, files);
    ORVANE_REQUIRE_SERVER(server, "ftp_liar");
    FtpControl control;
    ScriptedPrompts prompts;
    prompts.answerInput(server.url()).answerInput(server.user).answerInput(server.password);
    control.Command8->click();
    QVERIFY(QTest::qWaitFor([&] { return !control.isBusy(); }, 30000));
    QTreeWidgetItem* node = nodeByKey(control.treeServer, folder);
    QVERIFY(node);
    emit control.treeServer->itemClicked(node, 0);
    QVERIFY(QTest::qWaitFor([&] { return !control.isBusy(); }, 30000));
    QStringList shown = listTexts(control.lstServer);
    // The 100 000-character name is a file like any other.
    shown.removeIf([](const QString& t) { return t.startsWith(QStringLiteral("LLLL")); });
    QCOMPARE(shown, files);
    QVERIFY(prompts.messages().isEmpty());
}

QTEST_MAIN(tst_ServerReply)
#include "tst_serverreply.moc"
