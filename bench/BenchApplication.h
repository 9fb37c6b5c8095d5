#pragma once
// The one application object of a widget benchmark, headless unless a
// display platform is asked for.  It lives until the process ends and is
// never destroyed: Qt cannot tear an application down from the exit
// handlers (its own global objects are gone by then), and a benchmark
// program has no main of its own to destroy it in.

#include <QApplication>

inline QApplication& BenchApplication(const char* name)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(name), nullptr};
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}
