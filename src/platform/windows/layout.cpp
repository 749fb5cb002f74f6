#include "platform/windows/layout.h"

#include "dictionary/types.h"
#include "platform/messages.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QValidator>

#include <algorithm>
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

// Marks the button Escape presses; a window may move it (a list's Close
// cancels only while the list is asked for a choice).
constexpr const char *kCancelProperty = "hkCancel";

// Numbers stand right-aligned wherever they show, as in the lists.
Qt::Alignment alignmentOf(const ControlLayout &c)
{
    if (!(c.flags & (FlagRight | FlagCenter)) && !c.picture.empty() &&
        Picture::of(c.picture).kind == PictureKind::Number)
        return Qt::AlignRight | Qt::AlignVCenter;
    return alignmentOf(c.flags);
}

// Text entries hold as many characters as their picture says, counted as
// the data file counts them: a character outside the Basic Multilingual Plane
// is one, not two, and an edit that would split one or go past the width is
// refused.
class CharacterLimit : public QValidator
{
  public:
    CharacterLimit(int limit, QObject *parent) : QValidator(parent), limit_(limit) {}
    State validate(QString &input, int &) const override
    {
        const QStringView text(input);
        int chars = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isLowSurrogate()) {
                if (i == 0 || !text[i - 1].isHighSurrogate()) return Invalid;
                continue;
            }
            if (text[i].isHighSurrogate() &&
                (i + 1 == text.size() || !text[i + 1].isLowSurrogate()))
                return Invalid;
            ++chars;
        }
        return chars <= limit_ ? Acceptable : Invalid;
    }

  private:
    int limit_;
};

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

// ---------------------------------------------------------------- spin

QValidator::State ClampingSpin::validate(QString &input, int &) const
{
    if (input.isEmpty()) return QValidator::Intermediate;
    bool ok = false;
    const int v = input.toInt(&ok);
    if (!ok) return QValidator::Invalid;
    return v >= minimum() && v <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void ClampingSpin::fixup(QString &input) const
{
    bool ok = false;
    const int v = input.toInt(&ok);
    input = QString::number(!ok || v < minimum() ? minimum() : std::min(v, maximum()));
}

// ---------------------------------------------------------------- entry

PictureEntry::PictureEntry(const Picture &picture, QWidget *parent)
    : QLineEdit(parent), picture_(picture), value_(emptyValueOf(picture))
{
    if (picture.kind == PictureKind::Text)
        setValidator(new CharacterLimit(picture.width, this));
    else if (picture.kind == PictureKind::Number)
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
        // The focus may be inside a control (a list's view): the nearest
        // control around it speaks.
        for (QWidget *at = now; at && at != this; at = at->parentWidget())
            for (const auto &[id, w] : widgets_)
                if (w == at) {
                    emit statusMessage(statusFor(id));
                    return;
                }
    });
    qApp->installEventFilter(this);
}

QString BuiltWindow::statusFor(int id) const
{
    const ControlLayout *c = layout_.control(id);
    if (id != refusedEntry_ || c->tip.empty()) return qs(c->message);
    return c->message.empty() ? qs(c->tip) : qs(c->message + ": " + c->tip);
}

bool BuiltWindow::inside(QObject *o) const
{
    auto *w = qobject_cast<QWidget *>(o);
    return w && (w == this || isAncestorOf(w));
}

bool BuiltWindow::inControl(QObject *o, ControlKind kind) const
{
    auto *w = qobject_cast<QWidget *>(o);
    for (const auto &c : layout_.controls)
        if (c.kind == kind) {
            QWidget *control = widgets_.at(c.id);
            if (w == control || control->isAncestorOf(w)) return true;
        }
    return false;
}

QAbstractButton *BuiltWindow::defaultButton() const
{
    for (const auto &c : layout_.controls) {
        auto *b = qobject_cast<QPushButton *>(widgets_.at(c.id));
        if (b && b->isDefault() && b->isEnabled() && shown(c.id)) return b;
    }
    return nullptr;
}

QAbstractButton *BuiltWindow::cancelButton() const
{
    for (const auto &c : layout_.controls) {
        auto *b = qobject_cast<QAbstractButton *>(widgets_.at(c.id));
        if (b && b->property(kCancelProperty).toBool() && b->isEnabled() && shown(c.id)) return b;
    }
    return nullptr;
}

