#pragma once
// One FTP control under test, with the prompts it asks and the operations it
// sends, reached the way a user reaches it: by the names of its parts.
#include "ItemRoles.h"
#include "ScriptedPrompts.h"
#include "TestServers.h"
#include "ftp.h"

#include <QAction>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QtTest>

namespace orvane::testing {

inline QTreeWidgetItem* nodeByKey(QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->data(0, ftp::KeyRole).toString() == key)
            return *it;
    return nullptr;
}

inline QStringList childTexts(const QTreeWidgetItem* node)
{
    QStringList out;
    for (int i = 0; node && i < node->childCount(); ++i)
        out << node->child(i)->text(0);
    return out;
}

// A model's rows in view order, each "name|type|size|tag" cut to `fields`.
inline QStringList rowsOf(const QAbstractItemModel* m, int fields = 4)
{
    QStringList out;
    for (int r = 0; r < m->rowCount(); ++r)
        out << QStringList{m->index(r, 0).data().toString(), m->index(r, 1).data().toString(),
                           m->index(r, 2).data().toString(), m->index(r, 0).data(ftp::TagRole).toString()}
                   .mid(0, fields).join('|');
    return out;
}

inline QStringList messageTexts(const ScriptedPrompts& prompts)
{
    QStringList out;
    for (const ScriptedPrompts::Asked& a : prompts.messages())
        out << a.text;
    return out;
}

struct Session {
    ftp::ftp c;
    ScriptedPrompts prompts;
    QSignalSpy sent{&c, &ftp::ftp::operationSent};

    template <class T> T* part(const char* name) const { return c.findChild<T*>(QLatin1String(name)); }
    QTreeWidget* tree(const char* name) const { return part<QTreeWidget>(name); }
    QTreeView* list(const char* name) const { return part<QTreeView>(name); }
    void press(const char* button) const { part<QPushButton>(button)->click(); }
    QString label(const char* name) const { return part<QLabel>(name)->text(); }
    bool waitIdle() { return QTest::qWaitFor([&] { return !c.isBusy(); }, 30000); }
    bool allAnswered() const { return prompts.unexpected().isEmpty(); }
    QStringList sentTexts() const
    {
        QStringList out;
        for (const QList<QVariant>& args : sent)
            out << args.at(0).toString();
        return out;
    }

    QStringList rows(const char* name) const { return rowsOf(list(name)->model()); }
    // "name|type" of each row, sorted.
    QStringList listRows(const char* name) const
    {
        QStringList out = rowsOf(list(name)->model(), 2);
        out.sort();
        return out;
    }
    QModelIndex indexOf(const char* name, const QString& text) const
    {
        const QAbstractItemModel* m = list(name)->model();
        return m->match(m->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly).value(0);
    }
    void select(const char* name, const QStringList& texts) const
    {
        list(name)->clearSelection();
        for (const QString& text : texts)
            list(name)->selectionModel()->select(indexOf(name, text),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    // Connect with the three answers (and Yes to an unverified peer).
    bool connectTo(const TestServer& server)
    {
        prompts.answerInput(server.url()).answerInput(server.user).answerInput(server.password);
        if (server.scheme != u"ftp")
            prompts.answerMessage(MsgResult::Yes);
        press("Command8");
        return waitIdle();
    }

    void click(QTreeWidgetItem* node)
    {
        QVERIFY(node);
        emit tree("treeServer")->itemClicked(node, 0);
    }
    void click(const QString& serverKey) { click(nodeByKey(tree("treeServer"), serverKey)); }

    // Opens the local tree down to `folder` and clicks it.
    void openLocal(const QString& folder)
    {
        QString key = "/";
        for (const QString& step : folder.split('/', Qt::SkipEmptyParts)) {
            if (QTreeWidgetItem* node = nodeByKey(tree("treeClient"), key))
                node->setExpanded(true);
            key += step + '/';
        }
        QTreeWidgetItem* node = nodeByKey(tree("treeClient"), key);
        QVERIFY2(node, qPrintable(key));
        tree("treeClient")->setCurrentItem(node);
        emit tree("treeClient")->itemClicked(node, 0);
    }

    // Connects, opens the remote folder keyed `folder` and the local `local`,
    // and forgets what was asked and sent so far.
    bool open(const TestServer& server, const QString& folder, const QString& local)
    {
        if (!connectTo(server))
            return false;
        click(folder);
        openLocal(local);
        prompts.clear();
        sent.clear();
        return !QTest::currentTestFailed();
    }

    // Enters the list with the data and drops it there, then waits for the
    // command; drag() drops the selection of one list on the other.
    void drop(const char* name, const QMimeData* data)
    {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list(name)->viewport(), &enter);
        QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, {});
        QCoreApplication::sendEvent(list(name)->viewport(), &dropped);
        QCoreApplication::processEvents();   // the command starts once the drop has returned
        QVERIFY(waitIdle());
    }
    void drag(const char* from, const char* to)
    {
        std::unique_ptr<QMimeData> data(list(from)->model()->mimeData(list(from)->selectionModel()->selectedIndexes()));
        drop(to, data.get());
    }
};

}  // namespace orvane::testing
