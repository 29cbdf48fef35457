#include "mainFrm.h"

#include "SideBarPictures.h"
#include "TabStrip.h"
#include "Twips.h"
#include "frmFtp.h"
#include "IlibFrm.h"
#include "SlibFrm.h"
#include "helpFrm.h"
#include "SourcePane.h"
#include "PreviewFile.h"
#include "Surface.h"
#include "DocumentLifecycle.h"
#include "MainWindowParts.h"
#include "CommandWiring.h"
#include "MenuBar.h"
#include "Toolbar.h"
#include "frmMain.h"
#include "funcFrm.h"
#include "javaWiz.h"
#include "StyleFrm.h"
#include "clrfrm.h"
#include "tblfFrm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QStatusBar>
#include <QStringMatcher>
#include <QTabBar>

#include <exception>

using orvane::px;
using orvane::pxRect;

namespace {

constexpr quint32 kTagBlue = 16711680;  // blue in the Windows colour encoding
constexpr quint32 kBlack = 0;
constexpr int kPreviewFrame = 2;  // Frame1(2) holds the preview

// Runs one step of a handler that skips failing steps and goes on.
template <typename Step>
void skipErrors(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

}  // namespace

mainFrm::mainFrm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("mainFrm"));
    setWindowTitle(QStringLiteral("Orvane Editor 1.5"));
    setMouseTracking(true);
    resize(px(11265), px(8625));

    // The design surface comes first: its page starts loading in the
    // engine's own processes while the rest of the window is built.
    createFrames();
    createSurfaces();
    createTabStrip();
    createSideBars();
    createStatusBar();
    createMenuBarAndToolbar();
    Form_Load();
    // Document commands, toolbar state, context menu, layout and shortcuts.
    m_parts = new orvane::MainWindowParts(this);
}

mainFrm::~mainFrm() = default;

void mainFrm::createFrames()
{
    for (int i = 0; i < 3; ++i) {
        m_Frame1[i] = new QFrame(this);
        m_Frame1[i]->setObjectName(QStringLiteral("Frame1(%1)").arg(i));
        m_Frame1[i]->setFrameShape(QFrame::NoFrame);
        m_Frame1[i]->setAutoFillBackground(true);
    }
}

void mainFrm::createTabStrip()
{
    m_TabStrip1 = new orvane::TabStrip(this);
    m_TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    m_TabStrip1->setGeometry(pxRect(0, 240, 7095, 7995));
    connect(m_TabStrip1, &orvane::TabStrip::Click, this, &mainFrm::TabStrip1_Click);
}

void mainFrm::createSurfaces()
{
    m_document = std::make_unique<orvane::Document>();
    m_DHTMLEdit1 = new orvane::Surface(orvane::Surface::Mode::Edit, m_Frame1[0], m_document.get());
    m_DHTMLEdit1->setObjectName(QStringLiteral("DHTMLEdit1"));
    m_rch = new orvane::SourcePane(m_Frame1[1]);
    m_rch->setObjectName(QStringLiteral("rch"));
    m_rch->hide();
    connect(m_rch, &orvane::SourcePane::LostFocus, this, &mainFrm::rch_LostFocus);
}

// The preview is a browser of its own (a renderer process and its memory):
// it is made when it is first needed, sized and placed as the source pane.
orvane::Surface* mainFrm::DHTMLEdit2()
{
    if (m_DHTMLEdit2)
        return m_DHTMLEdit2;
    m_DHTMLEdit2 = new orvane::Surface(orvane::Surface::Mode::Browse, m_Frame1[kPreviewFrame]);
    m_DHTMLEdit2->setObjectName(QStringLiteral("DHTMLEdit2"));
    m_DHTMLEdit2->setGeometry(m_rch->geometry());
    connect(m_DHTMLEdit2, &orvane::Surface::onmousemove, m_menuBar,
            &orvane::MenuBar::DHTMLEdit2_onmousemove);
    m_DHTMLEdit2->show();
    return m_DHTMLEdit2;
}

