#pragma once
// What the widget tests share: a QApplication on the offscreen platform, and a way to answer the
// next modal dialog while the code under test waits in it.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <functional>

#include "ui/italian_texts.h"

namespace condpag::ui::testing {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication* app = new QApplication(argc, argv);
    install_italian_texts();
    return *app;
}

// Calls `act` with the next modal dialog as soon as it shows (the caller then runs the code that
// opens it). Gives up after `timeout_ms`.
inline void when_modal(std::function<void(QWidget*)> act, int timeout_ms = 5000) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act, waited, timeout_ms] {
        *waited += 20;
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog == nullptr && *waited < timeout_ms) return;
        timer->stop();
        timer->deleteLater();
        if (dialog != nullptr) act(dialog);
    });
    timer->start();
}

// A person's clicks and keys, sent through the application as the window system would.
inline void click(QWidget* widget, QPoint at = QPoint(-1, -1)) {
    if (at == QPoint(-1, -1)) at = widget->rect().center();
    QPoint global = widget->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

inline void key(QWidget* widget, int qt_key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, qt_key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qt_key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

inline void type_text(QWidget* widget, const QString& text) {
    for (QChar c : text) key(widget, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

}  // namespace condpag::ui::testing
