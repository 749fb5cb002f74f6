#include "browse/search.h"

#include "browse/browse.h"
#include "dictionary/globals.h"
#include "dictionary/tables.h"
#include "platform/data/files.h"
#include "platform/data/table.h"
#include "platform/data/textsearch.h"
#include "platform/data/view.h"
#include "platform/help.h"
#include "platform/windows/windowlife.h"

#include <QPushButton>

namespace hk
{

namespace
{

std::string searchText()
{
    return std::string(trimRight(Glo.SearchString.view()));
}

} // namespace

BrowseDef searchResultDef(const SearchKind &kind, BrowseDef d)
{
    const FieldRef searched = kind.searched;
    // The view is kept to the matches of the globals as they stand each
    // time it is opened.
    d.sorts.front().filter = [searched](View &v) {
        const TextCondition c = containsText(table(searched.table), searched.field,
                                             Glo.SearchString.view(), Glo.Ignorecase != 0);
        v.filter(c.sql, c.params);
    };
    d.sorts.front().filteredEnds = false;
    d.rowExtras = {
        {[] { return PictureValue{std::string(Glo.SearchString.view())}; },
         [](const PictureValue &v) { Glo.SearchString = std::get<std::string>(v); }},
        {[] { return PictureValue{std::int64_t(Glo.Ignorecase)}; },
         [](const PictureValue &v) { Glo.Ignorecase = Byte(std::get<std::int64_t>(v)); }},
    };
    d.openTitle = [] { return "Searching for (" + searchText() + ")."; };
    const std::string noMatch = kind.noMatch;
    d.emptyTitle = [noMatch] { return noMatch + searchText() + ")."; };
    return d;
}

SearchWindow::SearchWindow(const SearchKind &kind) : Procedure(kind.window), kind_(kind) {}

WindowLayout SearchWindow::layout()
{
    WindowLayout w;
    w.title = "Search";
    w.size = QSize(200, 62);
    w.resizable = false;
    w.controls = {
        {.id = IgnoreCase,
         .kind = ControlKind::Check,
         .design = QRect(34, 6, 80, 10),
         .text = "Ignore Case",
         .tip = "Ignores upper/lower case"},
        {.id = FindPrompt,
         .kind = ControlKind::Prompt,
         .design = QRect(8, 22, 24, 10),
         .text = "Find:"},
        {.id = Find,
         .kind = ControlKind::Entry,
         .design = QRect(34, 20, 158, 12),
         .tip = "Enter Search String",
         .message = "Enter Search String - Maximum 20 Characters",
         .picture = "s35"},
        {.id = Ok,
         .kind = ControlKind::Button,
         .design = QRect(34, 40, 48, 14),
         .text = "OK",
         .tip = "Start Search",
         .flags = FlagDefault},
        {.id = Cancel,
         .kind = ControlKind::Button,
         .design = QRect(88, 40, 48, 14),
         .text = "Cancel",
         .tip = "Cancel Search",
         .flags = FlagCancel},
        {.id = Help,
         .kind = ControlKind::Button,
         .design = QRect(142, 40, 48, 14),
         .text = "Help",
         .tip = "View Associated Help File"},
    };
    return w;
}

QCoro::Task<> SearchWindow::run()
{
    GlobalRequest = 0;
    GlobalResponse = 0;
    Glo.Ignorecase = 0;
    Glo.SearchString = "";
    content_ = BuiltWindow::build(layout()).release();
    content_->setValue(IgnoreCase, std::int64_t{0});
    content_->setValue(Find, std::string());
    auto onClick = [this](int id, auto handler) {
        connect(content_->controlAs<QPushButton>(id), &QPushButton::clicked, this, handler);
    };
    onClick(Ok, [this] { pressOk(); });
    onClick(Cancel, [this] { window()->close(); });
    onClick(Help, [this] { showHelp(helpContext()); });
    WindowLife::attach(openDocument(content_), {.section = kind_.window});
    content_->control(IgnoreCase)->setFocus();
    co_await untilClosed();
    GlobalResponse = RequestCancelled;
}

void SearchWindow::pressOk()
{
    if (!content_ || content_->acceptAll() != 0) return;
    const PictureValue ignore = content_->value(IgnoreCase);
    const auto *checked = std::get_if<std::int64_t>(&ignore);
    Glo.Ignorecase = Byte(checked && *checked != 0);
    const PictureValue find = content_->value(Find);
    const auto *text = std::get_if<std::string>(&find);
    Glo.SearchString = text ? *text : std::string();
    const SearchKind &kind = kind_;
    start(std::make_unique<Browse>(kind.result()));
    window()->close();
}

} // namespace hk