void mainFrm::createSideBars()
{
    auto label = [this](const char* name, QRect rect) {
        auto* l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
        l->setGeometry(rect);
        return l;
    };
    auto combo = [this](const char* name, QRect rect, const char* tip) {
        auto* c = new QComboBox(this);
        c->setObjectName(QLatin1String(name));
        c->setGeometry(rect);
        c->setToolTip(QLatin1String(tip));
        return c;
    };
    auto box = [this](const char* name, QRect rect) {
        auto* w = new QWidget(this);
        w->setObjectName(QLatin1String(name));
        w->setGeometry(rect);
        return w;
    };
    // The close areas sit 1250 twips right of and 120 below a bar's corner.
    const QRect closeMark = pxRect(1250, 120, 255, 255);

    m_panel_1 = label("panel_1", pxRect(9480, 360, 1725, 3390));
    m_panel_1->setPixmap(orvane::sideBarBackground(m_panel_1->size(), closeMark));
    m_FontCombo = combo("FontCombo", pxRect(9720, 775, 1335, 330), "Font");
    m_FontSizeCombo = combo("FontSizeCombo", pxRect(9690, 1100, 1335, 330), "Font Size");
    m_Picture2 = box("Picture2", pxRect(9690, 1460, 1335, 2055));
    m_Label2 = label("Label2", pxRect(10800, 480, 255, 255));

    m_panel_2 = label("panel_2", pxRect(9480, 3960, 1725, 3390));
    m_panel_2->setPixmap(orvane::sideBarBackground(m_panel_2->size(), closeMark));
    m_Picture3 = box("Picture3", pxRect(9720, 4440, 1215, 2535));
    m_Label55 = label("Label55", pxRect(10800, 4080, 255, 255));

    m_Image1 = label("Image1", pxRect(9600, 7440, 300, 300));
    m_Image1->setPixmap(orvane::sideBarBadge(m_Image1->size()));

    m_Label54 = label("Label54", pxRect(8760, 0, 1335, 255));
    m_Label54->setText(QStringLiteral("Show Side Bars"));
    m_Label54->setFont(QFont(QStringLiteral("Arial"), 8));
    m_Label54->hide();
}

void mainFrm::createStatusBar()
{
    m_StatusBar1 = new QStatusBar(this);
    m_StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    m_StatusBar1->setSizeGripEnabled(false);
    m_StatusBar1->setGeometry(pxRect(0, 8385, 11265, 240));
}

void mainFrm::createMenuBarAndToolbar()
{
    const auto sourceMode = [this] { return isSourceMode(); };
    m_menuBar = new orvane::MenuBar(this, sourceMode);
    m_menuBar->watchSourcePane(m_rch);
    m_menuBar->watchSideBarImage(m_panel_1);
    connect(m_DHTMLEdit1, &orvane::Surface::onmousemove, m_menuBar,
            &orvane::MenuBar::DHTMLEdit1_onmousemove);
    m_toolbar = new orvane::Toolbar(m_Picture2, m_Picture3);
    m_commands = new orvane::CommandWiring(m_menuBar, m_toolbar, m_DHTMLEdit1, m_rch, sourceMode, this);
    m_commands->setWindow(QStringLiteral("frmFtp"), [this] { orvane::frmFtp::display(this); });
    m_commands->setWindow(QStringLiteral("frmMain"), [this] { orvane::frmMain::display(*this); });
    m_commands->setWindow(QStringLiteral("javaWiz"), [this] { orvane::javaWiz::display(*m_rch, this); });
    m_commands->setWindow(QStringLiteral("funcFrm"), [this] { orvane::funcFrm::display(*this); });
    m_commands->setWindow(QStringLiteral("tblfFrm"), [this] { orvane::tblfFrm::display(*this); });
    m_commands->setWindow(QStringLiteral("StyleFrm"), [this] { orvane::StyleFrm::display(*this); });
    m_commands->setWindow(QStringLiteral("clrfrm"),
                          [this] { orvane::clrfrm::display(m_parts->pageColours(), this); });
    m_commands->setWindow(QStringLiteral("IlibFrm"), [this] { orvane::IlibFrm::display(this); });
    m_commands->setWindow(QStringLiteral("SlibFrm"), [this] { orvane::SlibFrm::display(this); });
    m_commands->setWindow(QStringLiteral("helpFrm"), [this] { orvane::helpFrm::display(this); });
}

