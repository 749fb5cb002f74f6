// Documents handed to the desktop's own viewer (a PDF receipt kept with a
// record). Every request goes through the current DesktopService, so that
// tests can see what was opened without starting anything.
#pragma once

#include <QString>
#include <QStringList>

namespace hk
{

class DesktopService
{
  public:
    virtual ~DesktopService() = default;
    // Opens the file with the application the desktop has for its type;
    // false when none could be started.
    virtual bool openDocument(const QString &path) = 0;
};

// The service in use: the desktop's own until another is set; nullptr goes
// back to it. The caller keeps ownership of what it sets.
DesktopService &desktop();
void setDesktopService(DesktopService *service);

// A headless double: notes every file it is asked to open.
class RecordingDesktopService : public DesktopService
{
  public:
    bool openDocument(const QString &path) override
    {
        opened.push_back(path);
        return true;
    }
    QStringList opened;
};

} // namespace hk
