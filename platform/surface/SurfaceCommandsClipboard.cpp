// CUT, COPY and PASTE through the system clipboard, as HTML and text.
#include "SurfaceCommands.h"

#include "SurfaceCommandsValues.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace orvane::commands {

void copyToClipboard(const QJsonObject& selection)
{
    auto* mime = new QMimeData;
    mime->setHtml(selection.value(QLatin1String("html")).toString());
    mime->setText(selection.value(QLatin1String("text")).toString());
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool clipboardHasContent()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    return mime && ((mime->hasHtml() && !mime->html().isEmpty())
                    || (mime->hasText() && !mime->text().isEmpty()));
}

QString clipboardFragment()
{
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!mime)
        return {};
    if (mime->hasHtml()) {
        const QString html = fragmentFromClipboardHtml(mime->html());
        if (!html.trimmed().isEmpty())
            return html;
    }
    return mime->hasText() ? htmlFromPlainText(mime->text()) : QString();
}

}  // namespace orvane::commands
