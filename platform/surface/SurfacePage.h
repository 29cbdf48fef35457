#pragma once
// The page under a Surface: page scripts on or off by mode, our own scripts
// injected into the ApplicationWorld, script dialogs that never block,
// navigation held to the documents the surface loads itself (edit mode),
// errors of our own scripts reported on the "orvane.surface.js" category, and
// the state our scripts push over a web channel that only their world sees.

#include <QJsonObject>
#include <QLoggingCategory>
#include <QUrl>
#include <QWebEnginePage>

Q_DECLARE_LOGGING_CATEGORY(lcSurfaceJs)

namespace orvane {

class SurfacePage : public QWebEnginePage {
    Q_OBJECT
public:
    SurfacePage(bool editMode, QObject* parent);

    // The document the surface is about to load; the only main-frame
    // navigation an edit-mode page accepts.
    void expectNavigation(const QUrl& url) { m_expected = url; }

    // Counts and logs an error of our own scripts.
    static void reportScriptError(const QString& text);
    static int scriptErrorCount();

signals:
    // Our scripts' snapshot of the page's state after a change.
    void statePushed(const QJsonObject& snapshot);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
    bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg,
                          const QString& defaultValue, QString* result) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceID) override;

private:
    void injectScripts();
    bool m_editMode;
    QUrl m_expected;
};

}  // namespace orvane
