#include "forms/formwindow.h"

#include "browse/forms.h"
#include "browse/lists/browses.h"
#include "forms/photopart.h"
#include "integrity/warnings.h"
#include "platform/data/files.h"
#include "platform/help.h"
#include "platform/messages.h"
#include "platform/windows/layout.h"
#include "platform/windows/windowlife.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QKeyEvent>
#include <QPushButton>

namespace hk
{

namespace
{

constexpr int kSheet = 1, kTab = 2, kFirstControl = 10, kFirstRadio = 700;
constexpr int kRow = 13, kTop = 18, kPromptX = 10, kPromptWidth = 78, kEntryX = 92;

// A lookup's button, and the parent's name after it, share the lookup's row.
bool sharesRow(const FormDef &def, std::size_t i)
{
    const FormField &f = def.fields[i];
    return f.kind == FormControl::LookupButton ||
           (f.kind == FormControl::Display && f.prompt.empty() && i > 0 &&
            def.fields[i - 1].kind == FormControl::LookupButton);
}

int rowsOf(const FormDef &def)
{
    int rows = 0;
    for (std::size_t i = 0; i < def.fields.size(); ++i)
        rows += !sharesRow(def, i) + (def.fields[i].kind == FormControl::Option);
    return rows;
}

std::vector<std::string> choicesOf(std::string rest)
{
    std::vector<std::string> items;
    for (std::size_t bar; (bar = rest.find('|')) != std::string::npos;) {
        items.push_back(rest.substr(0, bar));
        rest.erase(0, bar + 1);
    }
    items.push_back(rest);
    return items;
}

// A prompt longer than the prompt column pushes its control to the right.
int promptWidth(const std::string &prompt)
{
    return std::max(kPromptWidth, static_cast<int>(prompt.size()) * 4 + 4);
}

PictureValue valueOf(const FormCore &core, const FieldRef &f)
{
    if (f.def().isText()) return core.text(f);
    if (f.def().type == FieldType::Decimal) return Hundredths{core.integer(f)};
    return core.integer(f);
}

// Whether a typed value fits the field it goes into.
bool fits(const FieldDef &f, const PictureValue &v)
{
    std::int64_t n = 0;
    if (auto *i = std::get_if<std::int64_t>(&v))
        n = *i;
    else if (auto *h = std::get_if<Hundredths>(&v))
        n = h->cents;
    else
        return true;
    return f.isText() || valueRange(f).holds(n);
}

// Characters the picture's widest display takes: its width, or for dates
// and times the length of a long sample (a long month and day name, the
// last time of day).
int pictureChars(const Picture &p)
{
    switch (p.kind) {
    case PictureKind::Date:
        return static_cast<int>(
            QString::fromStdString(format(PictureValue(*dateNumber(2000, 9, 27)), p)).size());
    case PictureKind::Time:
        return static_cast<int>(format(PictureValue(kLastTime), p).size());
    default:
        return p.width;
    }
}

int entryWidth(const std::string &picture, int available)
{
    const int chars = picture.empty() ? 10 : pictureChars(Picture::of(picture));
    return std::min(available, std::max(24, chars * 4 + 8));
}

} // namespace

FormProcedure::FormProcedure(const FormDef &def)
    : Procedure(QString::fromStdString(def.name)), core_(def)
{
}

FormProcedure::~FormProcedure() = default;

int FormProcedure::controlOf(std::string_view label) const
{
    FieldRef wanted = findField(label);
    for (const auto &[id, f] : bound_)
        if (f.table == wanted.table && f.field == wanted.field) return id;
    return 0;
}

void FormProcedure::build()
{
    const FormDef &def = core_.def();
    WindowLayout layout;
    layout.title = def.caption;
    // The design size, or more when the fields need it: nothing is cut off.
    const int height = std::max(def.height, kTop + rowsOf(def) * kRow + 28);
    layout.size = QSize(def.width, height);
    layout.kind = WindowKind::FrameChild;
    layout.controls.push_back({.id = kSheet,
                               .kind = ControlKind::Sheet,
                               .design = QRect(4, 4, def.width - 8, height - 28)});
    layout.controls.push_back(
        {.id = kTab, .kind = ControlKind::Tab, .parent = kSheet, .text = "General"});

    int id = kFirstControl;
    int radioId = kFirstRadio;
    std::vector<ControlLayout> radios; // of the option being laid out
    int row = -1;
    int x = kEntryX;
    const int right = def.width - 14;
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
        const FormField &f = def.fields[i];
        if (!sharesRow(def, i)) {
            ++row;
            x = f.prompt.empty() ? kEntryX
                                 : std::max(kEntryX, kPromptX + promptWidth(f.prompt) + 4);
        }
        const int y = kTop + row * kRow;
        if (!f.prompt.empty() && f.kind != FormControl::LookupButton &&
            f.kind != FormControl::Option)
            layout.controls.push_back({.id = id++,
                                       .kind = ControlKind::Prompt,
                                       .design = QRect(kPromptX, y + 2, promptWidth(f.prompt), 10),
                                       .parent = kTab,
                                       .text = f.prompt});
        ControlLayout c{.id = id, .parent = kTab, .tip = f.tip, .message = f.message};
        switch (f.kind) {
        case FormControl::Entry:
        case FormControl::Lookup:
            c.kind = ControlKind::Entry;
            c.picture = f.picture;
            c.design = QRect(x, y, entryWidth(f.picture, right - x), 11);
            break;
        case FormControl::LookupButton:
            c.kind = ControlKind::Button;
            c.text = f.prompt;
            c.design = QRect(x, y, 12, 11);
            lookupButton_ = id;
            break;
        case FormControl::Display:
            c.kind = ControlKind::Display;
            c.picture = f.picture;
            c.design = QRect(x, y + 1, entryWidth(f.picture, right - x), 10);
            break;
        case FormControl::DropList: {
            c.kind = ControlKind::DropList;
            c.design = QRect(x, y, 70, 11);
            c.items = choicesOf(f.choices);
            break;
        }
        case FormControl::Option: {
            // The prompt names the frame; its radios stand side by side in it.
            c.kind = ControlKind::Option;
            c.text = f.prompt;
            c.design = QRect(kPromptX, y, 120, 24);
            options_[id] = choicesOf(f.choices);
            int rx = kEntryX;
            for (const std::string &choice : options_[id]) {
                radios.push_back({.id = radioId++,
                                  .kind = ControlKind::Radio,
                                  .design = QRect(rx, y + 11, 24, 10),
                                  .parent = id,
                                  .text = choice});
                rx += 28;
            }
            // The frame holds its last radio, however many there are.
            c.design.setRight(std::max(c.design.right(), rx - 4 + 6));
            ++row; // the frame takes two rows
            break;
        }
        }
        x = c.design.right() + 3;
        if (!f.field.empty()) bound_.emplace(id, findField(f.field));
        if (f.kind == FormControl::Entry || f.kind == FormControl::Lookup ||
            f.kind == FormControl::DropList || f.kind == FormControl::Option)
            entries_.push_back(id);
        if (f.kind == FormControl::Lookup) lookupEntry_ = id;
        if (def.lookup && f.field == def.lookup->skipAfter) skipAfter_ = id;
        layout.controls.push_back(std::move(c));
        for (ControlLayout &r : radios)
            layout.controls.push_back(std::move(r));
        radios.clear();
        ++id;
    }
    if (def.photos) PhotoPart::addControls(layout, kSheet, QRect(4, 4, def.width - 8, height - 28));
    const int by = height - 20;
    layout.controls.push_back({.id = OkButton,
                               .kind = ControlKind::Button,
                               .design = QRect(def.width - 150, by, 45, 14),
                               .text = "OK",
                               .tip = "Click to Accept",
                               .message = "Accept",
                               .flags = FlagDefault});
    layout.controls.push_back({.id = CancelButton,
                               .kind = ControlKind::Button,
                               .design = QRect(def.width - 100, by, 45, 14),
                               .text = "Cancel",
                               .tip = "Click to Cancel Editing",
                               .message = "Cancel Editing",
                               .flags = FlagCancel});
    layout.controls.push_back({.id = HelpButton,
                               .kind = ControlKind::Button,
                               .design = QRect(def.width - 50, by, 45, 14),
                               .text = "Help",
                               .tip = "Click to View Associated Help File",
                               .message = "View Associated Help File"});

