#pragma once
// The one application object of a widget benchmark, headless unless a
// display platform is asked for.

#include <QApplication>

inline QApplication& BenchApplication(const char* name)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(name), nullptr};
    static QApplication application(argc, argv);
    return application;
}
