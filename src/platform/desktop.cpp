#include "platform/desktop.h"

#include <QDesktopServices>
#include <QUrl>

namespace hk
{

namespace
{

class QtDesktopService : public DesktopService
{
  public:
    bool openDocument(const QString &path) override
    {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
};

DesktopService *gService = nullptr;

} // namespace

DesktopService &desktop()
{
    static QtDesktopService qt;
    return gService ? *gService : qt;
}

void setDesktopService(DesktopService *service)
{
    gService = service;
}

} // namespace hk
