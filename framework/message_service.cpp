#include "framework/message_service.h"

namespace condpag {

int HeadlessMessageService::next_answer(int fallback) {
    if (answers.empty()) return fallback;
    int answer = answers.front();
    answers.pop_front();
    return answer;
}

int HeadlessMessageService::ShowMessage(const std::string& text, int style,
                                        const std::string& title) {
    // Without a script, the first button of the box.
    static const int first_button[] = {kAnswerOk,  kAnswerOk,  kAnswerAbort,
                                       kAnswerYes, kAnswerYes, kAnswerRetry};
    int buttons = style & 7;
    int answer = next_answer(buttons < 6 ? first_button[buttons] : kAnswerOk);
    shown.push_back({ShownMessage::Kind::Message, text, style, title, answer});
    return answer;
}

int HeadlessMessageService::ErrorDialog(const Error& error, const std::vector<Error>&,
                                        const std::string&, const std::string&,
                                        const std::string& procedure, int style) {
    int answer = next_answer(kAnswerAbort);
    shown.push_back({ShownMessage::Kind::ErrorDialog, error.message, style, procedure, answer});
    return answer;
}

int HeadlessMessageService::ErrorReport(const Error& error, const std::vector<Error>&,
                                        const std::string&, const std::string&,
                                        const std::string& text3) {
    int answer = next_answer(kAnswerAbort);
    shown.push_back({ShownMessage::Kind::ErrorReport, error.message, 0, text3, answer});
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
