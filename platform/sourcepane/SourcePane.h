#pragma once
// The source pane: a QScintilla editor with the rich text box's operations.
// Positions and lengths are QString character positions (UTF-16 code units).
// The text read back equals the text written, byte for byte (CR LF and lone CR
// kept); Enter and paste insert the page's own line ending. Colours use the
// Windows encoding (red in the lowest byte), which is also Scintilla's.

#include <Qsci/qsciscintilla.h>

#include <QHash>

namespace orvane {

class SourcePane : public QsciScintilla {
    Q_OBJECT
public:
    explicit SourcePane(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    // Replaces the whole text, takes its line ending for Enter and paste, and
    // puts the caret at the start. The new text is unedited (isModified false).
    void setText(const QString& text) override;
    // Length of the text in QString characters.
    int TextLength() const;

    int SelStart() const;
    // Moves the caret to index, leaving nothing selected.
    void setSelStart(int index);
    int SelLength() const;
    // Selects length characters from SelStart.
    void setSelLength(int length);
    QString SelText() const { return selectedText(); }
    // Replaces the selection (or inserts at the caret); the caret ends after it.
    void setSelText(const QString& text);
    // Colour of the first selected character (of the one at the caret when
    // nothing is selected).
    quint32 SelColor() const;
    // Colours the selected characters.
    void setSelColor(quint32 colour);

    // Case-insensitive search (non-ASCII letters too) for text starting in
    // [start, end) and ending by end; end < 0 means the end of the text.
    // Selects the match and returns its position, or returns -1 and leaves the
    // selection alone.
    int Find(const QString& text, int start = 0, int end = -1);

    // Colours every "<...>" in tagColour and the rest in textColour, in one
    // styling pass. A "<" with no later ">" colours the rest of the text.
    void colorTags(quint32 tagColour, quint32 textColour);

signals:
    void LostFocus();
    void MouseMove();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    long bytePosition(int index) const;
    int charIndex(long bytePos) const;
    long byteLength() const;
    // Builds Scintilla's UTF-16 line index, which positions are converted through.
    void ensureLineIndex() const;
    int styleFor(quint32 colour);
    void adoptLineEnding(const QString& text);

    QHash<quint32, int> m_styles;
    int m_nextStyle = 1;
    mutable bool m_lineIndex = false;  // whether the UTF-16 line index is allocated
};

}  // namespace orvane
