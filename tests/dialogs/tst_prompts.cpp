#include "ScriptedPrompts.h"

#include <QtTest>

using namespace orvane;

class tst_Prompts : public QObject {
    Q_OBJECT
private slots:
    void qtFilter_data();
    void qtFilter();
    void scriptedAnswersInOrderAndRecords();
    void unexpectedQuestionIsRecordedAndCancelled();
};

void tst_Prompts::qtFilter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program's html/asp filter") << "HTML |*.htm| ASP | *.asp"
                                               << "HTML (*.htm);;ASP (*.asp)";
    QTest::newRow("several patterns") << "Picture files|*.gif;*.bmp;*.jpg;*.ico"
                                      << "Picture files (*.gif *.bmp *.jpg *.ico)";
    QTest::newRow("empty") << "" << "";
}

void tst_Prompts::qtFilter()
{
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(toQtFilter(filter), expected);
}

void tst_Prompts::scriptedAnswersInOrderAndRecords()
{
    ScriptedPrompts scripted;
    scripted.answerInput("first").cancelInput().answerMessage(MsgResult::No);
    QCOMPARE(&prompts(), static_cast<Prompts*>(&scripted));

    const InputAnswer a = prompts().inputBox("Enter Url", "ENTER URL FOR HREF", "HTTP:\\\\");
    QVERIFY(a.accepted);
    QCOMPARE(a.text, QString("first"));
    const InputAnswer b = prompts().inputBox("Name", "", {}, InputEcho::Password);
    QVERIFY(!b.accepted);
    QCOMPARE(b.text, QString());
    // An OK-only box needs no queued answer and does not consume the next one.
    QCOMPARE(prompts().messageBox("hint", MsgButtons::OK, MsgIcon::Information, "Orvane Tip"),
             MsgResult::OK);
    QCOMPARE(prompts().messageBox("Save?", MsgButtons::YesNoCancel, MsgIcon::Exclamation),
             MsgResult::No);

    QCOMPARE(scripted.asked().size(), 4);
    QCOMPARE(scripted.asked()[0].defaultText, QString("HTTP:\\\\"));
    QCOMPARE(scripted.asked()[1].title, QString("orvane"));   // no title: the application title
    QCOMPARE(scripted.asked()[1].echo, InputEcho::Password);
    QCOMPARE(scripted.messages().size(), 2);
    QCOMPARE(scripted.messages()[1].icon, MsgIcon::Exclamation);
    QVERIFY(scripted.unexpected().isEmpty());
    QCOMPARE(scripted.pending(), 0);
}

void tst_Prompts::unexpectedQuestionIsRecordedAndCancelled()
{
    {
        ScriptedPrompts scripted;
        scripted.answerColor(Qt::red);
        // A file dialog arrives where a colour was expected: cancelled, recorded.
        const FileAnswer f = prompts().openFile(FileRequest{});
        QVERIFY(!f.accepted);
        QCOMPARE(scripted.unexpected().size(), 1);
        QCOMPARE(scripted.pending(), 1);
        QCOMPARE(prompts().chooseColor(Qt::black).color, QColor(Qt::red));
        QCOMPARE(prompts().messageBox("Delete?", MsgButtons::YesNo), MsgResult::Cancel);
        QCOMPARE(scripted.unexpected().size(), 2);
    }
    // Destroying the scripted prompts restores the default ones.
    QVERIFY(dynamic_cast<ScriptedPrompts*>(&prompts()) == nullptr);
}

QTEST_MAIN(tst_Prompts)
#include "tst_prompts.moc"
