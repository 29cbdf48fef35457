#pragma once
// What the control's tests share: finding nodes and items, reading the
// prompts asked, connecting to a fixture server and waiting for the control.

#include "ItemRoles.h"
#include "ScriptedPrompts.h"
#include "TestServers.h"
#include "ftp.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

namespace orvane::testing {

using FtpControl = orvane::ftp::ftp;

inline QTreeWidgetItem* nodeByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        if ((*it)->data(0, orvane::ftp::KeyRole).toString() == key)
            return *it;
    }
    return nullptr;
}

inline QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList out;
    for (int i = 0; node && i < node->childCount(); ++i)
        out << node->child(i)->text(0);
    return out;
}

inline QStringList listRows(const QTreeWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        out << item->text(0) + '|' + item->text(1);
    }
    out.sort();
    return out;
}

inline QStringList messageTexts(const ScriptedPrompts& prompts)
{
    QStringList out;
    for (const ScriptedPrompts::Asked& a : prompts.messages())
        out << a.text;
    return out;
}

inline bool waitIdle(const FtpControl& control)
{
    return QTest::qWaitFor([&] { return !control.isBusy(); }, 30000);
}

// A "fixture" column with a row for each server the control is tried on.
inline void addServerRows()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("FTP, pyftpdlib") << "ftp_pyftpd";
    QTest::newRow("FTP, vsftpd") << "ftp_vsftpd";
    QTest::newRow("explicit FTPS, pyftpdlib") << "ftp_pyftpd_tls";
    QTest::newRow("explicit FTPS, vsftpd") << "ftp_vsftpd_tls";
    QTest::newRow("SFTP") << "ftp_sshd";
}

inline bool needsTrust(const TestServer& server)
{
    return server.scheme != QLatin1String("ftp");
}

// Connect button with the three answers, then waits for the first listing.
inline bool connectTo(FtpControl& control, ScriptedPrompts& prompts, const TestServer& server,
               const QString& url = QString())
{
    prompts.answerInput(url.isEmpty() ? server.url() : url)
        .answerInput(server.user)
        .answerInput(server.password);
    if (needsTrust(server))
        prompts.answerMessage(MsgResult::Yes);
    control.Command8->click();
    return waitIdle(control);
}

inline void click(FtpControl& control, QTreeWidgetItem* node)
{
    QVERIFY(node);
    emit control.treeServer->itemClicked(node, 0);
}

}  // namespace orvane::testing