// Enter presses a focused button, or else the default button once the entry
// with the focus would take its text; multi-line texts and lists keep it.
bool BuiltWindow::pressEnter(QWidget *focus)
{
    if (inControl(focus, ControlKind::Text) || inControl(focus, ControlKind::List)) return false;
    if (auto *button = qobject_cast<QPushButton *>(focus)) {
        if (button->isEnabled()) button->click();
        return true;
    }
    if (!defaultButton()) return false;
    // The entry takes its text first, as if left; what that starts (a pick
    // list, say) may hold the window, and then the button waits.
    QPointer<BuiltWindow> self(this);
    if (auto *entry = qobject_cast<PictureEntry *>(focus); entry && !entry->accept()) return true;
    if (!self || !isEnabled()) return true;
    if (QAbstractButton *target = defaultButton()) target->click();
    return true;
}

// The group of the control holding `w`; 0 outside any control.
int BuiltWindow::groupOf(const QWidget *w) const
{
    for (const QWidget *at = w; at && at != this; at = at->parentWidget())
        for (const auto &c : layout_.controls)
            if (widgets_.at(c.id) == at) return c.group;
    return 0;
}

// The first control on show whose caption's access letter is `key`, enabled
// ones first: among the controls of the focused part and the window's own
// before those of another part. 0 when none shows it. A disabled one still
// keeps the key from the menu bar: the user meant this window's command.
int BuiltWindow::accessKeyControl(int key) const
{
    const int here = groupOf(QApplication::focusWidget());
    int disabled = 0;
    for (const bool near : {true, false}) {
        for (const auto &c : layout_.controls) {
            switch (c.kind) {
            case ControlKind::Button:
            case ControlKind::Check:
            case ControlKind::Radio:
            case ControlKind::Prompt:
            case ControlKind::Tab:
                break;
            default:
                continue;
            }
            if (near != (c.group == 0 || c.group == here)) continue;
            const QKeySequence mnemonic = QKeySequence::mnemonic(qs(c.text));
            if (mnemonic.isEmpty() || (mnemonic[0].key() != key)) continue;
            QWidget *w = widgets_.at(c.id);
            if (c.kind == ControlKind::Prompt) w = static_cast<QLabel *>(w)->buddy();
            if (c.kind == ControlKind::Tab) {
                if (hidden_.at(c.id) || !shown(c.parent)) continue;
                auto *sheet = controlAs<QTabWidget>(c.parent);
                if (sheet->isEnabled() && sheet->isTabEnabled(sheet->indexOf(w))) return c.id;
                if (!disabled) disabled = c.id;
                continue;
            }
            if (!w || !shown(c.id)) continue;
            if (w->isEnabled()) return c.id;
            if (!disabled) disabled = c.id;
        }
        if (disabled) break; // the focused part's own command, though it cannot act now
    }
    return disabled;
}

void BuiltWindow::useAccessKey(int id)
{
    const ControlLayout *c = layout_.control(id);
    QWidget *w = widgets_.at(id);
    if (c->kind == ControlKind::Prompt) w = static_cast<QLabel *>(w)->buddy();
    if (!w || !w->isEnabled()) return;
    if (c->kind == ControlKind::Tab && !controlAs<QTabWidget>(c->parent)->isEnabled()) return;
    switch (c->kind) {
    case ControlKind::Prompt:
        w->setFocus(Qt::ShortcutFocusReason);
        break;
    case ControlKind::Tab:
        selectTab(id);
        break;
    default:
        w->setFocus(Qt::ShortcutFocusReason);
        static_cast<QAbstractButton *>(w)->click();
        break;
    }
}

