#pragma once
// The main() of every GUI test: prepares the application as the program does
// and runs the test object; errors in the surface's own scripts fail the test.

#include <QApplication>
#include <QtTest>
#include <cstdio>

#include <Surface.h>

#define ORVANE_TEST_MAIN(TestObject)                                                          \
    int main(int argc, char** argv)                                                           \
    {                                                                                         \
        orvane::Surface::prepareApplication();                                                \
        QApplication app(argc, argv);                                                         \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                              \
        TestObject tc;                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                            \
        const int rc = QTest::qExec(&tc, argc, argv);                                         \
        if (const int errors = orvane::Surface::scriptErrorCount(); errors > 0) {             \
            std::fprintf(stderr, "FAIL: %d error(s) in the surface's own scripts\n", errors); \
            return rc ? rc : 1;                                                               \
        }                                                                                     \
        return rc;                                                                            \
    }
