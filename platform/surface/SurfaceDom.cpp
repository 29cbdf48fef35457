// The document object: selection, ranges, the paste route and page colours.
#include "SurfacePrivate.h"

namespace orvane {

namespace {

QString pageColor(Surface::Private* d, const char* name)
{
    return d->call(QStringLiteral("page.color"), {QString::fromLatin1(name)}).toString();
}

void setPageColor(Surface::Private* d, const char* name, const QString& value)
{
    d->ensureChangeable();
    d->call(QStringLiteral("page.setColor"), {QString::fromLatin1(name), value});
    d->notifyDisplayChanged();
}

}  // namespace

void Surface::Private::ensureChangeable() const
{
    if (mode == Surface::Mode::Browse)
        throw SurfaceError(SurfaceErrorNumber::Unexpected, QStringLiteral("the preview is read-only"));
    if (verbatimOnly)
        throw SurfaceError(SurfaceErrorNumber::Unexpected,
                           QStringLiteral("this document is kept as written and cannot be changed"));
}

void SurfaceRange::pasteHTML(const QString& html)
{
    m_surface->d->ensureChangeable();
    m_surface->d->call(QStringLiteral("selection.pasteHTML"), {html});
    m_surface->d->notifyDisplayChanged();
}

QString SurfaceRange::text() const
{
    return m_surface->d->call(QStringLiteral("selection.text")).toString();
}

QString SurfaceSelection::type() const
{
    return m_surface->d->call(QStringLiteral("selection.type")).toString();
}

QString SurfaceDocument::bgColor() const { return pageColor(m_surface->d.get(), "bgcolor"); }
void SurfaceDocument::setBgColor(const QString& c) { setPageColor(m_surface->d.get(), "bgcolor", c); }
QString SurfaceDocument::linkColor() const { return pageColor(m_surface->d.get(), "link"); }
void SurfaceDocument::setLinkColor(const QString& c) { setPageColor(m_surface->d.get(), "link", c); }
QString SurfaceDocument::vlinkColor() const { return pageColor(m_surface->d.get(), "vlink"); }
void SurfaceDocument::setVlinkColor(const QString& c) { setPageColor(m_surface->d.get(), "vlink", c); }
QString SurfaceDocument::alinkColor() const { return pageColor(m_surface->d.get(), "alink"); }
void SurfaceDocument::setAlinkColor(const QString& c) { setPageColor(m_surface->d.get(), "alink", c); }

}  // namespace orvane
