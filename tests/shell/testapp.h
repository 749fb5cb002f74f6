// The application object the widget tests run under (offscreen), created
// once on first use, and a wait that keeps events flowing.
#pragma once

#include <QApplication>
#include <QTest>

#include <functional>
#include <ostream>

// Lets assertions print texts readably.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace hk::test
{

inline QApplication &app()
{
    static int argc = 1;
    static char name[] = "hearthkeep-test";
    static char *argv[] = {name, nullptr};
    static auto *application = new QApplication(argc, argv);
    return *application;
}

// Processes events until `ready` holds or five seconds pass.
inline bool waitFor(const std::function<bool()> &ready)
{
    return QTest::qWaitFor(ready, 5000);
}

} // namespace hk::test
