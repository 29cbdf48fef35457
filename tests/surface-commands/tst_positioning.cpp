// Absolute positioning and stacking order on a real surface.
#include "SurfaceTestSupport.h"
#include "TestMain.h"

using namespace orvane;
using namespace orvane::test;

namespace {

QRectF box(Surface& s, const QString& selector)
{
    const QVariantList r = pageScript(s, QStringLiteral(
        "const b = document.querySelector(%1).getBoundingClientRect(); return [b.left, b.top, b.width, b.height];")
        .arg(quoted(selector))).toList();
    return QRectF(r.value(0).toDouble(), r.value(1).toDouble(), r.value(2).toDouble(), r.value(3).toDouble());
}

QString zIndex(Surface& s, const QString& selector)
{
    return pageScript(s, QStringLiteral("return document.querySelector(%1).style.zIndex;").arg(quoted(selector)))
        .toString();
}

const QString stack =
    "<P>text over which things float</P>"
    "<DIV id=\"one\" style=\"position: absolute; left: 10px; top: 10px; z-index: 1;\">one</DIV>"
    "<DIV id=\"two\" style=\"position: absolute; left: 20px; top: 20px; z-index: 5;\">two</DIV>"
    "<DIV id=\"flat\">flat</DIV>";

}  // namespace

