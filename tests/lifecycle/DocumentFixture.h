#pragma once
// A window holding a real design surface and a real source pane, with the
// document commands attached, as the main window arranges them. Source mode
// is current while the pane is not hidden.

#include "Surface.h"
#include "SurfaceTestSupport.h"
#include "SourcePane.h"
#include "DocumentLifecycle.h"

#include <QHBoxLayout>
#include <memory>

namespace orvane::test {

struct DocumentFixture {
    QWidget window;
    Surface* design = new Surface(Surface::Mode::Edit, &window);
    SourcePane* rch = new SourcePane(&window);
    std::unique_ptr<DocumentLifecycle> life = std::make_unique<DocumentLifecycle>(
        window, *design, *rch, [this] { return isSourceMode(); }, [this] {
            rch->colorTags(0xFF0000, 0);
            rch->show();
        });

    DocumentFixture()
    {
        auto* layout = new QHBoxLayout(&window);
        layout->addWidget(design);
        layout->addWidget(rch);
        window.setWindowTitle(QStringLiteral("Orvane Editor 1.5"));
        rch->hide();
        window.resize(1000, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        design->DocumentHTML();  // waits for the first blank document
    }

    void sourceMode() { rch->show(); }
    bool isSourceMode() const { return !rch->isHidden(); }
};

}  // namespace orvane::test
