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

#include "platform/settingsfile.h"

#include <QFile>
#include <QTemporaryDir>

namespace hk::test
{

// A settings folder of the test's own: XDG_CONFIG_HOME points into a fresh
// temporary folder while this lives, so no test sees another's files.
class TempSettings
{
  public:
    TempSettings() : old_(qgetenv("XDG_CONFIG_HOME"))
    {
        setSettingsService(nullptr);
        qputenv("XDG_CONFIG_HOME", dir_.path().toLocal8Bit());
    }
    ~TempSettings()
    {
        if (old_.isNull())
            qunsetenv("XDG_CONFIG_HOME");
        else
            qputenv("XDG_CONFIG_HOME", old_);
    }
    TempSettings(const TempSettings &) = delete;
    TempSettings &operator=(const TempSettings &) = delete;

    QString folder() const { return dir_.path() + QStringLiteral("/Hearthkeep"); }
    // The file's text; empty when there is none.
    QString text(const QString &file) const
    {
        QFile f(folder() + u'/' + file);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }
    bool exists(const QString &file) const { return QFile::exists(folder() + u'/' + file); }

  private:
    QTemporaryDir dir_;
    QByteArray old_;
};

// An owner on file, so that the introduction does not ask for one.
inline void giveOwner(std::string_view name = "A. Owner", std::string_view address = "1 The Lane")
{
    settingsService().write("HkOwner.Ini", "HkOwner", "OwnerName", name);
    settingsService().write("HkOwner.Ini", "HkOwner", "OwnerAddress", address);
}

} // namespace hk::test