void mainFrm::Form_Load()
{
    m_documentReady = false;

    QTabBar* tabs = m_TabStrip1->tabBar();
    tabs->setTabText(0, QStringLiteral("Edit"));
    tabs->addTab(QStringLiteral("Source"));
    tabs->addTab(QStringLiteral("View"));

    for (QFrame* frame : m_Frame1)
        frame->setGeometry(m_TabStrip1->clientRect());
    m_Frame1[0]->raise();

    m_DHTMLEdit1->move(px(10), px(10));
    m_rch->move(px(5), px(10));

    m_fontList = {QStringLiteral("Alberta"), QStringLiteral("Arial"), QStringLiteral("Tahoma"),
                  QStringLiteral("Courier"), QStringLiteral("Verdana"), QStringLiteral("Wingdings"),
                  QStringLiteral("Garamond"), QStringLiteral("Rockwell"),
                  QStringLiteral("Harbinger"), QStringLiteral("Times New Roman")};
    m_sizeList.clear();
    for (int size = 1; size <= 7; ++size)
        m_sizeList << QString::number(size);

    m_FontCombo->addItems(m_fontList);
    m_FontCombo->setCurrentIndex(0);
    m_FontSizeCombo->addItems(m_sizeList);
    m_FontSizeCombo->setCurrentIndex(0);

    m_findList = {QString(), QStringLiteral("Microsoft DHTML Editing Control")};
    m_replaceList = {QString(), QStringLiteral("Kestrova Editor v.1.5")};
}

bool mainFrm::isSourceMode() const { return !m_rch->isHidden(); }

QString mainFrm::ReplaceString(const QString& pstring, const QString& Keyword,
                               const QString& NewKeyWord)
{
    if (Keyword.isEmpty())
        return pstring;
    const QStringMatcher matcher(Keyword, Qt::CaseSensitive);
    qsizetype at = matcher.indexIn(pstring, 0);
    if (at < 0)
        return pstring;
    // One pass: copy the text between occurrences, then the new keyword, and
    // search on after the occurrence, so inserted text is never searched.
    const QStringView source(pstring);
    QString result;
    result.reserve(pstring.size() + qMax<qsizetype>(0, NewKeyWord.size() - Keyword.size()) * 16);
    qsizetype from = 0;
    while (at >= 0) {
        result.append(source.sliced(from, at - from));
        result.append(NewKeyWord);
        from = at + Keyword.size();
        at = matcher.indexIn(pstring, from);
    }
    result.append(source.sliced(from));
    return result;
}

void mainFrm::ColorTags(orvane::SourcePane* pane)
{
    pane->colorTags(kTagBlue, kBlack);
    // The caret goes to the start with nothing selected, so that the next
    // insertion cannot overwrite a tag that was left selected.
    pane->setSelStart(0);
    pane->show();
}

void mainFrm::TabStrip1_Click()
{
    skipErrors([&] { m_Frame1[m_TabStrip1->selectedIndex()]->raise(); });

    QString html;
    bool haveHtml = false;
    skipErrors([&] {
        html = m_DHTMLEdit1->DocumentHTML();
        haveHtml = true;
    });
    // The preview can only come to the front through a click on its own tab,
    // which refreshes it, so it is loaded only when it is in front: loading a
    // large page into the preview costs far more than the rest of the switch.
    skipErrors([&] {
        if (m_TabStrip1->selectedIndex() != kPreviewFrame)
            return;
        const QString text = haveHtml ? html : isSourceMode() ? m_rch->Text() : m_DHTMLEdit1->DocumentHTML();
        const QString location = m_document->sourcePath().isEmpty() ? m_document->path() : m_document->sourcePath();
        DHTMLEdit2()->setDocumentHTML(text, location,
                                      orvane::previewLoadsFile(location, m_document->isModified(), text));
    });
    // The source pane takes the text once, renamed; ColorTags styles every
    // character of it.
    skipErrors([&] {
        QString text = haveHtml ? html : m_rch->Text();
        bool renamed = false;
        for (int i = 1; i < m_findList.size(); ++i) {
            if (text.contains(m_findList[i])) {
                text = ReplaceString(text, m_findList[i], m_replaceList[i]);
                renamed = true;
            }
        }
        if (haveHtml || renamed)
            m_rch->setText(text);
    });
    skipErrors([&] { ColorTags(m_rch); });
}

void mainFrm::rch_LostFocus()
{
    m_parts->lifecycle().handPaneToSurface();
}

void mainFrm::Form_Unload()
{
    if (m_unloading)
        return;
    m_unloading = true;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != this && window->isVisible())
            window->close();
    QCoreApplication::quit();
}

void mainFrm::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void mainFrm::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    emit formMouseMoved();
}
