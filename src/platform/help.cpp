#include "platform/help.h"

namespace hk
{

namespace
{
HelpViewer *installed = nullptr;
}

void setHelpViewer(HelpViewer *viewer)
{
    installed = viewer;
}

HelpViewer *helpViewer()
{
    return installed;
}

void showHelp(const QString &context)
{
    if (!installed) return;
    if (context.isEmpty())
        installed->showContents();
    else
        installed->showTopic(context);
}

} // namespace hk
