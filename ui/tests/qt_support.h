#pragma once
// What the widget tests share: a QApplication on the offscreen platform, and a way to answer the
// next modal dialog while the code under test waits in it.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
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

// Calls `act` with the next popup menu or modal dialog (the one named `name`, if given) as soon
// as it shows; the caller then runs the code that opens it. Gives up after five seconds.
inline void when_modal(std::function<void(QWidget*)> act, const QString& name = QString()) {
    auto* timer = new QTimer;
    auto waited = std::make_shared<int>(0);
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act, waited, name] {
        *waited += 20;
        QWidget* dialog = QApplication::activePopupWidget();
        if (dialog == nullptr) dialog = QApplication::activeModalWidget();
        if (dialog != nullptr && !name.isEmpty() && dialog->objectName() != name) dialog = nullptr;
        if (dialog == nullptr && *waited < 5000) return;
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

// The child named `name`, reported when missing.
template <typename T>
T* part(QWidget* in, const QString& name) {
    T* found = in->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

// Clicks into a box, types over what it holds and leaves it with Tab (if `leave`).
inline void type_into(QWidget* in, const char* box, const QString& text, bool leave = true) {
    auto* edit = part<QLineEdit>(in, box);
    if (edit == nullptr) return;
    click(edit);
    edit->setFocus();
    key(edit, Qt::Key_A, Qt::ControlModifier);
    key(edit, Qt::Key_Backspace);
    type_text(edit, text);
    if (leave) key(edit, Qt::Key_Tab);
    QApplication::processEvents();
}

// A person picks the item of a list with the arrow keys: Home, then Down to the item shown with
// `label`.
inline void pick(QWidget* in, const char* list, const QString& label) {
    auto* combo = part<QComboBox>(in, list);
    if (combo == nullptr) return;
    int index = combo->findText(label);
    ASSERT_GE(index, 0) << list << " offers no " << label.toStdString();
    combo->setFocus();
    key(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) key(combo, Qt::Key_Down);
    QApplication::processEvents();
    EXPECT_EQ(combo->currentIndex(), index) << list;
}

}  // namespace condpag::ui::testing
