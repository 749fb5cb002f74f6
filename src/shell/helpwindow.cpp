#include "shell/helpwindow.h"

#include "platform/windows/visiblearea.h"
#include "platform/windows/windowlife.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace hk
{

namespace
{

const QString helpFolder = QStringLiteral(":/help");
const QUrl contentsPage(QStringLiteral("qrc:/help/index.html"));
const QUrl helpOnHelpPage(QStringLiteral("qrc:/help/howtouse.html"));

struct Page {
    QString file;  // name in the help folder
    QString title; // its <title>
    QString html;
};

// Every help page, read once: the contents page first, then the pages in the
// order it links to them, then any it does not link to.
const std::vector<Page> &pages()
{
    static const std::vector<Page> all = [] {
        std::vector<Page> list;
        const QStringList files = QDir(helpFolder).entryList({QStringLiteral("*.html")});
        for (const QString &file : files) {
            QFile f(helpFolder + u'/' + file);
            if (!f.open(QIODevice::ReadOnly)) continue;
            Page page{file, file, QString::fromUtf8(f.readAll())};
            static const QRegularExpression titleRx(QStringLiteral("<title>(.*)</title>"));
            if (auto m = titleRx.match(page.html); m.hasMatch())
                page.title = m.captured(1).trimmed();
            list.push_back(std::move(page));
        }
        QStringList order{QStringLiteral("index.html")};
        auto index = std::find_if(list.begin(), list.end(),
                                  [&order](const Page &p) { return p.file == order.front(); });
        if (index != list.end()) {
            static const QRegularExpression linkRx(QStringLiteral("href=\"([^\"#]+)"));
            for (auto it = linkRx.globalMatch(index->html); it.hasNext();)
                order << it.next().captured(1);
        }
        auto rank = [&order](const Page &p) {
            const qsizetype i = order.indexOf(p.file);
            return i < 0 ? order.size() : i;
        };
        std::stable_sort(list.begin(), list.end(),
                         [&](const Page &a, const Page &b) { return rank(a) < rank(b); });
        return list;
    }();
    return all;
}

QUrl urlOf(const QString &file)
{
    return QUrl(QStringLiteral("qrc:/help/") + file);
}

} // namespace

HelpWindow::HelpWindow()
    : tabs_(new QTabWidget), contents_(new QListWidget), searchText_(new QLineEdit),
      found_(new QListWidget), browser_(new QTextBrowser)
{
    setWindowTitle(QStringLiteral("Hearthkeep Help"));
    contents_->setObjectName(QStringLiteral("contents"));
    searchText_->setObjectName(QStringLiteral("searchText"));
    found_->setObjectName(QStringLiteral("found"));
    browser_->setObjectName(QStringLiteral("page"));
    resize(900, 620);

    for (const Page &page : pages()) {
        auto *item = new QListWidgetItem(page.title, contents_);
        item->setData(Qt::UserRole, urlOf(page.file));
    }
    tabs_->addTab(contents_, QStringLiteral("&Contents"));

    auto *searchTab = new QWidget;
    auto *searchLayout = new QVBoxLayout(searchTab);
    auto *prompt = new QLabel(QStringLiteral("&Type the words to find:"));
    prompt->setBuddy(searchText_);
    searchLayout->addWidget(prompt);
    searchLayout->addWidget(searchText_);
    auto *foundLabel = new QLabel(QStringLiteral("Topics &found:"));
    foundLabel->setBuddy(found_);
    searchLayout->addWidget(foundLabel);
    searchLayout->addWidget(found_);
    tabs_->addTab(searchTab, QStringLiteral("&Search"));

    browser_->setSearchPaths({helpFolder});
    browser_->setOpenExternalLinks(false);

    auto *split = new QSplitter;
    split->addWidget(tabs_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 3);
    split->setSizes({280, 620});
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(split);

    auto open = [this](QListWidgetItem *item) {
        if (item) browser_->setSource(item->data(Qt::UserRole).toUrl());
    };
    connect(contents_, &QListWidget::itemActivated, this, open);
    connect(contents_, &QListWidget::itemClicked, this, open);
    connect(found_, &QListWidget::itemActivated, this, open);
    connect(found_, &QListWidget::itemClicked, this, open);
    connect(searchText_, &QLineEdit::textChanged, this, &HelpWindow::search);
}

void HelpWindow::showPage(const QUrl &page)
{
    browser_->setSource(page);
    tabs_->setCurrentIndex(0);
    present();
}

void HelpWindow::present()
{
    show();
    keepInside(this); // once shown, its title bar counts as well
    raise();
    activateWindow();
}

void HelpWindow::showSearch()
{
    if (browser_->source().isEmpty()) browser_->setSource(contentsPage);
    tabs_->setCurrentIndex(1);
    present();
    searchText_->setFocus();
    searchText_->selectAll();
}

void HelpWindow::search(const QString &words)
{
    found_->clear();
    const QStringList terms = words.split(u' ', Qt::SkipEmptyParts);
    if (terms.isEmpty()) return;
    for (const Page &page : pages()) {
        QTextDocument doc;
        doc.setHtml(page.html);
        const QString text = doc.toPlainText();
        const bool all = std::all_of(terms.begin(), terms.end(), [&](const QString &t) {
            return text.contains(t, Qt::CaseInsensitive);
        });
        if (all) {
            auto *item = new QListWidgetItem(page.title, found_);
            item->setData(Qt::UserRole, urlOf(page.file));
        }
    }
}

QUrl HelpWindow::pageFor(const QString &context)
{
    if (context.isEmpty()) return {};
    const QString id = QStringLiteral("id=\"%1\"").arg(context);
    const QString name = QStringLiteral("name=\"%1\"").arg(context);
    for (const Page &page : pages()) {
        if (page.html.contains(id) || page.html.contains(name)) {
            QUrl url = urlOf(page.file);
            url.setFragment(context);
            return url;
        }
    }
    return {};
}

ProgramHelp::~ProgramHelp()
{
    delete window_.data();
}

HelpWindow &ProgramHelp::window()
{
    if (!window_) {
        window_ = new HelpWindow;
        WindowLife::attach(window_, {.section = "HelpViewer", .designPlace = false});
        keepInside(window_); // the designed size too may not fit a small screen
    }
    return *window_;
}

void ProgramHelp::showContents()
{
    window().showPage(contentsPage);
}

void ProgramHelp::showSearch()
{
    window().showSearch();
}

void ProgramHelp::showHelpOnHelp()
{
    window().showPage(helpOnHelpPage);
}

void ProgramHelp::showTopic(const QString &context)
{
    const QUrl page = HelpWindow::pageFor(context);
    window().showPage(page.isEmpty() ? contentsPage : page);
}

void ProgramHelp::quit()
{
    if (window_) window_->close();
}

} // namespace hk
