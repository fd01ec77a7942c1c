#pragma once
// main() for QtTest classes that show store pages: the "mivo" scheme must be
// registered before the application object exists, and the shared browser
// profile goes after every page.

#include "gui/web/WebProfile.h"

#include <QApplication>
#include <QtTest>

#define ORBELA_WEB_TEST_MAIN(TestClass)                                                                              \
    int main(int argc, char *argv[])                                                                                 \
    {                                                                                                                \
        prepareWebPages();                                                                                           \
        QApplication app(argc, argv);                                                                                \
        int result = 0;                                                                                              \
        {                                                                                                            \
            TestClass test;                                                                                          \
            QTEST_SET_MAIN_SOURCE_PATH                                                                               \
            result = QTest::qExec(&test, argc, argv);                                                                \
        }                                                                                                            \
        releaseClientWebProfile();                                                                                   \
        return result;                                                                                               \
    }