bool BuiltWindow::eventFilter(QObject *watched, QEvent *e)
{
    const QEvent::Type type = e->type();
    if ((type != QEvent::KeyPress && type != QEvent::ShortcutOverride) || !inside(watched))
        return QWidget::eventFilter(watched, e);
    auto *key = static_cast<QKeyEvent *>(e);
    const Qt::KeyboardModifiers mods =
        key->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    // Alt and a letter: this window's access key, when it has one, rather
    // than the menu bar's.
    if (mods == Qt::AltModifier && key->key() >= Qt::Key_0 && key->key() <= Qt::Key_Z) {
        const int id = accessKeyControl(key->key());
        if (id == 0) return false;
        e->accept();
        if (type == QEvent::KeyPress) useAccessKey(id);
        return true;
    }
    if (type != QEvent::KeyPress || mods != Qt::NoModifier) return false;
    auto *focus = qobject_cast<QWidget *>(watched);
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return pressEnter(focus);
    case Qt::Key_Escape:
        // The window's Cancel, or else the window goes as its close box
        // would take it.
        if (QAbstractButton *cancel = cancelButton()) {
            cancel->click();
            return true;
        }
        if (QWidget *frame = closable()) {
            QMetaObject::invokeMethod(frame, &QWidget::close, Qt::QueuedConnection);
            return true;
        }
        return false;
    case Qt::Key_Left:
    case Qt::Key_Up:
        return chooseNeighbour(focus, -1);
    case Qt::Key_Right:
    case Qt::Key_Down:
        return chooseNeighbour(focus, +1);
    default:
        return false;
    }
}

// What closes this window: itself when it is one, its sub-window in the
// frame; nothing when it is part of another window.
QWidget *BuiltWindow::closable()
{
    if (isWindow()) return this;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget())) return sub;
    return nullptr;
}

