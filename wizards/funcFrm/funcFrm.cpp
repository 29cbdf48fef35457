#include "funcFrm.h"

#include "Prompts.h"
#include "SourcePane.h"
#include "Surface.h"
#include "HtmlTokenizer.h"
#include "Document.h"
#include "mainFrm.h"
#include "PagePath.h"
#include "RolloverText.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace orvane {

namespace {
// The steps applied to the page's text outside its server blocks, which stay
// as they are even when they hold a "</script>".
QString outsideServerBlocks(const QString& page, const QList<RolloverStep>& steps)
{
    const auto apply = [&steps](QString text) {
        for (const auto& [find, replacement] : steps)
            text = mainFrm::ReplaceString(text, find, replacement);
        return text;
    };
    QString result;
    qsizetype from = 0;
    for (const fidelity::Span& block : fidelity::findServerBlocks(page)) {
        result += apply(page.mid(from, block.begin - from)) + page.mid(block.begin, block.end - block.begin);
        from = block.end;
    }
    return result + apply(page.mid(from));
}
}  // namespace

funcFrm::funcFrm(mainFrm& editor)
    : QDialog(&editor), m_editor(editor), m_Text1(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("funcFrm"));
    setWindowTitle(QStringLiteral("Image Rollover Wizard"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* picContainer = new QWidget(this);
    picContainer->setObjectName(QStringLiteral("picContainer"));
    auto* slotGrid = new QGridLayout(picContainer);
    for (int i = 0; i < kRolloverSlots; ++i) {
        auto* number = new QLabel(QStringLiteral("Image %1.").arg(i + 1), picContainer);
        number->setObjectName(QStringLiteral("Label3_%1").arg(i));
        auto* file = new QLabel(picContainer);
        file->setObjectName(QStringLiteral("Label2_%1").arg(i));
        file->setMinimumWidth(160);
        const int column = (i / 7) * 2;
        slotGrid->addWidget(number, i % 7, column);
        slotGrid->addWidget(file, i % 7, column + 1);
        m_Label2 << file;
    }

    m_Text1->setObjectName(QStringLiteral("Text1"));
    m_Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_Text1->setMinimumHeight(160);
    m_Text1->hide();

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const char* name, const char* caption, auto handler) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, handler);
        buttons->addWidget(b);
    };
    button("Command1", "&Select Image", &funcFrm::Command1_Click);
    button("Command2", "&Create Rollover", &funcFrm::Command2_Click);
    button("Command3", "&Cancel", &QDialog::close);
    button("Command4", "&Help", &funcFrm::Command4_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picContainer);
    layout->addWidget(m_Text1, 1);
    layout->addLayout(buttons);
    resize(640, 420);
}

void funcFrm::display(mainFrm& editor) { (new funcFrm(editor))->open(); }

void funcFrm::Command1_Click()
{
    if (m_slots.size() >= kRolloverSlots)
        return;
    const FileAnswer answer = prompts().openFile({QStringLiteral("Open"), {}, 1, {}});
    if (!answer.accepted || answer.path.isEmpty())
        return;
    // Relative to the page, so the swap still finds the picture once published.
    QString file = pathFromPage(answer.path, m_editor.document().savePath());
    if (file.isEmpty())
        file = QFileInfo(answer.path).fileName();
    m_Label2[m_slots.size()]->setText(file);
    m_slots << file;
}

void funcFrm::Command2_Click()
{
    const std::optional<QString> page = withScriptElement(m_editor.rch()->Text());
    if (page)
        writeSource(outsideServerBlocks(*page, rolloverSteps(m_slots)));

    m_Text1->show();
    m_Text1->setPlainText(anchorText(m_slots));
    if (!page)
        prompts().messageBox(
            QStringLiteral("The page has neither a </script> nor a </head> tag, so the code that "
                           "preloads the images has nowhere to go and was not added. Give the page "
                           "a head, then Create Rollover again.\r\n"
                           "Cut And Paste the code shown where you want your images."),
            MsgButtons::OK, MsgIcon::Exclamation);
    else
        prompts().messageBox(QStringLiteral("Cut And Paste This Code Where You Want Your Images"));
    m_editor.DHTMLEdit1()->setDocumentHTML(m_editor.rch()->Text());
}

// Only the span that changed is replaced, in one undo step, so the rest of the
// text, the caret's neighbourhood and the undo history stay as they were.
void funcFrm::writeSource(const QString& text)
{
    SourcePane& rch = *m_editor.rch();
    const QString old = rch.Text();
    if (old == text)
        return;
    qsizetype head = 0;
    const qsizetype shorter = std::min(old.size(), text.size());
    while (head < shorter && old.at(head) == text.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && old.at(old.size() - 1 - tail) == text.at(text.size() - 1 - tail))
        ++tail;
    // Never split a surrogate pair.
    if (head > 0 && text.at(head - 1).isHighSurrogate())
        --head;
    if (tail > 0 && old.at(old.size() - tail).isLowSurrogate())
        --tail;
    rch.beginUndoAction();
    rch.setSelStart(int(head));
    rch.setSelLength(int(old.size() - head - tail));
    rch.setSelText(text.mid(head, text.size() - head - tail));
    rch.endUndoAction();
}

void funcFrm::Command4_Click()
{
    prompts().messageBox(
        QStringLiteral("Select the images that you want to use for rollovers, then click the create "
                       "rollover button! HINT(if you are new to this keep in mind that you must "
                       "select an even number of images for this to work)."),
        MsgButtons::OK, MsgIcon::Information, QStringLiteral("Orvane Help"));
}

}  // namespace orvane
