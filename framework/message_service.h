#pragma once
// The host's message service: message boxes, the error dialog and the error report. The headless
// service records everything it shows and answers from a script, so tests and the headless shell
// can drive the dialogs.

#include <deque>
#include <string>
#include <vector>

#include "rules/expected.h"

namespace condpag {

class Cinterface;

// Button codes of a message box.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerAbort = 3;
inline constexpr int kAnswerRetry = 4;
inline constexpr int kAnswerIgnore = 5;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Message-box styles: buttons (low bits) plus icon.
inline constexpr int kStyleOk = 0;
inline constexpr int kStyleYesNoCancel = 3;
inline constexpr int kStyleYesNo = 4;
inline constexpr int kStyleStop = 16;
inline constexpr int kStyleQuestion = 32;
inline constexpr int kStyleExclamation = 48;
inline constexpr int kStyleInformation = 64;

class MessageService {
  public:
    virtual ~MessageService() = default;
    virtual void SetInterface(Cinterface* host) = 0;
    // Shows a message; answers the button pressed.
    virtual int ShowMessage(const std::string& text, int style, const std::string& title) = 0;
    // Shows an error with the connection's errors; answers 2 go on, 4 retry, other leave.
    virtual int ErrorDialog(const Error& error, const std::vector<Error>& connection_errors,
                            const std::string& application_title, const std::string& window_caption,
                            const std::string& procedure, int style) = 0;
    // Reports an error with three texts; answers a code (1 = close the window).
    virtual int ErrorReport(const Error& error, const std::vector<Error>& connection_errors,
                            const std::string& text1, const std::string& text2,
                            const std::string& text3) = 0;
};

// One thing the service showed.
struct ShownMessage {
    enum class Kind { Message, ErrorDialog, ErrorReport } kind = Kind::Message;
    std::string text;  // the message, or the error's message
    int style = 0;
    std::string title;  // the title, or the procedure name (the third text of a report)
    int answer = 0;
};

class HeadlessMessageService : public MessageService {
  public:
    void SetInterface(Cinterface* host) override { host_ = host; }
    Cinterface* interface() const { return host_; }
    int ShowMessage(const std::string& text, int style, const std::string& title) override;
    int ErrorDialog(const Error& error, const std::vector<Error>& connection_errors,
                    const std::string& application_title, const std::string& window_caption,
                    const std::string& procedure, int style) override;
    int ErrorReport(const Error& error, const std::vector<Error>& connection_errors,
                    const std::string& text1, const std::string& text2,
                    const std::string& text3) override;

    // Answers of the next dialogs, in order. With an empty script a message box answers its
    // first button (OK, Yes, Abort, Retry) and the error dialog and report answer 3 (leave).
    std::deque<int> answers;
    std::vector<ShownMessage> shown;

    // The texts of the message boxes shown, in order.
    std::vector<std::string> texts() const;

  private:
    int next_answer(int fallback);
    Cinterface* host_ = nullptr;
};

}  // namespace condpag
