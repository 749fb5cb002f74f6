// The help viewer: a window of its own beside the frame that shows the
// program's help pages, with a contents list and a search over all pages.
#pragma once

#include "platform/help.h"

#include <QPointer>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;

namespace hk
{

class HelpWindow : public QWidget
{
    Q_OBJECT
  public:
    HelpWindow();

    void showPage(const QUrl &page);
    void showSearch();
    // The page holding the anchor `context`, with the anchor; empty if none.
    static QUrl pageFor(const QString &context);

  private:
    void present();
    void search(const QString &words);

    QTabWidget *tabs_;
    QListWidget *contents_;
    QLineEdit *searchText_;
    QListWidget *found_;
    QTextBrowser *browser_;
};

// Serves help requests with one HelpWindow, opened on the first request.
class ProgramHelp : public HelpViewer
{
  public:
    ~ProgramHelp() override;
    void showContents() override;
    void showSearch() override;
    void showHelpOnHelp() override;
    void showTopic(const QString &context) override;
    void quit() override;

  private:
    HelpWindow &window();
    QPointer<HelpWindow> window_;
};

} // namespace hk
