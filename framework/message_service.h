#pragma once
// The host's message service: message boxes, the error dialog and the error report. The headless
// service records everything it shows and answers from a script, so tests and the headless shell
// can drive the dialogs.

#include <deque>
#include <string>
#include <vector>

#include "rules/expected.h"
#include "rules/message_style.h"

namespace condpag {

class Cinterface;

// The button a message box answers, by the host's button codes; None: no box could be shown.
enum class Answer {
    None = 0,
    Ok = 1,
    Cancel = 2,
    Abort = 3,
    Retry = 4,
    Ignore = 5,
    Yes = 6,
    No = 7
};

// What the person chose in the error dialog.
enum class ErrorChoice { GoOn = 2, Leave = 3, Retry = 4 };

// The parts of a style.
constexpr int StyleButtons(int style) { return style & 0x0F; }
constexpr int StyleIcon(int style) { return style & 0x70; }
// 0 the first button is the default one, 1 the second, 2 the third.
constexpr int StyleDefaultButton(int style) { return (style & 0x300) >> 8; }

class MessageService {
  public:
    virtual ~MessageService() = default;
    virtual void SetInterface(Cinterface* host) = 0;
    // Shows a message; answers the button pressed.
    virtual Answer ShowMessage(const std::string& text, int style, const std::string& title) = 0;
    // Shows an error with the connection's errors; answers what to do about it.
    virtual ErrorChoice ErrorDialog(const Error& error, const std::vector<Error>& connection_errors,
                                    const std::string& application_title,
                                    const std::string& window_caption, const std::string& procedure,
                                    int style) = 0;
    // Reports an error with three texts; Ok: close the window.
    virtual Answer ErrorReport(const Error& error, const std::vector<Error>& connection_errors,
                               const std::string& text1, const std::string& text2,
                               const std::string& text3) = 0;
};

// One thing the service showed.
struct ShownMessage {
    enum class Kind { Message, ErrorDialog, ErrorReport } kind = Kind::Message;
    std::string text;  // the message, or the error's message
    int style = 0;
    std::string title;  // the title, or the procedure name (the third text of a report)
};

class HeadlessMessageService : public MessageService {
  public:
    void SetInterface(Cinterface* host) override { host_ = host; }
    Cinterface* interface() const { return host_; }
    Answer ShowMessage(const std::string& text, int style, const std::string& title) override;
    ErrorChoice ErrorDialog(const Error& error, const std::vector<Error>& connection_errors,
                            const std::string& application_title, const std::string& window_caption,
                            const std::string& procedure, int style) override;
    Answer ErrorReport(const Error& error, const std::vector<Error>& connection_errors,
                       const std::string& text1, const std::string& text2,
                       const std::string& text3) override;

    // Answers of the next message boxes and reports, in order. With an empty script a message
    // box answers its first button (OK, Yes, Abort, Retry) and a report Abort.
    std::deque<Answer> answers;
    // Choices of the next error dialogs, in order; with an empty script, Leave.
    std::deque<ErrorChoice> error_choices;
    std::vector<ShownMessage> shown;

    // The texts of the message boxes shown, in order.
    std::vector<std::string> texts() const;

  private:
    Answer next_answer(Answer fallback);
    Cinterface* host_ = nullptr;
};

}  // namespace condpag