    auto window = BuiltWindow::build(layout, DialogUnits::application(), PhotoPart::makeStrip);
    built_ = window.release();
    built_->setWindowTitle(QString::fromStdString(core_.caption()));
    built_->setMinimumSize(built_->size());

    for (int c : entries_) {
        const FieldDef &fd = bound_.at(c).def();
        if (auto *e = built_->entry(c)) {
            e->setAcceptor([&fd](const PictureValue &v) { return fits(fd, v); });
            connect(e, &PictureEntry::accepted, this, [this, c] {
                take(c);
                afterEntry(c);
            });
        } else if (auto *combo = built_->controlAs<QComboBox>(c)) {
            connect(combo, &QComboBox::currentTextChanged, this, [this, c] { take(c); });
        } else if (auto *group = built_->control(c)->findChild<QButtonGroup *>()) {
            connect(group, &QButtonGroup::idClicked, this, [this, c] { take(c); });
        }
    }
    // Ctrl+' in an editable field recalls it: taken from the field's own
    // keys, so that it works wherever the field has the focus.
    if (def.recall)
        for (int c : entries_) {
            QWidget *w = built_->control(c);
            dittoFields_[w] = c;
            w->installEventFilter(this);
        }
    auto button = [this](int id) { return built_->controlAs<QPushButton>(id); };
    connect(button(OkButton), &QPushButton::clicked, this, [this] { ok(); });
    connect(button(CancelButton), &QPushButton::clicked, this, [this] {
        core_.setCancelled();
        closeForm();
    });
    connect(button(HelpButton), &QPushButton::clicked, this,
            [this] { showHelp(helpContext()); });
    if (lookupButton_)
        connect(button(lookupButton_), &QPushButton::clicked, this, [this] { lookupButton(); });

