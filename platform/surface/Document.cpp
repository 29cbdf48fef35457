#include "Document.h"

#include "SurfaceTypes.h"

namespace orvane {

void Document::follow(std::function<ChangeRecord()> surface, std::function<bool()> paneEdited)
{
    m_surface = std::move(surface);
    m_paneEdited = std::move(paneEdited);
}

QString Document::savePath() const
{
    if (!m_sourcePath.isEmpty())
        return m_sourcePath;
    return m_path.contains(QLatin1String("://")) ? QString() : m_path;
}

void Document::surfaceNew(ChangeRecord now)
{
    m_path.clear();
    m_sourcePath.clear();
    m_encoding.reset();
    m_saved = now;
}

void Document::surfaceLoaded(const QString& path, const PageEncoding& encoding, ChangeRecord now)
{
    m_path = path;
    m_sourcePath.clear();
    m_encoding = encoding;
    m_saved = now;
}

void Document::surfaceSaved(const QString& path, ChangeRecord now)
{
    m_path = path;
    m_sourcePath.clear();
    m_saved = now;
}

void Document::sourceFile(const QString& path, const PageEncoding& encoding)
{
    m_sourcePath = path;
    m_encoding = encoding;
}

void Document::markSaved()
{
    try {
        m_saved = m_surface ? m_surface() : ChangeRecord{};
    } catch (const SurfaceError&) {
        m_saved.reset();
    }
}

bool Document::isModified() const
{
    if (m_paneEdited && m_paneEdited())
        return true;
    if (!m_surface)
        return false;
    try {
        return m_surface() != m_saved;
    } catch (const SurfaceError&) {
        return true;
    }
}

}  // namespace orvane