class tst_Positioning : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        s = std::make_unique<Surface>(Surface::Mode::Edit);
        showAndSettle(*s);
    }

    void makeAbsoluteKeepsPlaceAndToggles_data()
    {
        QTest::addColumn<QString>("body");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("asObject");   // selected as an object rather than a caret inside
        const QString lead = "<P>a first paragraph</P><P>and a second one</P>";
        QTest::newRow("div by caret") << lead + "<DIV id=\"t\">inside the div</DIV>" << "#t" << false;
        QTest::newRow("span by caret") << lead + "<P>a <SPAN id=\"t\">span here</SPAN></P>" << "#t" << false;
        QTest::newRow("image") << lead + "<P>x <IMG id=\"t\" width=\"40\" height=\"30\"> y</P>" << "#t" << true;
        QTest::newRow("table") << lead + "<TABLE id=\"t\"><TR><TD>cell</TD></TR></TABLE>" << "#t" << true;
        QTest::newRow("text box") << lead + "<P>in <INPUT id=\"t\" type=\"text\"></P>" << "#t" << true;
        QTest::newRow("inside positioned parent") << "<DIV style=\"position: relative; margin-left: 50px\">" + lead
                                                         + "<DIV id=\"t\">nested</DIV></DIV>" << "#t" << false;
    }

    void makeAbsoluteKeepsPlaceAndToggles()
    {
        QFETCH(QString, body);
        QFETCH(QString, target);
        QFETCH(bool, asObject);
        loadBody(*s, body);
        if (asObject)
            selectElement(*s, target);
        else
            pageScript(*s, QStringLiteral("getSelection().collapse(document.querySelector(%1).firstChild, 2); return 1;")
                               .arg(quoted(target)));
        const QRectF before = box(*s, target);
        QCOMPARE(s->QueryStatus(DECMD_MAKE_ABSOLUTE), int(DECMDF_ENABLED));
        s->ExecCommand(DECMD_MAKE_ABSOLUTE);
        QCOMPARE(pageScript(*s, QStringLiteral("return getComputedStyle(document.querySelector(%1)).position;")
                                    .arg(quoted(target))).toString(), QString("absolute"));
        const QRectF after = box(*s, target);
        QVERIFY2(qAbs(after.left() - before.left()) <= 1 && qAbs(after.top() - before.top()) <= 1,
                 qPrintable(QString("moved from %1,%2 to %3,%4").arg(before.left()).arg(before.top())
                                .arg(after.left()).arg(after.top())));
        QCOMPARE(s->QueryStatus(DECMD_MAKE_ABSOLUTE), int(DECMDF_LATCHED));
        QCOMPARE(s->QueryStatus(DECMD_SEND_TO_BACK), int(DECMDF_ENABLED));

        s->ExecCommand(DECMD_MAKE_ABSOLUTE);   // back in the flow
        QCOMPARE(box(*s, target).topLeft(), before.topLeft());
        QCOMPARE(s->QueryStatus(DECMD_SEND_TO_BACK), int(DECMDF_DISABLED));

        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(s->QueryStatus(DECMD_MAKE_ABSOLUTE), int(DECMDF_LATCHED));
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(s->QueryStatus(DECMD_MAKE_ABSOLUTE), int(DECMDF_ENABLED));
        QVERIFY(!bodyHtml(*s).contains("absolute"));
    }

    void zOrder_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("z");
        QTest::newRow("forward") << "#one" << int(DECMD_BRING_FORWARD) << "2";
        QTest::newRow("backward") << "#one" << int(DECMD_SEND_BACKWARD) << "0";
        QTest::newRow("to front") << "#one" << int(DECMD_BRING_TO_FRONT) << "6";
        QTest::newRow("to back") << "#two" << int(DECMD_SEND_TO_BACK) << "0";
        QTest::newRow("below text") << "#one" << int(DECMD_SEND_BELOW_TEXT) << "-1";
    }

    void zOrder()
    {
        QFETCH(QString, target);
        QFETCH(int, command);
        QFETCH(QString, z);
        loadBody(*s, stack);
        selectText(*s, target.mid(1), true);
        const QString before = zIndex(*s, target);
        s->ExecCommand(command);
        QCOMPARE(zIndex(*s, target), z);
        s->ExecCommand(DECMD_UNDO);
        QCOMPARE(zIndex(*s, target), before);
    }

    void status_data()
    {
        QTest::addColumn<QString>("at");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("state");
        QTest::newRow("make absolute in plain text") << "float" << int(DECMD_MAKE_ABSOLUTE) << int(DECMDF_DISABLED);
        QTest::newRow("make absolute in a div") << "flat" << int(DECMD_MAKE_ABSOLUTE) << int(DECMDF_ENABLED);
        QTest::newRow("make absolute in a positioned div") << "one" << int(DECMD_MAKE_ABSOLUTE) << int(DECMDF_LATCHED);
        QTest::newRow("forward in a flat div") << "flat" << int(DECMD_BRING_FORWARD) << int(DECMDF_DISABLED);
        QTest::newRow("forward in a positioned div") << "one" << int(DECMD_BRING_FORWARD) << int(DECMDF_ENABLED);
        QTest::newRow("above text when above") << "one" << int(DECMD_BRING_ABOVE_TEXT) << int(DECMDF_DISABLED);
        QTest::newRow("below text when above") << "one" << int(DECMD_SEND_BELOW_TEXT) << int(DECMDF_ENABLED);
    }

    void status()
    {
        QFETCH(QString, at);
        QFETCH(int, command);
        QFETCH(int, state);
        loadBody(*s, stack);
        selectText(*s, at, true);
        QCOMPARE(s->QueryStatus(command), state);
    }

    void zOrderOnUnpositionedThrows()
    {
        loadBody(*s, stack);
        selectText(*s, "flat", true);
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_BRING_TO_FRONT));
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_SEND_BELOW_TEXT));

        // Below text and back above it.
        selectText(*s, "two", true);
        s->ExecCommand(DECMD_SEND_BELOW_TEXT);
        QVERIFY(zIndex(*s, "#two").toInt() < 0);
        QCOMPARE(s->QueryStatus(DECMD_BRING_ABOVE_TEXT), int(DECMDF_ENABLED));
        s->ExecCommand(DECMD_BRING_ABOVE_TEXT);
        QVERIFY(zIndex(*s, "#two").toInt() > 0);
        QVERIFY_THROWS_EXCEPTION(SurfaceError, s->ExecCommand(DECMD_BRING_ABOVE_TEXT));
    }

private:
    std::unique_ptr<Surface> s;
};

ORVANE_TEST_MAIN(tst_Positioning)
#include "tst_positioning.moc"