// An arrow on a radio of an option chooses the next one on show in that
// direction (round the ends), as the arrows do in any option group: moving
// the focus alone would leave the choice where it was, even blank.
bool BuiltWindow::chooseNeighbour(QWidget *focus, int step)
{
    const ControlLayout *radio = nullptr;
    for (const auto &c : layout_.controls)
        if (c.kind == ControlKind::Radio && widgets_.at(c.id) == focus) radio = &c;
    if (!radio) return false;
    std::vector<QAbstractButton *> choices;
    std::size_t at = 0;
    for (const auto &c : layout_.controls) {
        if (c.kind != ControlKind::Radio || c.parent != radio->parent) continue;
        auto *b = static_cast<QAbstractButton *>(widgets_.at(c.id));
        if (&c == radio) at = choices.size();
        if (b == focus || (b->isEnabled() && shown(c.id))) choices.push_back(b);
    }
    if (choices.size() < 2) return true;
    const int n = static_cast<int>(choices.size());
    QAbstractButton *next =
        choices[static_cast<std::size_t>((static_cast<int>(at) + n + step) % n)];
    next->setFocus(Qt::TabFocusReason);
    next->click();
    return true;
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
        entry->setAlignment(alignmentOf(c));
        // A refusal is explained on the status bar until the entry takes a value.
        connect(entry, &PictureEntry::rejected, this, [this, id = c.id] {
            refusedEntry_ = id;
            emit statusMessage(statusFor(id));
        });
        connect(entry, &PictureEntry::accepted, this, [this, id = c.id] {
            if (refusedEntry_ != id) return;
            refusedEntry_ = 0;
            emit statusMessage(statusFor(id));
        });
        w = entry;
        break;
    }
    case ControlKind::Display: {
        auto *label = new QLabel(this);
        if (!c.picture.empty())
            label->setText(qs(format(emptyValueOf(Picture::of(c.picture)), c.picture)));
        else
            label->setText(text);
        label->setAlignment(alignmentOf(c));
        w = label;
        break;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(text, this);
        button->setDefault(c.flags & FlagDefault);
        button->setAutoDefault(false);
        button->setProperty(kCancelProperty, bool(c.flags & FlagCancel));
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
        auto *spin = new ClampingSpin(this);
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
    case ControlKind::Spin: {
        // What is typed counts, as it would once the spin is left: OK may be
        // pressed with the focus still in it.
        auto *spin = static_cast<QSpinBox *>(w);
        spin->interpretText();
        return std::int64_t{spin->value()};
    }
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

namespace
{

// The width a column needs to show its whole heading: the header's own
// measure, which leaves room for the heading in bold (as a highlighted
// section shows it) and for a sort mark.
int headingWidth(QHeaderView *h, int section)
{
    h->ensurePolished(); // its font and style as they will be shown
    return std::max(0, h->sectionSizeHint(section));
}

// Fits the columns to the list whenever its width changes or it takes a
// format. The last column runs across the rest of the list: wider when there
// is room, narrower down to its heading when the columns before it leave
// less, so a list does not scroll sideways for empty space. A column that
// would end past the right edge, so that only part of its heading shows
// ("Sic" for "Side"), is made to fit by the columns before it giving a
// little (each keeps three quarters of its design and its heading); when
// they cannot, it starts at the edge instead and shows on scrolling.
class ColumnFit : public QObject
{
  public:
    explicit ColumnFit(QTreeView *view) : QObject(view), view_(view)
    {
        setObjectName(QStringLiteral("columnFit"));
        view->viewport()->installEventFilter(this);
        connect(view->header(), &QHeaderView::sectionResized, this, [this](int section) {
            if (!fitting_ && section != view_->header()->count() - 1) fillLast();
        });
    }

    // The columns' sizes as the format gives them, in pixels.
    void setDesign(std::vector<int> design)
    {
        design_ = std::move(design);
        fit();
    }

    void fit()
    {
        QHeaderView *h = view_->header();
        const int n = std::min(h->count(), static_cast<int>(design_.size()));
        if (n == 0) return;
        std::vector<int> size(design_.begin(), design_.begin() + n);
        const int room = view_->viewport()->width();
        int last = n - 1;
        while (last > 0 && h->isSectionHidden(last))
            --last;
        int at = 0;
        for (int i = 0; i < n; ++i) {
            if (h->isSectionHidden(i)) continue;
            if (at < room && at + size[i] > room && i > 0) {
                // The last column narrows to the rest by itself, down to its heading.
                const int over = i == last ? headingWidth(h, i) - (room - at) : at + size[i] - room;
                if (over > 0 && !giveWay(size, i, over)) size[i - 1] += room - at;
                break;
            }
            at += size[i];
        }
        fitting_ = true;
        for (int i = 0; i < n; ++i)
            if (h->sectionSize(i) != size[i]) h->resizeSection(i, size[i]);
        fitting_ = false;
        fillLast();
    }

  protected:
    bool eventFilter(QObject *watched, QEvent *e) override
    {
        if (e->type() == QEvent::Resize) fit();
        return QObject::eventFilter(watched, e);
    }

  private:
    // Takes `needed` pixels from the columns before `column`, the widest
    // first; false (and nothing taken) when they cannot spare that much.
    bool giveWay(std::vector<int> &size, int column, int needed)
    {
        QHeaderView *h = view_->header();
        std::vector<int> spare(size.size(), 0);
        int total = 0;
        for (int j = 0; j < column; ++j) {
            if (h->isSectionHidden(j)) continue;
            spare[j] = std::max(0, size[j] - std::max(headingWidth(h, j), design_[j] * 3 / 4));
            total += spare[j];
        }
        if (total < needed) return false;
        while (needed > 0) {
            const auto widest =
                std::max_element(spare.begin(), spare.begin() + column) - spare.begin();
            const int take = std::min(needed, spare[widest]);
            size[widest] -= take;
            spare[widest] -= take;
            needed -= take;
        }
        return true;
    }

    void fillLast()
    {
        QHeaderView *h = view_->header();
        const int last = h->count() - 1;
        if (last < 0) return;
        int before = 0;
        for (int i = 0; i < last; ++i)
            if (!h->isSectionHidden(i)) before += h->sectionSize(i);
        const int size = std::max(view_->viewport()->width() - before, headingWidth(h, last));
        fitting_ = true;
        if (h->sectionSize(last) != size) h->resizeSection(last, size);
        fitting_ = false;
    }

    QTreeView *view_;
    std::vector<int> design_;
    bool fitting_ = false;
};

} // namespace

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
    std::vector<int> design;
    for (int i = 0; i < n; ++i) {
        const ListColumn &c = format.columns[static_cast<std::size_t>(i)];
        model->setHeaderData(i, Qt::Horizontal, qs(c.header));
        model->setHeaderData(i, Qt::Horizontal, QVariant::fromValue(alignmentOf(c.headerAlign)),
                             Qt::TextAlignmentRole);
        // Never narrower than its heading ("Counter Start" over a short number).
        design.push_back(std::max(units.toPixelsX(c.width), headingWidth(header, i)));
        header->setSectionResizeMode(i,
                                     c.resizable ? QHeaderView::Interactive : QHeaderView::Fixed);
    }
    auto *fit =
        view->findChild<ColumnFit *>(QStringLiteral("columnFit"), Qt::FindDirectChildrenOnly);
    if (!fit) fit = new ColumnFit(view);
    fit->setDesign(std::move(design));
}

} // namespace hk
