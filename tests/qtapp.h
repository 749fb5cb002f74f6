// One QApplication for the whole test program, made on first use: widget
// tests run in any order and in one process.
#pragma once

#include <QApplication>

namespace hk::test
{

inline QApplication &qtApp()
{
    static int argc = 1;
    static char name[] = "platform_tests";
    static char *argv[] = {name, nullptr};
    static QApplication *app = new QApplication(argc, argv); // lives until exit
    return *app;
}

} // namespace hk::test
