// Window layouts as data, and the builder that turns one into Qt widgets.
//
// A layout is a window (title, design size in dialog units, kind, resizing)
// and its controls in declaration order (which is also the tab order). Each
// control has the number the procedure knows it by, a kind, a design place
// in dialog units measured from the window's client area (also for controls
// on a tab or in a group), its texts and, where it shows a value, a picture
// or a list format. A control belongs to the sheet's tab, group or option
// named as its parent; parents come before their controls.
//
// The builder places every control absolutely on one surface. Controls on a
// tab show only while their tab is the current one of its sheet; a hidden
// control hides everything that belongs to it.
#pragma once

#include "platform/listformat.h"
#include "platform/picture.h"
#include "platform/windows/dialogunits.h"

#include <QLineEdit>
#include <QRect>
#include <QSize>
#include <QSpinBox>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QTreeView;

namespace hk
{

enum class WindowKind { FrameChild, Dialog };

enum class ControlKind {
    Prompt,  // a label naming the control after it; its '&' letter focuses that control
    Entry,   // typed input through a picture
    Display, // a value shown through a picture, or fixed text
    Button,
    Check,
    Option, // a frame holding radio buttons, of which one is chosen
    Radio,
    DropList, // a choice from fixed items
    Combo,    // a choice from items or typed text
    List,     // rows shown in the columns of a list format
    Sheet,    // tabs
    Tab,
    Group, // a frame around controls
    Image,
    Spin,
    Text, // multi-line text
    Box,  // a drawn rectangle
    Line,
    Progress,
};

enum ControlFlag : unsigned {
    FlagNone = 0,
    FlagDefault = 1u << 0, // the button Enter presses
    FlagDisabled = 1u << 1,
    FlagHidden = 1u << 2,
    FlagReadOnly = 1u << 3, // entries, texts, spins
    FlagRight = 1u << 4,    // text aligned right
    FlagCenter = 1u << 5,   // text centred
    FlagSkip = 1u << 6,     // left out of the tab order
    FlagCancel = 1u << 7,   // the button Escape presses (or a "hkCancel" property set later)
};

struct ControlLayout {
    int id = 0; // the control's number; unique and not 0
    ControlKind kind = ControlKind::Display;
    QRect design{}; // dialog units; a width or height of 0 takes the control's natural size
    int parent = 0;
    std::string text{}; // caption, prompt or fixed text
    std::string tip{};
    std::string message{}; // the status-bar message while the control has the focus
    std::string picture{}; // entries, displays, spins: e.g. "n10.2B"
    std::string listFormat{};
    std::vector<std::string> items{}; // drop lists and combos
    int low = 0, high = 0;            // spins
    std::string image{};              // images: a file or resource path
    unsigned flags = FlagNone;
    // Controls of one part of a window that repeats another's commands (the
    // second list of two): an access key goes first to the part holding the
    // focus, then to the window's own controls (group 0), then to the rest.
    int group = 0;
};

struct WindowLayout {
    std::string title{};
    QSize size{}; // dialog units
    WindowKind kind = WindowKind::FrameChild;
    bool resizable = true;
    QSize minimumSize{}; // dialog units; empty: the design size
    std::vector<ControlLayout> controls{};

    const ControlLayout *control(int id) const;
};

// An entry that shows its value through its picture and takes typed text
// only when it fits: otherwise it beeps, shows the value again and keeps the
// focus.
class PictureEntry : public QLineEdit
{
    Q_OBJECT
  public:
    explicit PictureEntry(const Picture &picture, QWidget *parent = nullptr);

    const Picture &picture() const { return picture_; }
    const PictureValue &value() const { return value_; }
    void setValue(const PictureValue &value);
    // A further check on values that fit the picture (a field's range, say);
    // returning false refuses the value as well.
    void setAcceptor(std::function<bool(const PictureValue &)> acceptor);
    // Takes what was typed. True when there was nothing new or it was taken.
    bool accept();

  signals:
    void accepted(const hk::PictureValue &value);
    void rejected();

