// Help: every window asks for help through these calls. The program installs
// the viewer that answers them; until it does, requests are ignored, just as a
// missing help file goes unreported.
#pragma once

#include <QString>

namespace hk
{

class HelpViewer
{
  public:
    virtual ~HelpViewer() = default;
    virtual void showContents() = 0;
    virtual void showSearch() = 0;     // search for help on a subject
    virtual void showHelpOnHelp() = 0; // how to use the viewer itself
    // Opens the topic for `context` (a procedure name such as "BrowseBooks");
    // an unknown context opens the contents.
    virtual void showTopic(const QString &context) = 0;
    virtual void quit() = 0; // the program is ending: close the viewer
};

// The viewer answering help requests; null uninstalls it. Not owned.
void setHelpViewer(HelpViewer *viewer);
HelpViewer *helpViewer();

// Opens help for `context`; an empty context opens the contents.
void showHelp(const QString &context = {});

} // namespace hk
