#pragma once
// Helpers for tests that drive a real editing surface: a folder of page files,
// waiting for the surface's queued events, and typing into the page.

#include <Surface.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineView>
#include <QtTest>
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

// Waits until the surface has emitted DocumentComplete (queued after a load).
inline bool waitForDocumentComplete(Surface& surface, int timeoutMs = 30000)
{
    QSignalSpy spy(&surface, &Surface::DocumentComplete);
    return spy.wait(timeoutMs);
}

// A shown surface with its first (blank) document loaded.
inline void showAndSettle(Surface& surface)
{
    surface.resize(800, 600);
    surface.show();
    QVERIFY(QTest::qWaitForWindowExposed(&surface));
    surface.DocumentHTML();  // waits for the first document
}

// Runs test code in the page (our script world by default) and returns its
// value; an invalid QVariant when the page did not answer within timeoutMs.
inline QVariant evaluateInPage(Surface& surface, const QString& code,
                          quint32 world = QWebEngineScript::ApplicationWorld, int timeoutMs = 10000)
{
    auto result = std::make_shared<std::optional<QVariant>>();
    surface.view()->page()->runJavaScript(code, world,
                                          [result](const QVariant& v) { *result = v; });
    QTest::qWaitFor([&] { return result->has_value(); }, timeoutMs);
    return result->value_or(QVariant());
}

// Selects the first occurrence of text in the page's body.
inline void selectFirstOccurrence(Surface& surface, const QString& text)
{
    const QVariant found = evaluateInPage(surface, QStringLiteral(
        "(() => { const w = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);"
        "  for (let n = w.nextNode(); n; n = w.nextNode()) {"
        "    const i = n.data.indexOf(%1); if (i < 0) continue;"
        "    getSelection().setBaseAndExtent(n, i, n, i + %1.length); return true; }"
        "  return false; })()").arg(QString::fromUtf8(QJsonDocument(QJsonArray{text})
                                                           .toJson(QJsonDocument::Compact)
                                                           .chopped(1).mid(1))));
    QVERIFY2(found.toBool(), qPrintable("text not in page: " + text));
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

}  // namespace orvane::test
