#include <QtTest>
class tst_PageText : public QObject { Q_OBJECT };
QTEST_GUILESS_MAIN(tst_PageText)
#include "tst_page_text.moc"
