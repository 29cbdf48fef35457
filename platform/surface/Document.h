#pragma once
// The page the editor holds: its file, the encoding of that file, the window's
// file dialog the page's files go through, and whether the page changed since
// it was last loaded or saved. The design surface records its loads and saves
// here; everybody else asks.

#include "PageCodec.h"

#include <QString>
#include <functional>
#include <optional>

namespace orvane {

// The design surface's change record: `texts` grows with every text handed to
// the surface and every change the page itself cannot see, `edits` counts the
// page's own edits since its text was last loaded.
struct ChangeRecord {
    quint64 texts = 0;
    quint64 edits = 0;
    bool operator==(const ChangeRecord&) const = default;
};

// The file dialog of the page's files (`CommonDialog1`): its filter, the filter
// entry chosen (1 HTML, 2 ASP) and the last file chosen.
struct FileDialogState {
    QString filter;
    int filterIndex = 1;
    QString fileName;
};

class Document {
public:
    // surface gives the design surface's change record (it may throw when the
    // surface cannot answer); paneEdited tells whether the source pane's text
    // was edited since it was last filled or handed to the surface.
    void follow(std::function<ChangeRecord()> surface, std::function<bool()> paneEdited);

    // The surface's file: a file path, a URL or empty (CurrentDocumentPath).
    QString path() const { return m_path; }
    // The file the page's text was last read from or written to in Source
    // mode; empty once the surface loads or saves a file itself.
    QString sourcePath() const { return m_sourcePath; }
    // Where Source mode saves without asking: its own file, else the
    // surface's file when that is local; empty when there is none.
    QString savePath() const;
    // The encoding of the file the page came from; none for a new page.
    const std::optional<PageEncoding>& encoding() const { return m_encoding; }

    FileDialogState& CommonDialog1() { return m_dialog; }
    const FileDialogState& CommonDialog1() const { return m_dialog; }

    // The surface started a new page, loaded a file or URL, or saved to path.
    void surfaceNew(ChangeRecord now);
    void surfaceLoaded(const QString& path, const PageEncoding& encoding, ChangeRecord now);
    void surfaceSaved(const QString& path, ChangeRecord now);
    // Source mode read or wrote this file.
    void sourceFile(const QString& path, const PageEncoding& encoding);

    // The page as it stands now counts as saved.
    void markSaved();
    // Unsaved work: the source pane was edited, or the surface changed since
    // the page was last loaded or saved. A surface that cannot answer counts
    // as changed.
    bool isModified() const;

private:
    std::function<ChangeRecord()> m_surface;
    std::function<bool()> m_paneEdited;
    QString m_path;
    QString m_sourcePath;
    std::optional<PageEncoding> m_encoding;
    FileDialogState m_dialog;
    std::optional<ChangeRecord> m_saved;
};

}  // namespace orvane
