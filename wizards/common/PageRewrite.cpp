#include "PageRewrite.h"

#include "SourcePane.h"
#include "Surface.h"
#include "mainFrm.h"

#include <algorithm>

namespace orvane {

QString currentPageText(mainFrm& main)
{
    return main.isSourceMode() ? main.rch()->Text() : main.DHTMLEdit1()->DocumentHTML();
}

void rewritePage(mainFrm& main, const QString& before, const QString& after)
{
    SourcePane& rch = *main.rch();
    if (!main.isSourceMode()) {
        rch.setText(after);
        main.DHTMLEdit1()->replaceDocumentHTML(after);
        return;
    }
    const qsizetype most = std::min(before.size(), after.size());
    qsizetype head = 0;
    while (head < most && before[head] == after[head])
        ++head;
    qsizetype tail = 0;
    while (tail < most - head && before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // Never cut a CR LF pair or a surrogate pair: the pane keeps them whole.
    const auto splits = [](QChar left, QChar right) {
        return (left == QLatin1Char('\r') && right == QLatin1Char('\n'))
            || (left.isHighSurrogate() && right.isLowSurrogate());
    };
    while (head > 0 && head < before.size() && splits(before[head - 1], before[head]))
        --head;
    while (tail > 0 && tail < before.size() && splits(before[before.size() - 1 - tail], before[before.size() - tail]))
        --tail;
    rch.beginUndoAction();
    rch.setSelStart(int(head));
    rch.setSelLength(int(before.size() - head - tail));
    rch.setSelText(after.mid(head, after.size() - head - tail));
    rch.endUndoAction();
    main.DHTMLEdit1()->setDocumentHTML(rch.Text());
}

}  // namespace orvane
