// The program's context menu on the design surface: a right click asks the
// page for its state after the click without waiting, then emits
// ShowContextMenu, whose handler finds every state it asks for at hand; its
// SetContextMenu answer pops up a QMenu there, and a pick emits
// ContextMenuAction(index). The browser's own menu never shows in edit mode.
#include "SurfaceCommands.h"

#include "Surface.h"

#include <QMenu>
#include <QPointer>
#include <QWebEngineView>

namespace orvane {

namespace {

class ContextMenuHook : public QObject {
    Q_OBJECT
public:
    ContextMenuHook(Surface* surface, QWebEngineView* view, commands::RefreshState refresh)
        : QObject(surface), m_surface(surface), m_view(view), m_refresh(std::move(refresh))
    {
        setObjectName(QStringLiteral("orvane_context_menu"));
        // No browser menu: a right click asks the program for its own.
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, &ContextMenuHook::requested);
    }

    void setMenu(const QStringList& texts, const QList<int>& states)
    {
        if (m_asking) {
            m_texts = texts;
            m_states = states;
            m_answered = true;
        } else {
            popup(texts, states);
        }
    }

private:
    void requested(const QPoint& pos)
    {
        QPointer<ContextMenuHook> self(this);
        m_refresh([self, pos] {
            if (self)
                self->ask(pos);
        });
    }

    void ask(const QPoint& pos)
    {
        m_last = pos;
        m_answered = false;
        m_asking = true;
        emit m_surface->ShowContextMenu(pos.x(), pos.y());
        m_asking = false;
        if (m_answered)
            popup(m_texts, m_states);
    }

    void popup(const QStringList& texts, const QList<int>& states)
    {
        if (m_menu)
            m_menu->deleteLater();
        if (texts.isEmpty())
            return;
        m_menu = new QMenu(m_view);
        m_menu->setAttribute(Qt::WA_DeleteOnClose);
        for (int i = 0; i < texts.size(); ++i) {
            if (texts[i].isEmpty()) {
                m_menu->addSeparator();
                continue;
            }
            QAction* action = m_menu->addAction(texts[i]);
            action->setEnabled(states.value(i) != 2);
            connect(action, &QAction::triggered, m_surface, [s = m_surface, i] { emit s->ContextMenuAction(i); });
        }
        m_menu->popup(m_view->mapToGlobal(m_last));
    }

    Surface* m_surface;
    QWebEngineView* m_view;
    commands::RefreshState m_refresh;
    QPoint m_last;
    bool m_asking = false;
    bool m_answered = false;
    QStringList m_texts;
    QList<int> m_states;
    QPointer<QMenu> m_menu;
};

}  // namespace

namespace commands {

void attachContextMenu(Surface* surface, QWebEngineView* view, RefreshState refresh)
{
    new ContextMenuHook(surface, view, std::move(refresh));
}

void showContextMenu(Surface* surface, const QStringList& texts, const QList<int>& states)
{
    if (auto* hook = surface->findChild<ContextMenuHook*>(QStringLiteral("orvane_context_menu"),
                                                           Qt::FindDirectChildrenOnly))
        hook->setMenu(texts, states);
}

}  // namespace commands

void Surface::SetContextMenu(const QStringList& texts, const QList<int>& states)
{
    commands::showContextMenu(this, texts, states);
}

}  // namespace orvane

#include "SurfaceCommandsMenu.moc"
