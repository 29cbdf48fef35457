#include "SourcePane.h"

#include "TagStyles.h"

#include <QFocusEvent>
#include <QFont>

#include <algorithm>
#include <memory>

namespace orvane {

namespace {
constexpr int kUtf16 = QsciScintillaBase::SC_LINECHARACTERINDEX_UTF16;
constexpr quint32 kBlack = 0;
}  // namespace

SourcePane::SourcePane(QWidget* parent) : QsciScintilla(parent)
{
    setUtf8(true);
    SendScintilla(SCI_SETLEXER, SCLEX_CONTAINER);
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1);

    const QByteArray face = QByteArrayLiteral("Arial");
    SendScintilla(SCI_STYLESETFONT, STYLE_DEFAULT, face.constData());
    SendScintilla(SCI_STYLESETSIZE, STYLE_DEFAULT, 10L);
    SendScintilla(SCI_STYLESETFORE, STYLE_DEFAULT, long(kBlack));
    SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, 0xFFFFFFL);
    SendScintilla(SCI_STYLECLEARALL);
    m_styles.insert(kBlack, 0);

    for (int margin = 0; margin < 5; ++margin)
        SendScintilla(SCI_SETMARGINWIDTHN, margin, 0L);
    SendScintilla(SCI_SETMARGINLEFT, 0, 4L);
    setEolMode(EolWindows);
    viewport()->setMouseTracking(true);
}

void SourcePane::setText(const QString& text)
{
    // A whole new text need not keep the line index up to date: it is built
    // again when a position is next asked for.
    if (m_lineIndex) {
        SendScintilla(SCI_RELEASELINECHARACTERINDEX, kUtf16);
        m_lineIndex = false;
    }
    QsciScintilla::setText(text);
    adoptLineEnding(text);
    SendScintilla(SCI_GOTOPOS, 0L);
    setModified(false);
}

// The first line ending of the text decides; a text without one keeps CR LF,
// the program's own line break.
void SourcePane::adoptLineEnding(const QString& text)
{
    const auto end = text.cend();
    const auto it = std::find_if(text.cbegin(), end,
                                 [](QChar c) { return c == u'\r' || c == u'\n'; });
    if (it == end || (*it == u'\r' && it + 1 != end && it[1] == u'\n'))
        setEolMode(EolWindows);
    else
        setEolMode(*it == u'\r' ? EolMac : EolUnix);
}

int SourcePane::TextLength() const { return charIndex(byteLength()); }

void SourcePane::ensureLineIndex() const
{
    if (m_lineIndex)
        return;
    SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, kUtf16);
    m_lineIndex = true;
}

long SourcePane::byteLength() const { return SendScintilla(SCI_GETLENGTH); }

// Converts a QString position to a byte position through the UTF-16 line
// index. A position inside a surrogate pair rounds down to the pair's start.
long SourcePane::bytePosition(int index) const
{
    if (index <= 0)
        return 0;
    if (index >= TextLength())
        return byteLength();
    ensureLineIndex();
    const long line = SendScintilla(SCI_LINEFROMINDEXPOSITION, long(index), long(kUtf16));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    const long offset = index - SendScintilla(SCI_INDEXPOSITIONFROMLINE, line, long(kUtf16));
    if (offset <= 0)
        return lineStart;
    const long pos = SendScintilla(SCI_POSITIONRELATIVECODEUNITS, lineStart, offset);
    if (pos > 0)
        return pos;
    return offset > 1 ? SendScintilla(SCI_POSITIONRELATIVECODEUNITS, lineStart, offset - 1)
                      : lineStart;
}

int SourcePane::charIndex(long bytePos) const
{
    ensureLineIndex();
    const long line = SendScintilla(SCI_LINEFROMPOSITION, bytePos);
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, line);
    return int(SendScintilla(SCI_INDEXPOSITIONFROMLINE, line, long(kUtf16))
               + SendScintilla(SCI_COUNTCODEUNITS, lineStart, bytePos));
}

int SourcePane::SelStart() const { return charIndex(SendScintilla(SCI_GETSELECTIONSTART)); }

void SourcePane::setSelStart(int index)
{
    const long pos = bytePosition(index);
    SendScintilla(SCI_SETSEL, pos, pos);
}

int SourcePane::SelLength() const
{
    return charIndex(SendScintilla(SCI_GETSELECTIONEND)) - SelStart();
}

void SourcePane::setSelLength(int length)
{
    const int start = SelStart();
    const long anchor = bytePosition(start);
    SendScintilla(SCI_SETSEL, anchor, bytePosition(start + qMax(0, length)));
}

void SourcePane::setSelText(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    SendScintilla(SCI_REPLACESEL, bytes.constData());
}

quint32 SourcePane::SelColor() const
{
    const long style = SendScintilla(SCI_GETSTYLEAT, SendScintilla(SCI_GETSELECTIONSTART));
    return quint32(SendScintilla(SCI_STYLEGETFORE, style)) & 0xFFFFFFu;
}

int SourcePane::styleFor(quint32 colour)
{
    colour &= 0xFFFFFFu;
    if (const auto it = m_styles.constFind(colour); it != m_styles.constEnd())
        return *it;
    // Styles 32 to 39 are Scintilla's own; 255 colours are plenty for one page.
    if (m_nextStyle == STYLE_DEFAULT)
        m_nextStyle = STYLE_LASTPREDEFINED + 1;
    const int style = m_nextStyle <= 255 ? m_nextStyle++ : 255;
    SendScintilla(SCI_STYLESETFORE, style, long(colour));
    m_styles.insert(colour, style);
    return style;
}

void SourcePane::setSelColor(quint32 colour)
{
    const long from = SendScintilla(SCI_GETSELECTIONSTART);
    const long to = SendScintilla(SCI_GETSELECTIONEND);
    if (to <= from)
        return;
    const int style = styleFor(colour);
    SendScintilla(SCI_STARTSTYLING, from, 0L);
    SendScintilla(SCI_SETSTYLING, to - from, long(style));
}

void SourcePane::colorTags(quint32 tagColour, quint32 textColour)
{
    const long n = byteLength();
    if (n == 0)
        return;
    const int tagStyle = styleFor(tagColour);
    const int textStyle = styleFor(textColour);
    const auto* text = reinterpret_cast<const char*>(SendScintilla(SCI_GETCHARACTERPOINTER));
    std::unique_ptr<char[]> styles(new char[size_t(n)]);
    markTags(text, size_t(n), styles.get(), char(tagStyle), char(textStyle));
    SendScintilla(SCI_STARTSTYLING, 0L, 0L);
    SendScintilla(SCI_SETSTYLINGEX, n, styles.get());
}

int SourcePane::Find(const QString& needle, int start, int end)
{
    if (needle.isEmpty())
        return -1;
    const QString haystack = Text();
    if (end < 0 || end > haystack.size())
        end = int(haystack.size());
    const qsizetype at = haystack.indexOf(needle, qMax(0, start), Qt::CaseInsensitive);
    if (at < 0 || at + needle.size() > end)
        return -1;
    setSelStart(int(at));
    setSelLength(int(needle.size()));
    return int(at);
}

// Leaving for a popup (the pane's own context menu) or another window is not
// losing the focus within the window.
void SourcePane::focusOutEvent(QFocusEvent* event)
{
    QsciScintilla::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit LostFocus();
}

void SourcePane::mouseMoveEvent(QMouseEvent* event)
{
    QsciScintilla::mouseMoveEvent(event);
    emit MouseMove();
}

}  // namespace orvane
