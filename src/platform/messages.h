// Message boxes, halt, beep and the busy cursor: every such contact with the
// user goes through the current MessageService, so that tests can put a
// scripted double in its place and see every box that would have shown.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace hk
{

enum class MessageIcon { None, Exclamation, Question, Information, Stop };

// Buttons as boxes number them; a box's buttons are their sum.
enum MessageButton : int {
    ButtonOk = 1,
    ButtonYes = 2,
    ButtonNo = 4,
    ButtonAbort = 8,
    ButtonRetry = 16,
    ButtonIgnore = 32,
    ButtonCancel = 64,
    ButtonHelp = 128,
};

struct MessageRequest {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    int buttons = ButtonOk;
    int defaultButton = 0; // 0: the first button
    friend bool operator==(const MessageRequest &, const MessageRequest &) = default;
};

class MessageService
{
  public:
    virtual ~MessageService() = default;
    // Shows the box and gives the button chosen.
    virtual int message(const MessageRequest &request) = 0;
    // Shows the text the program halts with.
    virtual void showHalt(std::string_view text) = 0;
    // frequency and duration are hints; a plain system beep may ignore them.
    virtual void beep(int frequency = 0, int duration = 0) = 0;
    // Busy cursor on (true) or back to normal; calls nest.
    virtual void setBusy(bool busy) = 0;
    // A modal window with a bar for work the user waits for and cannot stop:
    // permille done so far (0 to 1000) under title and text; -1 closes it.
    virtual void progress(std::string_view title, std::string_view text, int permille) = 0;
};

// The service in use: the Qt one until another is set; setMessageService
// (nullptr) goes back to it. The caller keeps ownership of what it sets.
MessageService &messageService();
void setMessageService(MessageService *service);

// Shorthands for the service in use.
int message(std::string_view text, std::string_view title, MessageIcon icon, int buttons = ButtonOk,
            int defaultButton = 0);
void beep(int frequency = 0, int duration = 0);

// Shows text and ends the program with exitCode. The ending goes through the
// halt hook, which is std::exit unless a test sets another; with a hook that
// returns, halt returns too.
void halt(std::string_view text, int exitCode = 0);
using HaltHook = std::function<void(int exitCode)>;
// Sets the hook (an empty one restores std::exit) and gives the old one.
HaltHook setHaltHook(HaltHook hook);

// The progress window of one piece of work, closed when the scope ends.
class ProgressBox
{
  public:
    ProgressBox(std::string title, std::string text)
        : title_(std::move(title)), text_(std::move(text))
    {
    }
    ~ProgressBox();
    ProgressBox(const ProgressBox &) = delete;
    ProgressBox &operator=(const ProgressBox &) = delete;
    // done of total; told to the service only when the bar moves.
    void set(long long done, long long total);

  private:
    std::string title_, text_;
    int shown_ = -1;
};

// Busy cursor for a scope.
class BusyCursor
{
  public:
    BusyCursor() { messageService().setBusy(true); }
    ~BusyCursor() { messageService().setBusy(false); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

// The real boxes (QMessageBox, modal), QApplication::beep and the override
// cursor.
class QtMessageService : public MessageService
{
  public:
    int message(const MessageRequest &request) override;
    void showHalt(std::string_view text) override;
    void beep(int frequency, int duration) override;
    void setBusy(bool busy) override;
    void progress(std::string_view title, std::string_view text, int permille) override;
};

// A headless double: records every box, halt, beep and cursor change and
// answers boxes from a script of buttons (when the script is empty, with the
// box's default button). A scripted answer that is not one of the box's
// buttons is a mistake in the test and throws std::logic_error.
class ScriptedMessageService : public MessageService
{
  public:
    struct Beep {
        int frequency;
        int duration;
    };

    void answer(int button) { script_.push_back(button); }
    const std::vector<MessageRequest> &boxes() const { return boxes_; }
    const std::vector<std::string> &halts() const { return halts_; }
    const std::vector<Beep> &beeps() const { return beeps_; }
    int busyDepth() const { return busyDepth_; }
    // Every step of every progress window, -1 where one closed.
    const std::vector<int> &progressSteps() const { return progress_; }
    bool scriptUsedUp() const { return script_.empty(); }

    int message(const MessageRequest &request) override;
    void showHalt(std::string_view text) override;
    void beep(int frequency, int duration) override;
    void setBusy(bool busy) override;
    void progress(std::string_view title, std::string_view text, int permille) override;

  private:
    std::deque<int> script_;
    std::vector<int> progress_;
    std::vector<MessageRequest> boxes_;
    std::vector<std::string> halts_;
    std::vector<Beep> beeps_;
    int busyDepth_ = 0;
};

// The button a box gives when its default is taken: the default when it is
// one of its buttons, else its first button.
int defaultButtonOf(const MessageRequest &request);

} // namespace hk
