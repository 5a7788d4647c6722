#pragma once
// Binds the controls of a headless window to Qt widgets. Each control gets one widget that shows
// its state (text, value, enabled, visible, max length, upper case, validity mark) and hands what
// a person does (typing, picks, ticks, clicks, leaving, keys) to the control's user entry points.
// The input focus follows the window's: a person's focus move goes to Form::user_focus, and
// whatever the window focuses gets the Qt focus. Nothing here decides a rule.
//
// The window must outlive the binding.

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace condpag {
class Control;
class Form;
}  // namespace condpag

namespace condpag::ui {

// Key codes of the window's key events (Enter 13, Tab 9, F4 115, letters as upper-case ASCII)
// from a Qt key; 0 for keys the window does not see.
int window_key_code(int qt_key);
// Shift state of the key events: 1 Shift, 2 Ctrl, 4 Alt.
int window_shift_state(Qt::KeyboardModifiers modifiers);

class FormBinding : public QObject {
  public:
    explicit FormBinding(Form& form, QObject* parent = nullptr);
    ~FormBinding() override;

    // The widget of a control, made under `parent` on the first request:
    //   edit box        QLineEdit (object name = control name)
    //   lookup box      QWidget "<name>_box" holding the QLineEdit and a QToolButton
    //                   "<name>_button" that opens the list (as F4 does)
    //   combo box       QComboBox           check box   QCheckBox
    //   label           QLabel              group box   QGroupBox
    //   command button  QPushButton         tab strip   QTabWidget with one empty page per tab
    //   grid            QTableView over a GridModel
    //   navigators      QWidget with one QToolButton "<name>.<key>" per button
    // Other controls (the layout control) get nullptr.
    QWidget* widget(Control& control, QWidget* parent);
    QWidget* widget(const std::string& name, QWidget* parent);
    // The widget already made for a control, or nullptr.
    QWidget* find(const Control* control) const;
    // The control a widget (or a part of it) belongs to, or nullptr.
    Control* control_of(const QObject* object) const;
    Form& form() const { return *form_; }

    // Gives the Qt focus to the widget of the window's focused control.
    void apply_focus();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Bound {
        Control* control = nullptr;
        QPointer<QWidget> widget;
        std::function<void()> refresh;
        // The widget that takes the focus for the control (the line edit of a lookup box, the
        // current button of a navigator).
        std::function<QWidget*()> focus_target;
        bool typing = false;   // a person's edit is being handed to the control
        bool syncing = false;  // the widget is being updated from the control
    };

    Bound& add(Control& control, QWidget* widget);
    void watch(QObject* part, Bound& bound);
    QWidget* make_edit(Bound*& bound, Control& control, QWidget* parent);
    QWidget* make_lookup(Bound*& bound, Control& control, QWidget* parent);
    QWidget* make_combo(Bound*& bound, Control& control, QWidget* parent);
    QWidget* make_check(Bound*& bound, Control& control, QWidget* parent);
    QWidget* make_tabs(Bound*& bound, Control& control, QWidget* parent);
    QWidget* make_grid(Bound*& bound, Control& control, QWidget* parent);
    QWidget* make_navigator(Bound*& bound, Control& control, QWidget* parent);
    struct NavigatorBar;
    static QWidget* navigator_focus_target(const NavigatorBar& nav);
    void make_navigator_buttons(NavigatorBar& nav, Bound& b);
    static void show_navigator_buttons(const NavigatorBar& nav);
    void focus_current_button(const NavigatorBar& nav, Bound& b);
    QWidget* make_simple(Bound*& bound, Control& control, QWidget* parent);
    bool key_press(Bound& bound, QObject* watched, int qt_key, Qt::KeyboardModifiers modifiers);
    Bound* bound_of(const QObject* object) const;

    Form* form_;
    std::vector<std::unique_ptr<Bound>> bound_;
    std::map<const Control*, Bound*> by_control_;
    std::map<const QObject*, Bound*> by_part_;
    bool applying_focus_ = false;
};

}  // namespace condpag::ui
