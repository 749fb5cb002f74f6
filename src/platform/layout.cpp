#include "platform/layout.h"

#include "dictionary/types.h"
#include "platform/messages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>

#include <stdexcept>

namespace hk
{

namespace
{

QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}

std::string textOf(const PictureValue &value)
{
    if (auto s = std::get_if<std::string>(&value)) return *s;
    if (auto i = std::get_if<std::int64_t>(&value)) return std::to_string(*i);
    return formatCents(std::get<Hundredths>(value).cents);
}

std::int64_t wholeOf(const PictureValue &value)
{
    if (auto i = std::get_if<std::int64_t>(&value)) return *i;
    if (auto h = std::get_if<Hundredths>(&value)) return h->cents / 100;
    return parseCents(std::get<std::string>(value)).value_or(0) / 100;
}

Qt::Alignment alignmentOf(ColumnAlign a)
{
    switch (a) {
    case ColumnAlign::Right:
    case ColumnAlign::Decimal:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlign::Center:
        return Qt::AlignCenter;
    case ColumnAlign::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

Qt::Alignment alignmentOf(unsigned flags)
{
    if (flags & FlagRight) return Qt::AlignRight | Qt::AlignVCenter;
    if (flags & FlagCenter) return Qt::AlignCenter;
    return Qt::AlignLeft | Qt::AlignVCenter;
}

PictureValue emptyValueOf(const Picture &p)
{
    return p.kind == PictureKind::Text ? PictureValue{std::string()}
                                       : PictureValue{std::int64_t{0}};
}

} // namespace

const ControlLayout *WindowLayout::control(int id) const
{
    for (const auto &c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

// ---------------------------------------------------------------- entry

PictureEntry::PictureEntry(const Picture &picture, QWidget *parent)
    : QLineEdit(parent), picture_(picture), value_(emptyValueOf(picture))
{
    if (picture.kind == PictureKind::Text || picture.kind == PictureKind::Number)
        setMaxLength(picture.width);
    setText(qs(format(value_, picture_)));
    connect(this, &QLineEdit::editingFinished, this, [this] { accept(); });
}

void PictureEntry::setValue(const PictureValue &value)
{
    value_ = value;
    setText(qs(format(value_, picture_)));
    setModified(false);
}

void PictureEntry::setAcceptor(std::function<bool(const PictureValue &)> acceptor)
{
    acceptor_ = std::move(acceptor);
}

bool PictureEntry::accept()
{
    if (!isModified()) return true;
    const auto typed = parse(text().toStdString(), picture_);
    if (typed && (!acceptor_ || acceptor_(*typed))) {
        value_ = *typed;
        setText(qs(format(value_, picture_)));
        setModified(false);
        emit accepted(value_);
        return true;
    }
    beep();
    setText(qs(format(value_, picture_)));
    setModified(false);
    // When the refusal comes from leaving the entry, the focus is on its way
    // elsewhere: bring it back once it has arrived.
    setFocus();
    QPointer<PictureEntry> self(this);
    QTimer::singleShot(0, this, [self] {
        if (self) self->setFocus();
    });
    emit rejected();
    return false;
}

// ---------------------------------------------------------------- window

std::unique_ptr<BuiltWindow> BuiltWindow::build(const WindowLayout &layout, QWidget *parent)
{
    return build(layout, DialogUnits::application(), parent);
}

std::unique_ptr<BuiltWindow> BuiltWindow::build(const WindowLayout &layout,
                                                const DialogUnits &units, QWidget *parent)
{
    return build(layout, units, ControlMaker(), parent);
}

std::unique_ptr<BuiltWindow> BuiltWindow::build(const WindowLayout &layout,
                                                const DialogUnits &units, const ControlMaker &maker,
                                                QWidget *parent)
{
    std::map<int, ControlKind> seen;
    for (const auto &c : layout.controls) {
        if (c.id == 0 || seen.count(c.id))
            throw std::invalid_argument("layout \"" + layout.title + "\": control number " +
                                        std::to_string(c.id) + " is zero or used twice");
        if (c.parent != 0) {
            auto p = seen.find(c.parent);
            const bool holds = p != seen.end() &&
                               (p->second == ControlKind::Tab || p->second == ControlKind::Group ||
                                p->second == ControlKind::Option);
            const bool tabOfSheet =
                c.kind == ControlKind::Tab && p != seen.end() && p->second == ControlKind::Sheet;
            if (!holds && !tabOfSheet)
                throw std::invalid_argument("layout \"" + layout.title + "\": control " +
                                            std::to_string(c.id) +
                                            " names a parent that is not declared before it");
        } else if (c.kind == ControlKind::Tab) {
            throw std::invalid_argument("layout \"" + layout.title + "\": tab " +
                                        std::to_string(c.id) + " outside a sheet");
        }
        seen[c.id] = c.kind;
    }
    std::unique_ptr<BuiltWindow> window(new BuiltWindow(layout, units, parent));
    window->maker_ = maker;
    for (const auto &c : layout.controls)
        window->widgets_[c.id] = window->create(c);
    // A prompt's letter goes to the control declared after it.
    const auto &all = layout.controls;
    for (std::size_t i = 0; i + 1 < all.size(); ++i)
        if (all[i].kind == ControlKind::Prompt)
            window->controlAs<QLabel>(all[i].id)->setBuddy(window->control(all[i + 1].id));
    window->updateVisibility();
    return window;
}

BuiltWindow::BuiltWindow(const WindowLayout &layout, const DialogUnits &units, QWidget *parent)
    : QWidget(parent), layout_(layout), units_(units)
{
    setWindowTitle(qs(layout.title));
    const QSize size = units_.toPixels(layout.size);
    resize(size);
    if (!layout.resizable)
        setFixedSize(size);
    else
        setMinimumSize(
            units_.toPixels(layout.minimumSize.isEmpty() ? layout.size : layout.minimumSize));
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        for (const auto &[id, w] : widgets_)
            if (w == now) {
                emit statusMessage(qs(layout_.control(id)->message));
                return;
            }
    });
}

// Focus moves while the controls go: stop listening before they do.
BuiltWindow::~BuiltWindow()
{
    disconnect(focusWatch_);
}

QWidget *BuiltWindow::create(const ControlLayout &c)
{
    QWidget *w = nullptr;
    const QString text = qs(c.text);
    switch (c.kind) {
    case ControlKind::Prompt: {
        auto *label = new QLabel(text, this);
        w = label;
        break;
    }
    case ControlKind::Entry: {
        auto *entry = new PictureEntry(Picture::of(c.picture.empty() ? "s255" : c.picture), this);
        entry->setReadOnly(c.flags & FlagReadOnly);
        entry->setAlignment(alignmentOf(c.flags));
        w = entry;
        break;
    }
    case ControlKind::Display: {
        auto *label = new QLabel(this);
        if (!c.picture.empty())
            label->setText(qs(format(emptyValueOf(Picture::of(c.picture)), c.picture)));
        else
            label->setText(text);
        label->setAlignment(alignmentOf(c.flags));
        w = label;
        break;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(text, this);
        button->setDefault(c.flags & FlagDefault);
        button->setAutoDefault(false);
        w = button;
        break;
    }
    case ControlKind::Check:
        w = new QCheckBox(text, this);
        break;
    case ControlKind::Option: {
        auto *box = new QGroupBox(text, this);
        auto *group = new QButtonGroup(box);
        group->setObjectName(QStringLiteral("hkOption"));
        w = box;
        break;
    }
    case ControlKind::Radio: {
        auto *radio = new QRadioButton(text, this);
        if (auto *option = qobject_cast<QGroupBox *>(control(c.parent))) {
            if (auto *group = option->findChild<QButtonGroup *>(QStringLiteral("hkOption")))
                group->addButton(radio, static_cast<int>(group->buttons().size()) + 1);
        }
        w = radio;
        break;
    }
    case ControlKind::DropList:
    case ControlKind::Combo: {
        auto *combo = new QComboBox(this);
        combo->setEditable(c.kind == ControlKind::Combo);
        for (const auto &item : c.items)
            combo->addItem(qs(item));
        w = combo;
        break;
    }
    case ControlKind::List: {
        if (maker_) w = maker_(c, this);
        if (w) break;
        auto *view = new QTreeView(this);
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setAllColumnsShowFocus(true);
        if (!c.listFormat.empty()) applyListFormat(view, ListFormat::of(c.listFormat), units_);
        w = view;
        break;
    }
    case ControlKind::Sheet: {
        auto *sheet = new QTabWidget(this);
        connect(sheet, &QTabWidget::currentChanged, this, [this] { updateVisibility(); });
        w = sheet;
        break;
    }
    case ControlKind::Tab: {
        auto *sheet = controlAs<QTabWidget>(c.parent);
        auto *page = new QWidget(sheet);
        const int index = sheet->addTab(page, text);
        sheet->setTabToolTip(index, qs(c.tip));
        page->setToolTip(qs(c.tip));
        page->setStatusTip(qs(c.message));
        hidden_[c.id] = c.flags & FlagHidden;
        return page; // lives in its sheet, not on the surface
    }
    case ControlKind::Group:
        w = new QGroupBox(text, this);
        break;
    case ControlKind::Image: {
        auto *label = new QLabel(this);
        label->setPixmap(QPixmap(qs(c.image)));
        label->setScaledContents(true);
        w = label;
        break;
    }
    case ControlKind::Spin: {
        auto *spin = new QSpinBox(this);
        spin->setRange(c.low, c.high);
        spin->setReadOnly(c.flags & FlagReadOnly);
        w = spin;
        break;
    }
    case ControlKind::Text: {
        auto *edit = new QPlainTextEdit(this);
        edit->setReadOnly(c.flags & FlagReadOnly);
        w = edit;
        break;
    }
    case ControlKind::Box: {
        auto *frame = new QFrame(this);
        frame->setFrameShape(QFrame::Box);
        w = frame;
        break;
    }
    case ControlKind::Line: {
        auto *frame = new QFrame(this);
        frame->setFrameShape(c.design.width() >= c.design.height() ? QFrame::HLine : QFrame::VLine);
        w = frame;
        break;
    }
    case ControlKind::Progress:
        w = new QProgressBar(this);
        break;
    }

    QRect r = units_.toPixels(c.design);
    const QSize natural = w->sizeHint();
    if (c.design.width() == 0) r.setWidth(natural.width());
    if (c.design.height() == 0) r.setHeight(natural.height());
    w->setGeometry(r);
    w->setToolTip(qs(c.tip));
    w->setStatusTip(qs(c.message));
    w->setEnabled(!(c.flags & FlagDisabled));
    if (c.flags & FlagSkip) w->setFocusPolicy(Qt::NoFocus);
    hidden_[c.id] = c.flags & FlagHidden;
    w->setObjectName(QStringLiteral("control%1").arg(c.id));
    return w;
}

QWidget *BuiltWindow::control(int id) const
{
    auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second;
}

QRect BuiltWindow::designRect(int id) const
{
    const ControlLayout *c = layout_.control(id);
    return c ? units_.toPixels(c->design) : QRect();
}

std::vector<int> BuiltWindow::controlIds() const
{
    std::vector<int> ids;
    for (const auto &c : layout_.controls)
        ids.push_back(c.id);
    return ids;
}

bool BuiltWindow::shown(int id) const
{
    const ControlLayout *c = layout_.control(id);
    if (!c || hidden_.at(id)) return false;
    if (c->kind == ControlKind::Tab) {
        auto *sheet = controlAs<QTabWidget>(c->parent);
        if (sheet->currentWidget() != control(id)) return false;
    }
    return c->parent == 0 || shown(c->parent);
}

void BuiltWindow::updateVisibility()
{
    for (const auto &c : layout_.controls) {
        QWidget *w = control(c.id);
        if (!w) continue; // still being built
        if (c.kind == ControlKind::Tab) {
            auto *sheet = controlAs<QTabWidget>(c.parent);
            sheet->setTabVisible(sheet->indexOf(w), !hidden_[c.id]);
            continue;
        }
        w->setVisible(shown(c.id));
    }
}

void BuiltWindow::hideControl(int id)
{
    if (!hidden_.count(id)) return;
    hidden_[id] = true;
    updateVisibility();
}

void BuiltWindow::unhideControl(int id)
{
    if (!hidden_.count(id)) return;
    hidden_[id] = false;
    updateVisibility();
}

bool BuiltWindow::isControlHidden(int id) const
{
    return !shown(id);
}

void BuiltWindow::setControlEnabled(int id, bool enabled)
{
    if (QWidget *w = control(id)) w->setEnabled(enabled);
}

void BuiltWindow::selectTab(int id)
{
    const ControlLayout *c = layout_.control(id);
    if (!c || c->kind != ControlKind::Tab) return;
    auto *sheet = controlAs<QTabWidget>(c->parent);
    sheet->setCurrentWidget(control(id));
}

void BuiltWindow::setValue(int id, const PictureValue &value)
{
    const ControlLayout *c = layout_.control(id);
    if (!c) return;
    QWidget *w = control(id);
    switch (c->kind) {
    case ControlKind::Entry:
        static_cast<PictureEntry *>(w)->setValue(value);
        break;
    case ControlKind::Display:
        static_cast<QLabel *>(w)->setText(
            qs(c->picture.empty() ? textOf(value) : format(value, c->picture)));
        displayed_[id] = value;
        break;
    case ControlKind::Check:
        static_cast<QCheckBox *>(w)->setChecked(wholeOf(value) != 0);
        break;
    case ControlKind::Option: {
        auto *group = w->findChild<QButtonGroup *>(QStringLiteral("hkOption"));
        if (auto *b = group->button(static_cast<int>(wholeOf(value)))) b->setChecked(true);
        break;
    }
    case ControlKind::Spin:
        static_cast<QSpinBox *>(w)->setValue(static_cast<int>(wholeOf(value)));
        break;
    case ControlKind::DropList: {
        auto *combo = static_cast<QComboBox *>(w);
        combo->setCurrentIndex(combo->findText(qs(textOf(value))));
        break;
    }
    case ControlKind::Combo:
        static_cast<QComboBox *>(w)->setCurrentText(qs(textOf(value)));
        break;
    case ControlKind::Text:
        static_cast<QPlainTextEdit *>(w)->setPlainText(qs(textOf(value)));
        break;
    case ControlKind::Progress:
        static_cast<QProgressBar *>(w)->setValue(static_cast<int>(wholeOf(value)));
        break;
    default:
        break;
    }
}

PictureValue BuiltWindow::value(int id) const
{
    const ControlLayout *c = layout_.control(id);
    if (!c) return std::string();
    QWidget *w = control(id);
    switch (c->kind) {
    case ControlKind::Entry:
        return static_cast<PictureEntry *>(w)->value();
    case ControlKind::Display: {
        auto it = displayed_.find(id);
        if (it != displayed_.end()) return it->second;
        return c->picture.empty() ? PictureValue{c->text} : emptyValueOf(Picture::of(c->picture));
    }
    case ControlKind::Check:
        return std::int64_t{static_cast<QCheckBox *>(w)->isChecked()};
    case ControlKind::Option: {
        auto *group = w->findChild<QButtonGroup *>(QStringLiteral("hkOption"));
        return std::int64_t{std::max(0, group->checkedId())};
    }
    case ControlKind::Spin:
        return std::int64_t{static_cast<QSpinBox *>(w)->value()};
    case ControlKind::DropList:
    case ControlKind::Combo:
        return static_cast<QComboBox *>(w)->currentText().toStdString();
    case ControlKind::Text:
        return static_cast<QPlainTextEdit *>(w)->toPlainText().toStdString();
    case ControlKind::Progress:
        return std::int64_t{static_cast<QProgressBar *>(w)->value()};
    default:
        return std::string();
    }
}

int BuiltWindow::acceptAll()
{
    for (const auto &c : layout_.controls) {
        if (c.kind != ControlKind::Entry) continue;
        auto *e = entry(c.id);
        if (e->isEnabled() && !e->accept()) return c.id;
    }
    return 0;
}

// ---------------------------------------------------------------- lists

void applyListFormat(QTreeView *view, const ListFormat &format, const DialogUnits &units)
{
    const int n = static_cast<int>(format.columns.size());
    auto *model = view->model();
    if (!model || model->columnCount() < n) {
        model = new QStandardItemModel(0, n, view);
        view->setModel(model);
    }
    QHeaderView *header = view->header();
    header->setStretchLastSection(false);
    for (int i = 0; i < n; ++i) {
        const ListColumn &c = format.columns[static_cast<std::size_t>(i)];
        model->setHeaderData(i, Qt::Horizontal, qs(c.header));
        model->setHeaderData(i, Qt::Horizontal, QVariant::fromValue(alignmentOf(c.headerAlign)),
                             Qt::TextAlignmentRole);
        header->resizeSection(i, units.toPixelsX(c.width));
        header->setSectionResizeMode(i,
                                     c.resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
}

} // namespace hk
