#include "ui/message_boxes.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

// The Qt button of each answer.
struct ButtonCode {
    QMessageBox::StandardButton button;
    Answer code;
    const char* caption;  // Italian, whatever the language Qt was built in
};

std::vector<ButtonCode> buttons_of(int style) {
    const ButtonCode ok{QMessageBox::Ok, Answer::Ok, "OK"};
    const ButtonCode cancel{QMessageBox::Cancel, Answer::Cancel, "Annulla"};
    const ButtonCode yes{QMessageBox::Yes, Answer::Yes, "&Sì"};
    const ButtonCode no{QMessageBox::No, Answer::No, "&No"};
    const ButtonCode retry{QMessageBox::Retry, Answer::Retry, "&Riprova"};
    switch (StyleButtons(style)) {
        case kStyleOkCancel:
            return {ok, cancel};
        case kStyleAbortRetryIgnore:
            return {{QMessageBox::Abort, Answer::Abort, "&Interrompi"},
                    retry,
                    {QMessageBox::Ignore, Answer::Ignore, "I&gnora"}};
        case kStyleYesNoCancel:
            return {yes, no, cancel};
        case kStyleYesNo:
            return {yes, no};
        case kStyleRetryCancel:
            return {retry, cancel};
        default:
            return {ok};
    }
}

QMessageBox::Icon icon_of(int style) {
    switch (StyleIcon(style)) {
        case kStyleStop:
            return QMessageBox::Critical;
        case kStyleQuestion:
            return QMessageBox::Question;
        case kStyleExclamation:
            return QMessageBox::Warning;
        case kStyleInformation:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

QString error_text(const Error& error, const std::vector<Error>& connection_errors) {
    QString text = qstr(error.message);
    for (const Error& more : connection_errors) {
        if (more.message != error.message) text += "\n" + qstr(more.message);
    }
    if (!error.statement.empty()) text += "\n\n" + qstr(error.statement);
    return text;
}

}  // namespace

Answer QtMessageService::ShowMessage(const std::string& text, int style, const std::string& title) {
    QMessageBox box(icon_of(style), qstr(title), qstr(text), QMessageBox::NoButton, parent_);
    std::vector<ButtonCode> buttons = buttons_of(style);
    for (const ButtonCode& b : buttons) {
        if (QAbstractButton* button = box.addButton(b.button)) {
            button->setText(QString::fromUtf8(b.caption));
        }
    }
    size_t default_index = static_cast<size_t>(StyleDefaultButton(style));
    if (default_index < buttons.size()) box.setDefaultButton(buttons[default_index].button);
    box.exec();
    QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (const ButtonCode& b : buttons) {
        if (b.button == pressed) return b.code;
    }
    // Closed with Escape or the window's close button: the cancelling answer when there is one.
    for (const ButtonCode& b : buttons) {
        if (b.code == Answer::Cancel || b.code == Answer::No) return b.code;
    }
    return buttons.back().code;
}

ErrorChoice QtMessageService::ErrorDialog(const Error& error,
                                          const std::vector<Error>& connection_errors,
                                          const std::string& application_title,
                                          const std::string& window_caption,
                                          const std::string& procedure, int style) {
    QString title = qstr(application_title.empty() ? window_caption : application_title);
    QMessageBox box(QMessageBox::Critical, title, QString(), QMessageBox::NoButton, parent_);
    QString where = qstr(window_caption);
    box.setText(QStringLiteral("Errore in %1%2")
                    .arg(qstr(procedure), where.isEmpty() ? "" : " (" + where + ")"));
    box.setInformativeText(error_text(error, connection_errors));
    QPushButton* retry = box.addButton(QStringLiteral("Riprova"), QMessageBox::AcceptRole);
    QPushButton* ignore = box.addButton(QStringLiteral("Ignora"), QMessageBox::ActionRole);
    QPushButton* leave = box.addButton(QStringLiteral("Esci"), QMessageBox::RejectRole);
    retry->setObjectName("Riprova");
    ignore->setObjectName("Ignora");
    leave->setObjectName("Esci");
    // The style may make the second button, Ignora, the default one.
    box.setDefaultButton(StyleDefaultButton(style) == 1 ? ignore : retry);
    box.setEscapeButton(leave);
    box.exec();
    if (box.clickedButton() == retry) return ErrorChoice::Retry;
    if (box.clickedButton() == ignore) return ErrorChoice::GoOn;
    return ErrorChoice::Leave;
}

Answer QtMessageService::ErrorReport(const Error& error,
                                     const std::vector<Error>& connection_errors,
                                     const std::string& text1, const std::string& text2,
                                     const std::string& text3) {
    QMessageBox box(QMessageBox::Critical, qstr(text1), qstr(text2), QMessageBox::Ok, parent_);
    QString details = error_text(error, connection_errors);
    if (!text3.empty()) details = qstr(text3) + "\n" + details;
    box.setInformativeText(details);
    box.exec();
    return Answer::Ok;
}

}  // namespace condpag::ui
