#include "framework/message_service.h"

namespace condpag {

Answer HeadlessMessageService::next_answer(Answer fallback) {
    if (answers.empty()) return fallback;
    Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

Answer HeadlessMessageService::ShowMessage(const std::string& text, int style,
                                           const std::string& title) {
    // Without a script, the first button of the box.
    static const Answer first_button[] = {Answer::Ok,  Answer::Ok,  Answer::Abort,
                                          Answer::Yes, Answer::Yes, Answer::Retry};
    int buttons = StyleButtons(style);
    Answer answer = next_answer(buttons < 6 ? first_button[buttons] : Answer::Ok);
    shown.push_back({ShownMessage::Kind::Message, text, style, title});
    return answer;
}

ErrorChoice HeadlessMessageService::ErrorDialog(const Error& error, const std::vector<Error>&,
                                                const std::string&, const std::string&,
                                                const std::string& procedure, int style) {
    ErrorChoice choice = ErrorChoice::Leave;
    if (!error_choices.empty()) {
        choice = error_choices.front();
        error_choices.pop_front();
    }
    shown.push_back({ShownMessage::Kind::ErrorDialog, error.message, style, procedure});
    return choice;
}

Answer HeadlessMessageService::ErrorReport(const Error& error, const std::vector<Error>&,
                                           const std::string&, const std::string&,
                                           const std::string& text3) {
    Answer answer = next_answer(Answer::Abort);
    shown.push_back({ShownMessage::Kind::ErrorReport, error.message, 0, text3});
    return answer;
}

std::vector<std::string> HeadlessMessageService::texts() const {
    std::vector<std::string> out;
    for (const ShownMessage& message : shown) {
        if (message.kind == ShownMessage::Kind::Message) out.push_back(message.text);
    }
    return out;
}

}  // namespace condpag
