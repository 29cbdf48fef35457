// The surface's own dialogs (find, hyperlink, image, font), asked through the
// prompt seam. Every answer is gathered before the page changes, so a
// cancelled dialog changes nothing.
#include "SurfaceCommands.h"

#include "Prompts.h"
#include "SurfaceTypes.h"

#include <QColor>
#include <QJsonObject>

namespace orvane::commands {

namespace {

bool prompting(int option)
{
    return option != OLECMDEXECOPT_DONTPROMPTUSER;
}

// The value given instead of a dialog's answer.
QString givenText(const QVariant& value, const char* what)
{
    const QString text = value.toString();
    if (text.isEmpty())
        throw SurfaceError(SurfaceErrorNumber::InvalidArgument,
                           QStringLiteral("%1 needs a value when it may not prompt").arg(QLatin1String(what)));
    return text;
}

bool changed(const QJsonObject& r)
{
    return r.value(QLatin1String("changed")).toBool();
}

}  // namespace

bool findText(const PageCommand& page, int option, const QVariant& value)
{
    QString text;
    if (prompting(option)) {
        const InputAnswer a = prompts().inputBox(QStringLiteral("Find what:"), QStringLiteral("Find"),
                                                 value.toString());
        if (!a.accepted || a.text.isEmpty())
            return false;
        text = a.text;
    } else {
        text = givenText(value, "FINDTEXT");
    }
    const bool found = page("find", text).value(QLatin1String("value")).toBool();
    if (!found && prompting(option))
        prompts().messageBox(QStringLiteral("Cannot find \"%1\".").arg(text), MsgButtons::OK,
                             MsgIcon::Information, QStringLiteral("Find"));
    if (!found && !prompting(option))
        throw SurfaceError(SurfaceErrorNumber::Unexpected, QStringLiteral("\"%1\" not found").arg(text));
    return false;
}

bool hyperlink(const PageCommand& page, int option, const QVariant& value)
{
    QString url;
    if (prompting(option)) {
        const QJsonValue current = page("linkAt", {}).value(QLatin1String("value"));
        const InputAnswer a = prompts().inputBox(
            QStringLiteral("URL:"), QStringLiteral("Hyperlink"),
            current.isString() ? current.toString() : QStringLiteral("http://"));
        if (!a.accepted || a.text.trimmed().isEmpty())
            return false;
        url = a.text.trimmed();
    } else {
        url = givenText(value, "HYPERLINK").trimmed();
    }
    return changed(page("makeLink", url));
}

bool image(const PageCommand& page, int option, const QVariant& value)
{
    QJsonObject img;
    if (prompting(option)) {
        const QJsonObject current = page("imageAt", {}).value(QLatin1String("value")).toObject();
        const InputAnswer src = prompts().inputBox(QStringLiteral("Picture source:"), QStringLiteral("Image"),
                                                   current.value(QLatin1String("src")).toString());
        if (!src.accepted || src.text.trimmed().isEmpty())
            return false;
        const InputAnswer alt = prompts().inputBox(QStringLiteral("Alternative text:"), QStringLiteral("Image"),
                                                   current.value(QLatin1String("alt")).toString());
        if (!alt.accepted)
            return false;
        img = {{QStringLiteral("src"), src.text.trimmed()}, {QStringLiteral("alt"), alt.text}};
    } else {
        img = {{QStringLiteral("src"), givenText(value, "IMAGE").trimmed()}, {QStringLiteral("alt"), QString()}};
    }
    return changed(page("putImage", img));
}

bool font(const PageCommand& page, int option)
{
    if (!prompting(option))
        throw SurfaceError(SurfaceErrorNumber::InvalidArgument, QStringLiteral("FONT always asks"));
    const QJsonObject current = page("fontAt", {}).value(QLatin1String("value")).toObject();
    const int currentSize = current.value(QLatin1String("size")).toInt();

    const InputAnswer face = prompts().inputBox(QStringLiteral("Font name:"), QStringLiteral("Font"),
                                                current.value(QLatin1String("face")).toString());
    if (!face.accepted)
        return false;
    const InputAnswer size = prompts().inputBox(QStringLiteral("Size (1 to 7):"), QStringLiteral("Font"),
                                                currentSize > 0 ? QString::number(currentSize) : QString());
    if (!size.accepted)
        return false;
    bool ok = true;
    const int newSize = size.text.trimmed().isEmpty() ? 0 : size.text.trimmed().toInt(&ok);
    if (!ok || newSize < 0 || newSize > 7) {
        prompts().beep();
        return false;
    }
    const ColorAnswer color = prompts().chooseColor(
        QColor::fromString(current.value(QLatin1String("color")).toString()), QStringLiteral("Font Color"));
    if (!color.accepted)
        return false;

    QJsonObject apply;
    const QString newFace = face.text.trimmed();
    if (!newFace.isEmpty() && newFace != current.value(QLatin1String("face")).toString())
        apply.insert(QStringLiteral("face"), newFace);
    if (newSize > 0 && newSize != currentSize)
        apply.insert(QStringLiteral("size"), newSize);
    const QString newColor = color.color.name(QColor::HexRgb).toUpper();
    if (color.color.isValid() && newColor != current.value(QLatin1String("color")).toString())
        apply.insert(QStringLiteral("color"), newColor);
    if (apply.isEmpty())
        return false;
    return changed(page("applyFont", apply));
}

}  // namespace orvane::commands
