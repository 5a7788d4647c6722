#pragma once
// The host's message service on screen: message boxes with the style's icon and buttons answering
// the code of the button pressed, and the error dialog with "Riprova", "Ignora" and "Esci".

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "framework/message_service.h"

namespace condpag::ui {

class QtMessageService : public MessageService {
  public:
    explicit QtMessageService(QWidget* parent = nullptr) : parent_(parent) {}
    void set_parent(QWidget* parent) { parent_ = parent; }

    void SetInterface(Cinterface* host) override { host_ = host; }
    // Icon by style (16 stop, 32 question, 48 exclamation, 64 information); buttons by the low
    // bits (0 OK, 1 OK/Cancel, 2 Abort/Retry/Ignore, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel);
    // 256 and 512 make the second or third button the default.
    Answer ShowMessage(const std::string& text, int style, const std::string& title) override;
    // Riprova retries, Ignora goes on, Esci (or Escape) leaves.
    ErrorChoice ErrorDialog(const Error& error, const std::vector<Error>& connection_errors,
                            const std::string& application_title, const std::string& window_caption,
                            const std::string& procedure, int style) override;
    Answer ErrorReport(const Error& error, const std::vector<Error>& connection_errors,
                       const std::string& text1, const std::string& text2,
                       const std::string& text3) override;

  private:
    QPointer<QWidget> parent_;
    Cinterface* host_ = nullptr;
};

}  // namespace condpag::ui