    // Delete mode shows the record read-only.
    if (core_.request() == DeleteRecord)
        for (const auto &c : layout.controls)
            if (c.id >= kFirstControl && c.id < OkButton) built_->setControlEnabled(c.id, false);
    if (def.photos) photos_ = new PhotoPart(core_, built_, core_.request() == DeleteRecord);
}

void FormProcedure::show()
{
    if (core_.def().lookup) core_.lookupFound(); // the parent's name shows blank when missing
    core_.readParents();
    for (const auto &[id, f] : bound_)
        built_->setValue(id, shown(id));
}

// What a control shows of its field: an option shows its choice's number.
PictureValue FormProcedure::shown(int control) const
{
    const FieldRef &f = bound_.at(control);
    auto option = options_.find(control);
    if (option == options_.end()) return valueOf(core_, f);
    const auto &choices = option->second;
    const std::string text(trimRight(core_.text(f)));
    auto it = std::find(choices.begin(), choices.end(), text);
    return std::int64_t(it == choices.end() ? 0 : it - choices.begin() + 1);
}

// After a lookup only the lookup entry and the parent's fields change: an
// entry the user is still typing in keeps its text.
void FormProcedure::showLookup()
{
    const TableId parent = core_.def().lookup->parent;
    core_.lookupFound(); // the parent's name shows blank when missing
    for (const auto &[id, f] : bound_)
        if (id == lookupEntry_ || f.table == parent) built_->setValue(id, valueOf(core_, f));
}

void FormProcedure::take(int control)
{
    const FieldRef &f = bound_.at(control);
    PictureValue v = built_->value(control);
    if (auto option = options_.find(control); option != options_.end()) {
        const auto chosen = std::size_t(std::get<std::int64_t>(v));
        core_.setText(f, chosen ? option->second.at(chosen - 1) : std::string());
    } else if (auto *s = std::get_if<std::string>(&v))
        core_.setText(f, *s);
    else if (auto *h = std::get_if<Hundredths>(&v))
        core_.setInteger(f, h->cents);
    else
        core_.setInteger(f, std::get<std::int64_t>(v));
}

bool FormProcedure::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(e);
        auto field = dittoFields_.find(watched);
        if (field != dittoFields_.end() && key->key() == Qt::Key_Apostrophe &&
            (key->modifiers() & Qt::ControlModifier)) {
            e->accept();
            if (e->type() == QEvent::KeyPress) recall(field->second);
            return e->type() == QEvent::KeyPress;
        }
    }
    return Procedure::eventFilter(watched, e);
}

void FormProcedure::recall(int control)
{
    if (working_ || !core_.recallField(bound_.at(control))) return;
    built_->setValue(control, shown(control));
}

void FormProcedure::afterEntry(int control)
{
    // What follows from a value is done in the validation pass too.
    bool ruled = false;
    for (const AcceptRule &rule : core_.def().rules)
        if (controlOf(rule.field) == control) {
            rule.apply(core_);
            ruled = true;
        }
    // Shown again, but not over what the user is still typing elsewhere.
    if (ruled)
        for (const auto &[id, f] : bound_) {
            PictureEntry *e = built_->entry(id);
            if (id != control && e && e->isModified()) continue;
            built_->setValue(id, valueOf(core_, f));
        }
    if (working_) return;
    if (control == lookupEntry_) {
        lookupLeft();
        return;
    }
    // A record that already has its parent skips the lookup field.
    if (control == skipAfter_ && lookupEntry_ && core_.integer(bound_.at(lookupEntry_)) != 0) {
        built_->setControlEnabled(lookupEntry_, false);
        auto it = std::find(entries_.begin(), entries_.end(), lookupEntry_);
        if (it != entries_.end() && ++it != entries_.end()) focus(*it);
    }
}

void FormProcedure::focus(int control)
{
    if (QWidget *w = built_->control(control)) w->setFocus();
}

