// Surface::ExecCommand and Surface::QueryStatus: each identifier goes to its
// page command (js/commands.js and its companions), to the clipboard or to
// one of the surface's own dialogs.
#include "SurfaceCommands.h"

#include "SurfaceCommandsValues.h"
#include "SurfacePrivate.h"

#include <QJsonArray>

namespace orvane {

using namespace commands;

namespace {

QJsonValue pageArgument(const CommandInfo& info, const QVariant& value)
{
    switch (info.id) {
    case DECMD_SETFONTNAME: return fontName(value);
    case DECMD_SETFONTSIZE: return htmlFontSize(value);
    case DECMD_SETFORECOLOR:
    case DECMD_SETBACKCOLOR: return htmlColor(value);
    case DECMD_INSERTTABLE: return tableEntry(value);
    default: return QJsonValue();
    }
}

}  // namespace

QVariant Surface::ExecCommand(int command, int option, const QVariant& value)
{
    const CommandInfo* info = findCommand(command);
    if (!info)
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           QStringLiteral("command %1 is not supported").arg(command));
    if (!info->readOnly && !d->editable())
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           QStringLiteral("command %1 needs an editable document").arg(command));

    const PageCommand page = [this](const char* name, const QJsonValue& arg) {
        const QJsonObject r = d->call(QStringLiteral("cmd.exec"),
                                      {QString::fromLatin1(name), arg}).toObject();
        if (!r.value(QLatin1String("ok")).toBool())
            throw SurfaceError(SurfaceErrorNumber::Unexpected,
                               QStringLiteral("%1: %2").arg(QString::fromLatin1(name),
                                                            r.value(QLatin1String("reason")).toString()));
        return r;
    };

    bool changed = false;
    QVariant answer;
    if (info->id == DECMD_UNDO && d->undoReplace()) {
        d->notifyDisplayChanged();
        return answer;
    }
    switch (info->route) {
    case Route::Page:
    case Route::Table:
        changed = page(info->page, pageArgument(*info, value)).value(QLatin1String("changed")).toBool();
        break;
    case Route::Query: {
        // The query's answer comes with the page's state.
        const QString name = QString::fromLatin1(info->page);
        const QJsonObject r = d->currentState().value(name).value_or(QJsonObject{});
        if (!r.value(QLatin1String("ok")).toBool())
            throw SurfaceError(SurfaceErrorNumber::Unexpected,
                               QStringLiteral("%1: %2").arg(name, r.value(QLatin1String("reason")).toString()));
        answer = r.value(QLatin1String("value")).toVariant();
        break;
    }
    case Route::Copy:
        copyToClipboard(page("copy", {}).value(QLatin1String("value")).toObject());
        break;
    case Route::Cut: {
        const QJsonObject r = page("cut", {});
        copyToClipboard(r.value(QLatin1String("value")).toObject());
        changed = r.value(QLatin1String("changed")).toBool();
        break;
    }
    case Route::Paste: {
        const QString html = clipboardFragment();
        if (html.isEmpty())
            throw SurfaceError(SurfaceErrorNumber::Unexpected, QStringLiteral("the clipboard is empty"));
        changed = page("paste", html).value(QLatin1String("changed")).toBool();
        break;
    }
    case Route::Find: changed = commands::findText(page, option, value); break;
    case Route::Link: changed = commands::hyperlink(page, option, value); break;
    case Route::Image: changed = commands::image(page, option, value); break;
    case Route::Font: changed = commands::font(page, option); break;
    }
    if (changed)
        d->markDirty();
    // A query changes nothing to show; announcing it would make a handler
    // that queries on DisplayChanged trigger itself forever.
    if (info->route != Route::Query)
        d->notifyDisplayChanged();
    return answer;
}

int Surface::QueryStatus(int command)
{
    const CommandInfo* info = findCommand(command);
    if (!info)
        return DECMDF_NOTSUPPORTED;
    if (!info->readOnly && !d->editable())
        return DECMDF_DISABLED;
    if (info->route == Route::Paste && !clipboardHasContent())
        return DECMDF_DISABLED;
    const int state = d->currentState().status(QString::fromLatin1(info->page)).value_or(DECMDF_NOTSUPPORTED);
    // A page rewrite the page's own history cannot see can still be undone.
    if (command == DECMD_UNDO && state == DECMDF_DISABLED && !d->replacedTexts.isEmpty())
        return DECMDF_ENABLED;
    return state;
}

}  // namespace orvane
