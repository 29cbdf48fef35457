#pragma once
// The main() of every GUI test: registers the editing surface's URL schemes
// (when the test links the surface) before the QApplication exists, shares
// OpenGL contexts as QtWebEngine requires, and runs the test object.
// Script errors of the surface's own JavaScript are reported as warnings on
// the "orvane.surface.js" category; any of them makes the test fail.

#include <QApplication>
#include <QtTest>
#include <cstdio>

#if __has_include(<Surface.h>)
#include <Surface.h>
#define ORVANE_TEST_REGISTER_SCHEMES() orvane::Surface::registerSchemes()
#else
#define ORVANE_TEST_REGISTER_SCHEMES() ((void)0)
#endif

namespace orvane::test {

inline int& scriptErrorCount()
{
    static int count = 0;
    return count;
}

inline QtMessageHandler& previousMessageHandler()
{
    static QtMessageHandler handler = nullptr;
    return handler;
}

inline void countScriptErrors(QtMsgType type, const QMessageLogContext& context, const QString& msg)
{
    if (context.category && qstrcmp(context.category, "orvane.surface.js") == 0)
        ++scriptErrorCount();
    if (previousMessageHandler())
        previousMessageHandler()(type, context, msg);
}

template <typename TestObject>
int runGuiTest(int argc, char** argv)
{
    ORVANE_TEST_REGISTER_SCHEMES();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    app.setAttribute(Qt::AA_Use96Dpi, true);
    previousMessageHandler() = qInstallMessageHandler(countScriptErrors);
    TestObject tc;
    QTEST_SET_MAIN_SOURCE_PATH
    int rc = QTest::qExec(&tc, argc, argv);
    if (scriptErrorCount() > 0) {
        std::fprintf(stderr, "FAIL: %d error(s) in the surface's own scripts (see the "
                             "orvane.surface.js warnings above)\n", scriptErrorCount());
        rc = rc ? rc : 1;
    }
    return rc;
}

}  // namespace orvane::test

#define ORVANE_TEST_MAIN(TestObject)                                     \
    int main(int argc, char** argv)                                      \
    {                                                                    \
        return orvane::test::runGuiTest<TestObject>(argc, argv);        \
    }
