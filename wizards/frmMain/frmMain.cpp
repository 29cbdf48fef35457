#include "frmMain.h"

#include "Prompts.h"
#include "SourcePane.h"
#include "Surface.h"
#include "Document.h"
#include "mainFrm.h"
#include "MapPicture.h"
#include "frmSettings.h"

#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

namespace orvane {

namespace {
constexpr QRect kViewport(8, 8, 480, 360);
constexpr int kBar = 16;
// The outlines pulse at a pace the eye takes as the same cycle, without a busy timer.
constexpr int kPulseMs = 80;
constexpr int kStripMs = 100;

const QString kPictureFilter =
    QStringLiteral("Picture files|*.gif;*.bmp;*.jpg;*.jpeg;*.png;*.ico");
}  // namespace

frmMain::frmMain(mainFrm& editor)
    : QDialog(&editor), m_editor(editor), m_picContainer(new QWidget(this)),
      m_picImage(new MapPicture(m_picContainer)), m_hsb1(new QScrollBar(Qt::Horizontal, this)),
      m_vsb1(new QScrollBar(Qt::Vertical, this)),
      m_Command1(new QPushButton(QStringLiteral("&Select Region"), this)),
      m_Command2(new QPushButton(QStringLiteral("&Finish"), this)), m_Label1(new QLabel(this)),
      m_Timer1(new QTimer(this)), m_Timer2(new QTimer(this)),
      m_picContainScroller(new QWidget(this)), m_picScroller(new QWidget(m_picContainScroller)),
      m_lblScroller(new QLabel(m_picScroller))
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Image Map Wizard"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_picContainer->setObjectName(QStringLiteral("picContainer"));
    m_picContainer->setGeometry(kViewport);
    m_picContainer->setAutoFillBackground(true);
    m_hsb1->setObjectName(QStringLiteral("hsb1"));
    m_hsb1->setGeometry(kViewport.left(), kViewport.bottom() + 1, kViewport.width(), kBar);
    m_vsb1->setObjectName(QStringLiteral("vsb1"));
    m_vsb1->setGeometry(kViewport.right() + 1, kViewport.top(), kBar, kViewport.height());
    for (QScrollBar* bar : {m_hsb1, m_vsb1})
        connect(bar, &QScrollBar::valueChanged, this, &frmMain::placePicture);

    const int below = kViewport.bottom() + kBar + 6;
    m_picContainScroller->setObjectName(QStringLiteral("picContainScroller"));
    m_picContainScroller->setGeometry(kViewport.left(), below, kViewport.width() + kBar, 12);
    m_picContainScroller->setAutoFillBackground(true);
    QPalette strip = m_picContainScroller->palette();
    strip.setColor(QPalette::Window, QColor(0xE0, 0xE0, 0xE0));
    m_picContainScroller->setPalette(strip);
    m_picScroller->setObjectName(QStringLiteral("picScroller"));
    m_lblScroller->setObjectName(QStringLiteral("lblScroller"));
    m_lblScroller->setFont(QFont(QStringLiteral("Verdana")));

    m_Label1->setObjectName(QStringLiteral("Label1"));
    m_Label1->setGeometry(kViewport.left(), below + 20, 300, 24);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    m_Command1->setGeometry(kViewport.right() - 196, below + 18, 110, 28);
    m_Command2->setObjectName(QStringLiteral("Command2"));
    m_Command2->setGeometry(kViewport.right() - 80, below + 18, 96, 28);
    setFixedSize(kViewport.right() + kBar + 9, below + 54);

    m_Timer1->setObjectName(QStringLiteral("Timer1"));
    m_Timer1->setInterval(kStripMs);
    m_Timer2->setObjectName(QStringLiteral("Timer2"));
    m_Timer2->setInterval(kPulseMs);
    connect(m_Timer1, &QTimer::timeout, this, &frmMain::Timer1_Timer);
    connect(m_Timer2, &QTimer::timeout, this, &frmMain::Timer2_Timer);
    connect(m_Command1, &QPushButton::clicked, this, &frmMain::Command1_Click);
    connect(m_Command2, &QPushButton::clicked, this, &frmMain::Command2_Click);
    connect(m_picImage, &MapPicture::MouseDown, this, &frmMain::picImage_MouseDown);
    connect(m_picImage, &MapPicture::MouseMove, this, &frmMain::picImage_MouseMove);
}

void frmMain::display(mainFrm& editor)
{
    auto* window = new frmMain(editor);
    window->Form_Load();
    window->open();
}

void frmMain::Form_Load()
{
    m_regions.clear();
    m_hsb1->hide();
    m_vsb1->hide();
    m_picImage->hide();
    m_picContainScroller->hide();
    const FileAnswer answer = prompts().openFile({QStringLiteral("Open"), kPictureFilter, 1, {}});
    if (answer.accepted)
        loadPicture(answer.path);
}

