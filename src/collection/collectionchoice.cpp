#include "collection/collectionchoice.h"

#include "collection/csvexport.h"
#include "platform/windows/windowlife.h"

#include <QPushButton>

namespace hk
{

CollectionChoice::CollectionChoice(QString name, CollectionChoiceTexts texts)
    : Procedure(std::move(name)), texts_(std::move(texts))
{
}

WindowLayout CollectionChoice::layout(const CollectionChoiceTexts &texts)
{
    std::vector<std::string> names;
    for (const CsvCollection &c : CollectionExport::collections())
        names.push_back(c.name);
    WindowLayout w;
    w.title = texts.title;
    w.size = QSize(150, 48);
    w.kind = WindowKind::Dialog;
    w.resizable = false;
    w.controls = {
        {.id = CollectionPrompt,
         .kind = ControlKind::Prompt,
         .design = QRect(8, 10, 40, 10),
         .text = "&Collection:"},
        {.id = CollectionList,
         .kind = ControlKind::DropList,
         .design = QRect(50, 8, 90, 13),
         .tip = texts.listTip,
         .items = names},
        {.id = ActButton,
         .kind = ControlKind::Button,
         .design = QRect(24, 28, 50, 14),
         .text = texts.button,
         .tip = texts.buttonTip,
         .flags = FlagDefault},
        {.id = CancelButton,
         .kind = ControlKind::Button,
         .design = QRect(80, 28, 45, 14),
         .text = "Cancel",
         .tip = texts.cancelTip,
         .flags = FlagCancel},
    };
    return w;
}

QCoro::Task<> CollectionChoice::chosen(BuiltWindow *w)
{
    const std::string name = std::get<std::string>(w->value(CollectionList));
    if (const CsvCollection *collection = CollectionExport::findCollection(name))
        co_await act(w, *collection);
}

QCoro::Task<> CollectionChoice::run()
{
    BuiltWindow *w = BuiltWindow::build(layout(texts_)).release();
    connect(w->controlAs<QPushButton>(ActButton), &QPushButton::clicked, w,
            [this, w] { chosen(w); });
    connect(w->controlAs<QPushButton>(CancelButton), &QPushButton::clicked, w, &QWidget::close);
    setWindow(w);
    w->show();
    WindowLife::attach(w, {});
    co_await untilClosed();
}

} // namespace hk