// The first control that can take the focus: the first entry, or OK when
// every entry is disabled (delete mode).
void FormProcedure::focusFirst()
{
    for (int c : entries_)
        if (built_->control(c)->isEnabled()) {
            focus(c);
            return;
        }
    focus(OkButton);
}

// After a choice the typing goes on in the entry after the lookup.
void FormProcedure::focusAfterLookup()
{
    auto it = std::find(entries_.begin(), entries_.end(), lookupEntry_);
    while (it != entries_.end() && ++it != entries_.end())
        if (built_->control(*it)->isEnabled()) {
            focus(*it);
            return;
        }
    focus(lookupEntry_);
}

QCoro::Task<> FormProcedure::lookupLeft()
{
    QPointer<FormProcedure> self(this);
    const bool picked = !core_.lookupFound();
    const bool found = co_await checkLookup();
    if (self && built_ && found && picked) focusAfterLookup();
}

QCoro::Task<bool> FormProcedure::checkLookup()
{
    const LookupDef &lookup = *core_.def().lookup;
    if (!core_.lookupFound()) {
        core_.toShared();
        const bool chosen = co_await pickFromList(*this, lookup.pickList);
        core_.fromShared();
        if (!chosen) {
            showLookup();
            focus(lookupEntry_);
            co_return false;
        }
        Table &parent = table(lookup.parent);
        core_.setInteger(bound_.at(lookupEntry_),
                         field::integer(parent.def().fields[0], parent.buffer()));
    }
    showLookup();
    if (!core_.lookupFound()) {
        WarnUser(11, tableDef(lookup.parent).label, lookup.warnText);
        focus(lookupEntry_);
        co_return false;
    }
    co_return true;
}

QCoro::Task<> FormProcedure::lookupButton()
{
    const LookupDef &lookup = *core_.def().lookup;
    Table &parent = table(lookup.parent);
    // The pick list opens on the parent the field names now.
    parent.def().clear(parent.buffer());
    field::setInteger(parent.def().fields[0], parent.buffer(),
                      core_.integer(bound_.at(lookupEntry_)));
    core_.toShared();
    const bool chosen = co_await pickFromList(*this, lookup.pickList);
    core_.fromShared();
    if (chosen)
        core_.setInteger(bound_.at(lookupEntry_),
                         field::integer(parent.def().fields[0], parent.buffer()));
    showLookup();
    if (chosen)
        focusAfterLookup();
    else
        focus(lookupEntry_);
}

QCoro::Task<> FormProcedure::ok()
{
    if (working_) co_return;
    working_ = true;
    const bool deleting = core_.request() == DeleteRecord;
    if (!deleting) {
        // The validation pass: every entry is taken as if the user had left it.
        if (int refused = built_->acceptAll(); refused != 0) {
            working_ = false;
            co_return;
        }
        for (int c : entries_)
            take(c);
    }
    // Required fields first: an empty lookup field asks for a choice from the
    // list rather than opening it.
    if (int failing = core_.failingRequired(); failing >= 0) {
        const RequiredCheck &check = core_.def().required[failing];
        message(check.text, check.title, MessageIcon::Exclamation);
        focus(controlOf(check.field));
        if (!deleting) {
            working_ = false;
            co_return;
        }
    }
    if (!deleting && lookupEntry_ && !co_await checkLookup()) {
        working_ = false;
        co_return;
    }
    const FormCore::Outcome outcome = core_.complete();
    working_ = false;
    if (outcome == FormCore::Outcome::Close) {
        closeForm();
        co_return;
    }
    show();
    if (outcome == FormCore::Outcome::StayOnDuplicate && core_.def().duplicate) {
        const KeyDef &key = keyDef(core_.def().duplicate->key);
        focus(controlOf(core_.table().def().fields[key.components.front()].label));
    } else {
        focusFirst();
    }
}

void FormProcedure::closeForm()
{
    if (window()) window()->close();
}

QCoro::Task<> FormProcedure::run()
{
    if (!core_.open()) {
        core_.close();
        co_return;
    }
    build();
    // A new record that others refer to by now cannot go: the form stays
    // open for the user to complete it.
    QPointer<FormProcedure> self(this);
    const auto mayClose = [self] {
        if (!self || self->core_.releasePlaceholder()) return true;
        if (self->built_) self->focusFirst();
        return false;
    };
    WindowLife::attach(openDocument(built_), {.section = core_.def().name, .mayClose = mayClose},
                       built_);
    show();
    focusFirst();
    co_await untilClosed();
    delete photos_; // reads no more from the core that closes now
    built_ = nullptr;
    core_.close();
}

void registerForms()
{
    for (const FormDef &def : allForms())
        setFormProcedure(def.table, [&def] { return std::make_unique<FormProcedure>(def); });
}

} // namespace hk
