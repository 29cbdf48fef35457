#pragma once
// The main window: three surfaces stacked under the mode tabs (the design
// surface, the HTML source pane and the preview), the side bars and the
// status bar. Source mode is current exactly while the source pane is not
// hidden (isSourceMode); the selected tab only decides what is in front.

#include <QStringList>
#include <QWidget>
#include <memory>

class QComboBox;
class QFrame;
class QLabel;
class QStatusBar;

namespace orvane {
class CommandWiring;
class Document;
class MainWindowParts;
class MenuBar;
class SourcePane;
class Surface;
class TabStrip;
class Toolbar;
}  // namespace orvane

class mainFrm : public QWidget {
    Q_OBJECT
public:
    explicit mainFrm(QWidget* parent = nullptr);
    ~mainFrm() override;

    // The page: its file, format, saved state and whether it is modified.
    orvane::Document& document() const { return *m_document; }
    orvane::Surface* DHTMLEdit1() const { return m_DHTMLEdit1; }
    // The preview, made on first use.
    orvane::Surface* DHTMLEdit2();
    orvane::SourcePane* rch() const { return m_rch; }
    orvane::TabStrip* TabStrip1() const { return m_TabStrip1; }
    QFrame* Frame1(int index) const { return m_Frame1[index]; }
    QComboBox* FontCombo() const { return m_FontCombo; }
    QComboBox* FontSizeCombo() const { return m_FontSizeCombo; }
    QStatusBar* StatusBar1() const { return m_StatusBar1; }
    orvane::MenuBar* menuBar() const { return m_menuBar; }
    orvane::Toolbar* toolbar() const { return m_toolbar; }
    // Runs the menus' and the toolbar's commands; windows are wired with setWindow.
    orvane::CommandWiring* commands() const { return m_commands; }
    // The document commands, toolbar state, context menu, layout and shortcuts.
    orvane::MainWindowParts* parts() const { return m_parts; }

    // The mode flag: Source mode while the source pane is not hidden.
    bool isSourceMode() const;

    // Font faces and sizes offered by the font boxes, in their order.
    const QStringList& fontList() const { return m_fontList; }
    const QStringList& sizeList() const { return m_sizeList; }
    // Set by the design surface's first document-complete event.
    bool documentReady() const { return m_documentReady; }
    void setDocumentReady(bool ready) { m_documentReady = ready; }

    // Every occurrence of Keyword in pstring replaced by NewKeyWord, left to
    // right; inserted text is not searched again. An empty Keyword changes nothing.
    static QString ReplaceString(const QString& pstring, const QString& Keyword,
                                 const QString& NewKeyWord);

    // Colours every tag of pane blue and the rest black, then shows the pane
    // (which makes Source mode current) with the caret at the start.
    void ColorTags(orvane::SourcePane* pane);

    // The tab switch: brings the selected tab's frame to the front, refreshes
    // the source text and the preview from the design surface and colours the
    // source. Each step that fails is skipped.
    void TabStrip1_Click();
    // The source text becomes the design surface's document.
    void rch_LostFocus();
    // Ends the program: every window closes, nothing is asked or saved.
    void Form_Unload();

signals:
    // The pointer moved over the window's own background.
    void formMouseMoved();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createFrames();
    void createTabStrip();
    void createSurfaces();
    void createSideBars();
    void createStatusBar();
    void createMenuBarAndToolbar();
    void Form_Load();

    std::unique_ptr<orvane::Document> m_document;
    orvane::TabStrip* m_TabStrip1 = nullptr;
    QFrame* m_Frame1[3] = {};
    orvane::Surface* m_DHTMLEdit1 = nullptr;
    orvane::SourcePane* m_rch = nullptr;
    orvane::Surface* m_DHTMLEdit2 = nullptr;

    QLabel* m_panel_1 = nullptr;
    QLabel* m_panel_2 = nullptr;
    QComboBox* m_FontCombo = nullptr;
    QComboBox* m_FontSizeCombo = nullptr;
    QWidget* m_Picture2 = nullptr;
    QWidget* m_Picture3 = nullptr;
    QLabel* m_Label2 = nullptr;
    QLabel* m_Label55 = nullptr;
    QLabel* m_Image1 = nullptr;
    QLabel* m_Label54 = nullptr;
    QStatusBar* m_StatusBar1 = nullptr;
    orvane::MenuBar* m_menuBar = nullptr;
    orvane::Toolbar* m_toolbar = nullptr;
    orvane::CommandWiring* m_commands = nullptr;
    orvane::MainWindowParts* m_parts = nullptr;

    QStringList m_fontList;
    QStringList m_sizeList;
    bool m_documentReady = false;
    // Pairs applied to the source text at every tab switch; entry 0 is unused.
    QStringList m_findList;
    QStringList m_replaceList;
    bool m_unloading = false;
};
