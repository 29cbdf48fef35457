#pragma once
// Helpers for tests that drive a real editing surface: a folder of page files,
// scripts, selections and typing in the page, and the page read back.

#include <Surface.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <optional>

namespace orvane::test {

// A temporary folder that holds the files a test writes into it.
class TempSite {
public:
    TempSite() { QVERIFY2(m_dir.isValid(), "cannot create a temporary folder"); }
    QString path(const QString& name = {}) const { return m_dir.filePath(name); }
    // Writes bytes to name (sub-folders are created) and returns the full path.
    QString write(const QString& name, const QByteArray& bytes) const
    {
        const QString full = path(name);
        QDir().mkpath(QFileInfo(full).absolutePath());
        QFile f(full);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(full));
        return full;
    }
    static QByteArray read(const QString& full)
    {
        QFile f(full);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

// A shown surface with its first (blank) document loaded.
inline void showAndSettle(Surface& surface)
{
    surface.resize(800, 600);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    surface.DocumentHTML();  // waits for the first document
}

// Types text into the page through real key events.
inline void typeText(Surface& surface, const QString& text)
{
    surface.window()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(surface.window()));
    surface.setFocus();
    QWidget* target = surface.view()->focusProxy();
    QVERIFY(target);
    QTest::keyClicks(target, text);
}

// Runs a script in the surface's script world and returns its JSON-able result.
inline QVariant pageScript(Surface& surface, const QString& code)
{
    auto answer = std::make_shared<std::optional<QString>>();
    QEventLoop loop;
    surface.view()->page()->runJavaScript(
        QStringLiteral("JSON.stringify((function(){%1})())").arg(code), QWebEngineScript::ApplicationWorld,
        [answer, &loop](const QVariant& v) { *answer = v.toString(); loop.quit(); });
    if (!answer->has_value()) {
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);  // a large page on a busy machine
        loop.exec();
    }
    if (!answer->has_value())
        qFatal("page script did not answer: %s", qPrintable(code));
    const QString json = **answer;
    return json.isEmpty() ? QVariant() : QJsonDocument::fromJson(("[" + json + "]").toUtf8()).array().at(0).toVariant();
}

inline QString quoted(const QString& s)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
}

inline void loadBody(Surface& surface, const QString& body)
{
    surface.setDocumentHTML("<HTML><HEAD><TITLE>t</TITLE></HEAD><BODY>" + body + "</BODY></HTML>");
}

// Runs a script that sets the selection and answers whether it could, then
// waits for the page's state push, as comes after any selection the user makes.
inline void setSelection(Surface& surface, const QString& script, const QString& what)
{
    QVERIFY2(pageScript(surface, script).toBool(), qPrintable("not in page: " + what));
    QSignalSpy pushed(surface.view()->page(), SIGNAL(statePushed(QJsonObject)));
    const double sent = pageScript(surface, "orv.state.push(); return orv.state.seq;").toDouble();
    QTRY_VERIFY(std::any_of(pushed.cbegin(), pushed.cend(), [sent](const QList<QVariant>& args) {
        return args.value(0).toJsonObject().value(QLatin1String("seq")).toDouble() >= sent;
    }));
}

// Selects the first occurrence of text in the page, across elements, or puts
// the caret before or after it.
enum class InText { Select, Before, After };
inline void placeInText(Surface& surface, const QString& text, InText where)
{
    setSelection(surface, QStringLiteral(R"(
        const want = %1; const where = %2;
        const nodes = [], starts = []; let all = '';
        const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
        for (let t = w.nextNode(); t; t = w.nextNode()) { nodes.push(t); starts.push(all.length); all += t.data; }
        const at = all.indexOf(want);
        if (at < 0) return false;
        const locate = (o, end) => { let k = 0;
          while (k + 1 < nodes.length && (end ? starts[k + 1] < o : starts[k + 1] <= o)) ++k;
          return [nodes[k], o - starts[k]]; };
        const [a, ao] = where == 2 ? locate(at + want.length, true) : locate(at, false);
        const [b, bo] = where == 0 ? locate(at + want.length, true) : [a, ao];
        getSelection().setBaseAndExtent(a, ao, b, bo);
        return true;)").arg(quoted(text)).arg(int(where)), text);
}

// A caret before the text when collapse is true.
inline void selectText(Surface& surface, const QString& text, bool collapse = false)
{
    placeInText(surface, text, collapse ? InText::Before : InText::Select);
}

inline void caretAfterText(Surface& surface, const QString& text) { placeInText(surface, text, InText::After); }

// Selects the element matching a CSS selector as an object.
inline void selectElement(Surface& surface, const QString& selector)
{
    setSelection(surface, QStringLiteral(R"(
        const el = document.querySelector(%1);
        if (!el) return false;
        const r = document.createRange(); r.selectNode(el);
        getSelection().removeAllRanges(); getSelection().addRange(r); return true;)").arg(quoted(selector)), selector);
}

// Selects from the start of one element's content to the end of another's.
inline void selectAcross(Surface& surface, const QString& from, const QString& to)
{
    setSelection(surface, QStringLiteral(R"(
        const a = document.querySelector(%1), b = document.querySelector(%2);
        if (!a || !b) return false;
        getSelection().setBaseAndExtent(a, 0, b, b.childNodes.length); return true;)").arg(quoted(from), quoted(to)),
                 from + " " + to);
}

// The body's inner HTML as the surface serialises it.
inline QString bodyHtml(Surface& surface)
{
    const QString html = surface.DocumentHTML();
    const int start = html.indexOf("<BODY");
    const int open = html.indexOf('>', start) + 1;
    const int end = html.lastIndexOf("</BODY>");
    return start < 0 || end < 0 ? html : html.mid(open, end - open);
}

// A table's structure: rows separated by " / ", cells by " ", each cell its
// text with "^rows" and "<cols" when it spans.
inline QString tableShape(Surface& surface, const QString& selector = "table")
{
    return pageScript(surface, QStringLiteral(R"(
        const t = document.querySelector(%1);
        if (!t) return '(no table)';
        return Array.from(t.rows).map(tr => Array.from(tr.cells).map(c =>
            (c.textContent.trim() || '_') + (c.rowSpan > 1 ? '^' + c.rowSpan : '') +
            (c.colSpan > 1 ? '<' + c.colSpan : '')).join(' ')).join(' / ');)").arg(quoted(selector)))
        .toString();
}

}  // namespace orvane::test
