#include "reports/previewdialogs.h"

#include <QPushButton>

namespace hk
{

JumpToPage::JumpToPage(int &page, int pageCount)
    : Procedure(QStringLiteral("PREVIEW:JUMPTOPAGE")), page_(page), pageCount_(pageCount)
{
}

WindowLayout JumpToPage::layout(int pageCount)
{
    WindowLayout w;
    w.title = "Jump to a Report Page";
    w.size = QSize(120, 48);
    w.kind = WindowKind::Dialog;
    w.resizable = false;
    w.controls = {
        {.id = PagePrompt,
         .kind = ControlKind::Prompt,
         .design = QRect(8, 10, 30, 10),
         .text = "&Page:"},
        {.id = PageSpin,
         .kind = ControlKind::Spin,
         .design = QRect(40, 8, 50, 13),
         .tip = "Select a page of the report",
         .picture = "n5",
         .low = 1,
         .high = pageCount},
        {.id = OkButton,
         .kind = ControlKind::Button,
         .design = QRect(10, 28, 45, 14),
         .text = "OK",
         .tip = "Jump to the selected page",
         .flags = FlagDefault},
        {.id = CancelButton,
         .kind = ControlKind::Button,
         .design = QRect(64, 28, 45, 14),
         .text = "Cancel",
         .tip = "Cancel this selection",
         .flags = FlagCancel},
    };
    return w;
}

QCoro::Task<> JumpToPage::run()
{
    auto built = BuiltWindow::build(layout(pageCount_));
    BuiltWindow *w = built.release();
    w->setValue(PageSpin, std::int64_t{page_});
    connect(w->controlAs<QPushButton>(OkButton), &QPushButton::clicked, w, [this, w] {
        page_ = int(std::get<std::int64_t>(w->value(PageSpin)));
        w->close();
    });
    connect(w->controlAs<QPushButton>(CancelButton), &QPushButton::clicked, w, &QWidget::close);
    setWindow(w);
    w->show();
    co_await untilClosed();
}

SelectDisplay::SelectDisplay(int &across, int &down)
    : Procedure(QStringLiteral("PREVIEW:SELECTDISPLAY")), across_(across), down_(down)
{
}

WindowLayout SelectDisplay::layout()
{
    WindowLayout w;
    w.title = "Change the Report Display";
    w.size = QSize(120, 70);
    w.kind = WindowKind::Dialog;
    w.resizable = false;
    w.controls = {
        {.id = PagesGroup,
         .kind = ControlKind::Group,
         .design = QRect(6, 4, 108, 40),
         .text = "Pages Displayed"},
        {.id = AcrossPrompt,
         .kind = ControlKind::Prompt,
         .design = QRect(14, 16, 30, 10),
         .parent = PagesGroup,
         .text = "Across"},
        {.id = AcrossSpin,
         .kind = ControlKind::Spin,
         .design = QRect(50, 14, 40, 13),
         .parent = PagesGroup,
         .picture = "N2",
         .low = 1,
         .high = 10},
        {.id = DownPrompt,
         .kind = ControlKind::Prompt,
         .design = QRect(14, 30, 30, 10),
         .parent = PagesGroup,
         .text = "Down"},
        {.id = DownSpin,
         .kind = ControlKind::Spin,
         .design = QRect(50, 28, 40, 13),
         .parent = PagesGroup,
         .picture = "N2",
         .low = 1,
         .high = 10},
        {.id = OkButton,
         .kind = ControlKind::Button,
         .design = QRect(38, 50, 45, 14),
         .text = "OK",
         .flags = FlagDefault},
    };
    return w;
}

QCoro::Task<> SelectDisplay::run()
{
    auto built = BuiltWindow::build(layout());
    BuiltWindow *w = built.release();
    w->setValue(AcrossSpin, std::int64_t{across_});
    w->setValue(DownSpin, std::int64_t{down_});
    connect(w->controlAs<QPushButton>(OkButton), &QPushButton::clicked, w, [this, w] {
        across_ = int(std::get<std::int64_t>(w->value(AcrossSpin)));
        down_ = int(std::get<std::int64_t>(w->value(DownSpin)));
        w->close();
    });
    setWindow(w);
    w->show();
    co_await untilClosed();
}

} // namespace hk