  private:
    Picture picture_;
    PictureValue value_;
    std::function<bool(const PictureValue &)> acceptor_;
};

// A spin that takes a typed number beyond its range as the nearest end of
// it, where a plain spin would refuse the digit that crossed it and keep the
// number typed so far.
class ClampingSpin : public QSpinBox
{
  public:
    using QSpinBox::QSpinBox;

  protected:
    QValidator::State validate(QString &input, int &pos) const override;
    void fixup(QString &input) const override;
};

// A built window. It owns its controls and finds each by number.
class BuiltWindow : public QWidget
{
    Q_OBJECT
  public:
    // Builds the layout with the given units (the application font's by
    // default). A layout with a duplicate or zero control number, an unknown
    // parent, picture or list format is a programming error and throws
    // std::invalid_argument.
    static std::unique_ptr<BuiltWindow> build(const WindowLayout &layout,
                                              QWidget *parent = nullptr);
    static std::unique_ptr<BuiltWindow> build(const WindowLayout &layout, const DialogUnits &units,
                                              QWidget *parent = nullptr);
    // Makes the widget of a list itself (the browse's paged list), parented
    // to `surface`; null leaves the list to the builder.
    using ControlMaker = std::function<QWidget *(const ControlLayout &, QWidget *surface)>;
    static std::unique_ptr<BuiltWindow> build(const WindowLayout &layout, const DialogUnits &units,
                                              const ControlMaker &maker, QWidget *parent = nullptr);

    ~BuiltWindow() override;

    const WindowLayout &layout() const { return layout_; }
    const DialogUnits &units() const { return units_; }
    QWidget *control(int id) const;
    template <class T> T *controlAs(int id) const { return qobject_cast<T *>(control(id)); }
    PictureEntry *entry(int id) const { return controlAs<PictureEntry>(id); }
    // The control's design place in pixels.
    QRect designRect(int id) const;
    std::vector<int> controlIds() const;

    // Values of entries, displays, checks (0/1), options (the chosen radio's
    // position, from 1; 0 none), spins, drop lists and combos (the text).
    void setValue(int id, const PictureValue &value);
    PictureValue value(int id) const;

    void hideControl(int id);
    void unhideControl(int id);
    bool isControlHidden(int id) const;
    void setControlEnabled(int id, bool enabled);
    // Makes the tab current (id of a Tab control).
    void selectTab(int id);

    // Accepts every entry in control order; the number of the first that
    // refuses its text (it keeps the focus), or 0 when all were taken.
    int acceptAll();

    // The button Enter presses (the default one), and the one Escape presses;
    // null when there is none or it cannot be pressed now.
    QAbstractButton *defaultButton() const;
    QAbstractButton *cancelButton() const;

  signals:
    // The focused control's status-bar message (empty when it has none); for
    // an entry that refused what was typed, its message and its tip.
    void statusMessage(const QString &message);

  protected:
    // The window's keys come before the widget with the focus sees them, and
    // its access keys before the frame's menu bar.
    bool eventFilter(QObject *watched, QEvent *e) override;

  private:
    BuiltWindow(const WindowLayout &layout, const DialogUnits &units, QWidget *parent);
    QWidget *create(const ControlLayout &c);
    void updateVisibility();
    bool shown(int id) const;
    bool inside(QObject *o) const;
    bool inControl(QObject *o, ControlKind kind) const;
    bool pressEnter(QWidget *focus);
    QWidget *closable();
    bool chooseNeighbour(QWidget *focus, int step);
    int accessKeyControl(int key) const;
    int groupOf(const QWidget *w) const;
    void useAccessKey(int id);
    QString statusFor(int id) const;

    WindowLayout layout_;
    DialogUnits units_;
    ControlMaker maker_;
    std::map<int, QWidget *> widgets_;
    std::map<int, bool> hidden_;
    std::map<int, PictureValue> displayed_;
    QMetaObject::Connection focusWatch_;
    int refusedEntry_ = 0; // the entry whose refusal the status bar explains
};

// Gives a list view the columns of a format: header texts and alignments,
// widths in pixels, resizable or fixed columns. The view keeps its model if
// it has one with enough columns, else it gets an empty one.
void applyListFormat(QTreeView *view, const ListFormat &format, const DialogUnits &units);

} // namespace hk