void frmMain::loadPicture(const QString& path)
{
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull()) {
        prompts().messageBox(QStringLiteral("The file \"%1\" could not be read as a picture: %2")
                                 .arg(path, reader.errorString()),
                             MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Orvane Error"));
        return;
    }
    m_picturePath = path;
    m_picImage->setPicture(QPixmap::fromImage(image));
    const QSize size = m_picImage->size();
    m_hsb1->setRange(0, std::max(0, size.width() - kViewport.width()));
    m_hsb1->setPageStep(kViewport.width());
    m_hsb1->setSingleStep(16);
    m_hsb1->setVisible(size.width() > kViewport.width());
    m_vsb1->setRange(0, std::max(0, size.height() - kViewport.height()));
    m_vsb1->setPageStep(kViewport.height());
    m_vsb1->setSingleStep(16);
    m_vsb1->setVisible(size.height() > kViewport.height());
    placePicture();
    m_picImage->show();
}

void frmMain::placePicture() { m_picImage->move(-m_hsb1->value(), -m_vsb1->value()); }

void frmMain::Command1_Click()
{
    if (m_regions.isFull()) {
        prompts().messageBox(QStringLiteral("An image map can hold at most 100 regions."),
                             MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Orvane Error"));
        return;
    }
    m_selecting = true;
    if (!m_tipShown)
        prompts().messageBox(QStringLiteral("Click on the top left corner of the region you want and "
                                            "drag the mouse over the full region, then click once to "
                                            "set the region."),
                             MsgButtons::OK, MsgIcon::Information, QStringLiteral("Orvane Tip"));
    m_lblScroller->clear();
    m_picScroller->resize(m_lblScroller->width(), m_picContainScroller->height());
    m_picScroller->move(m_picContainScroller->width(), 0);
    m_Timer1->start();
    m_picContainScroller->show();
    m_tipShown = true;
}

void frmMain::picImage_MouseDown(QPoint at)
{
    if (!m_selecting)
        return;
    if (!m_firstCorner) {
        m_firstCorner = at;
        return;
    }
    takeSecondCorner(at);
}

void frmMain::takeSecondCorner(QPoint at)
{
    const QPoint first = *m_firstCorner;
    m_firstCorner.reset();
    m_lblScroller->clear();
    m_Timer1->stop();
    m_picImage->setRubberBand(std::nullopt);
    m_selecting = false;
    if (!m_regions.add(first, at))
        return;
    Timer2_Timer();
    auto* settings = new frmSettings(m_regions, this);
    settings->setAttribute(Qt::WA_DeleteOnClose);
    connect(settings, &QDialog::accepted, m_Label1, &QLabel::clear);
    settings->open();
}

void frmMain::picImage_MouseMove(QPoint at)
{
    if (!m_selecting || !m_firstCorner)
        return;
    m_picImage->setRubberBand(QRect(*m_firstCorner, at));
    m_Label1->setText(QStringLiteral("(%1,%2) - (%3,%4)")
                          .arg(m_firstCorner->x()).arg(m_firstCorner->y()).arg(at.x()).arg(at.y()));
}

void frmMain::Command2_Click()
{
    if (m_regions.count() == 0)
        return;
    const InputAnswer name = prompts().inputBox(
        QStringLiteral("Give a name for the image map: \r\n(for the <MAP NAME=\"...\"> tag)"),
        QStringLiteral("Image map name"));
    if (name.text.trimmed().isEmpty()) {
        prompts().beep();
        return;
    }
    const QString page = m_editor.document().savePath();
    insertIntoPage(mapText(name.text, m_regions.regions(), mapPictureSource(m_picturePath, page)));
}

void frmMain::insertIntoPage(const QString& text)
{
    if (m_editor.isSourceMode()) {
        m_editor.rch()->setSelText(text);
    } else {
        try {
            m_editor.DHTMLEdit1()->DOM().selection().createRange().pasteHTML(text);
        } catch (const SurfaceError& e) {
            // The regions stay, so the user can pick a place in the text and finish again.
            prompts().messageBox(QStringLiteral("The image map could not be inserted here: %1\r\n"
                                                "Click into the text of the page and try again.")
                                     .arg(QString::fromStdString(e.what())),
                                 MsgButtons::OK, MsgIcon::Critical, QStringLiteral("Orvane Error"));
            return;
        }
    }
    close();
}

void frmMain::Timer1_Timer()
{
    const int left = m_picScroller->x() - 1;
    m_picScroller->move(left <= 0 ? m_picContainScroller->width() : left, 0);
}

void frmMain::Timer2_Timer()
{
    if (m_regions.count() == 0)
        return;
    m_colourPhase = (m_colourPhase + 1) % 7;
    m_picImage->setOutlines(m_regions.regions(), outlineColour(m_colourPhase));
}

void frmMain::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    m_Timer2->start();
    if (m_selecting)
        m_Timer1->start();
}

void frmMain::hideEvent(QHideEvent* event)
{
    m_Timer2->stop();
    m_Timer1->stop();
    QDialog::hideEvent(event);
}

}  // namespace orvane
