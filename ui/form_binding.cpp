#include "ui/form_binding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QWidget>

#include "framework/choice_controls.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/grid.h"
#include "framework/navigators.h"
#include "rules/value.h"
#include "ui/grid_model.h"
#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

constexpr const char* kButtonKey = "condpag_button_key";
// A lookup box's keys: F4 opens its list, F6 its management window (key "Kgestione").
constexpr int kListKeyCode = 115;
constexpr int kManagementKeyCode = 117;
constexpr const char* kManagementKeyName = "F6";
constexpr const char* kManagementKey = "Kgestione";
constexpr const char* kInvalidStyle = "QLineEdit { background-color: #f6b8b8; }";

// A widget not yet shown or hidden explicitly would appear with its parent whatever it is told.
void set_shown(QWidget* widget, bool visible) {
    if (!widget->testAttribute(Qt::WA_WState_ExplicitShowHide) || widget->isHidden() == visible) {
        widget->setVisible(visible);
    }
}

// The record navigator's moves read as arrows, so that all its buttons fit in one row.
QString button_caption(const NavigatorButton& button, bool record_navigator) {
    if (record_navigator) {
        if (button.key == "Primo") return QStringLiteral("|◀");
        if (button.key == "Precedente") return QStringLiteral("◀");
        if (button.key == "Successivo") return QStringLiteral("▶");
        if (button.key == "Ultimo") return QStringLiteral("▶|");
    }
    return qstr(button.caption);
}

void show_state(QWidget* widget, const Control& control) {
    bool enabled = control.enabled() && control.enabled2();
    if (widget->isEnabled() != enabled) widget->setEnabled(enabled);
    set_shown(widget, control.visible());
}

std::string right_trimmed(const QString& text) {
    std::string out = sstr(text);
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

void show_edit(QLineEdit* edit, const EditBox& box, bool typing) {
    QString text = qstr(box.text());
    // While a person types, a text the box keeps without its trailing blanks is left as typed,
    // so the next word can follow the blank.
    if (edit->text() != text && !(typing && right_trimmed(edit->text()) == box.text())) {
        int cursor = edit->cursorPosition();
        edit->setText(text);
        edit->setCursorPosition(std::min<int>(cursor, static_cast<int>(text.size())));
    }
    int max_length = box.max_length() > 0 ? box.max_length() : 32767;
    if (edit->maxLength() != max_length) edit->setMaxLength(max_length);
    if (edit->isReadOnly() == box.editable()) edit->setReadOnly(!box.editable());
    Qt::Alignment align = Qt::AlignVCenter | (box.numeric() ? Qt::AlignRight : Qt::AlignLeft);
    if (edit->alignment() != align) edit->setAlignment(align);
    QString style = box.valid() ? QString() : QString(kInvalidStyle);
    if (edit->styleSheet() != style) edit->setStyleSheet(style);
    edit->setProperty("invalid", !box.valid());
    if (!box.caption().empty()) edit->setToolTip(qstr(box.caption()));
}

}  // namespace

int window_key_code(int qt_key) {
    switch (qt_key) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return kKeyEnter;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return kKeyTab;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        default:
            break;
    }
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F12) return 112 + (qt_key - Qt::Key_F1);
    if ((qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) ||
        (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9))
        return qt_key;
    return 0;
}

int window_shift_state(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= kShiftShift;
    if (modifiers & Qt::ControlModifier) shift |= kShiftCtrl;
    if (modifiers & Qt::AltModifier) shift |= kShiftAlt;
    return shift;
}

FormBinding::FormBinding(Form& form, QObject* parent) : QObject(parent), form_(&form) {
    QPointer<FormBinding> self(this);
    form.FocusChanged.connect([self] {
        if (self) self->apply_focus();
    });
}

FormBinding::~FormBinding() = default;

FormBinding::Bound& FormBinding::add(Control& control, QWidget* widget) {
    auto bound = std::make_unique<Bound>();
    bound->control = &control;
    bound->widget = widget;
    bound->focus_target = [widget] { return widget; };
    Bound& out = *bound;
    bound_.push_back(std::move(bound));
    by_control_[&control] = &out;
    widget->setObjectName(qstr(control.name()));
    watch(widget, out);
    QPointer<FormBinding> self(this);
    Bound* at = &out;
    control.StateChanged.connect([self, at] {
        if (self && at->widget && at->refresh) at->refresh();
    });
    return out;
}

void FormBinding::watch(QObject* part, Bound& bound) {
    by_part_[part] = &bound;
    part->installEventFilter(this);
    connect(part, &QObject::destroyed, this, [this, part] { by_part_.erase(part); });
}

FormBinding::Bound* FormBinding::bound_of(const QObject* object) const {
    auto at = by_part_.find(object);
    return at == by_part_.end() ? nullptr : at->second;
}

QWidget* FormBinding::find(const Control* control) const {
    auto at = by_control_.find(control);
    return at == by_control_.end() ? nullptr : at->second->widget.data();
}

Control* FormBinding::control_of(const QObject* object) const {
    for (const QObject* at = object; at != nullptr; at = at->parent()) {
        if (Bound* bound = bound_of(at)) return bound->control;
    }
    return nullptr;
}

QWidget* FormBinding::widget(const std::string& name, QWidget* parent) {
    Control* control = form_->find(name);
    return control == nullptr ? nullptr : widget(*control, parent);
}

QWidget* FormBinding::widget(Control& control, QWidget* parent) {
    if (QWidget* made = find(&control)) return made;
    Bound* bound = nullptr;
    QWidget* made = nullptr;
    if (dynamic_cast<LookupBox*>(&control)) {
        made = make_lookup(bound, control, parent);
    } else if (dynamic_cast<EditBox*>(&control)) {
        made = make_edit(bound, control, parent);
    } else if (dynamic_cast<ComboBox*>(&control)) {
        made = make_combo(bound, control, parent);
    } else if (dynamic_cast<CheckBox*>(&control)) {
        made = make_check(bound, control, parent);
    } else if (dynamic_cast<TabStrip*>(&control)) {
        made = make_tabs(bound, control, parent);
    } else if (dynamic_cast<Grid*>(&control)) {
        made = make_grid(bound, control, parent);
    } else if (dynamic_cast<Navigator*>(&control)) {
        made = make_navigator(bound, control, parent);
    } else {
        made = make_simple(bound, control, parent);
    }
    if (made != nullptr && bound != nullptr && bound->refresh) bound->refresh();
    return made;
}

QWidget* FormBinding::make_edit(Bound*& bound, Control& control, QWidget* parent) {
    auto& box = static_cast<EditBox&>(control);
    auto* edit = new QLineEdit(parent);
    Bound& b = add(control, edit);
    bound = &b;
    b.refresh = [&box, edit, &b] {
        show_state(edit, box);
        show_edit(edit, box, b.typing);
    };
    connect(edit, &QLineEdit::textEdited, this, [&box, &b](const QString& text) {
        b.typing = true;
        bool taken = box.user_type(sstr(text));
        b.typing = false;
        if (!taken && b.refresh) b.refresh();
    });
    return edit;
}

QWidget* FormBinding::make_lookup(Bound*& bound, Control& control, QWidget* parent) {
    auto& box = static_cast<LookupBox&>(control);
    auto* frame = new QWidget(parent);
    auto* row = new QHBoxLayout(frame);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    auto* edit = new QLineEdit(frame);
    auto* button = new QToolButton(frame);
    button->setText(QStringLiteral("…"));
    button->setToolTip(QStringLiteral("Elenco (F4)"));
    button->setFocusPolicy(Qt::NoFocus);
    row->addWidget(edit, 1);
    row->addWidget(button);
    // A box whose window handles its management key offers it as a button too.
    QToolButton* manage = nullptr;
    if (box.FunctionKey.connected()) {
        manage = new QToolButton(frame);
        manage->setText(QStringLiteral("Gestione"));
        manage->setToolTip(QStringLiteral("Gestione (%1)").arg(QLatin1String(kManagementKeyName)));
        manage->setFocusPolicy(Qt::NoFocus);
        manage->setObjectName(qstr(control.name() + "_manage"));
        row->addWidget(manage);
        connect(manage, &QToolButton::clicked, this,
                [&box] { box.user_function_key(kManagementKey); });
    }
    Bound& b = add(control, frame);
    bound = &b;
    frame->setObjectName(qstr(control.name() + "_box"));
    edit->setObjectName(qstr(control.name()));
    button->setObjectName(qstr(control.name() + "_button"));
    watch(edit, b);
    b.focus_target = [edit] { return edit; };
    b.refresh = [&box, frame, edit, button, manage, &b] {
        show_state(frame, box);
        show_edit(edit, box, b.typing);
        button->setEnabled(box.available() && box.editable() && box.lookup_enabled());
        if (manage != nullptr) manage->setEnabled(box.available());
    };
    edit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edit, &QLineEdit::customContextMenuRequested, this, [&box, edit](const QPoint& at) {
        std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
        menu->addSeparator();
        QAction* list = menu->addAction(QStringLiteral("Elenco\tF4"));
        list->setEnabled(box.available() && box.editable() && box.lookup_enabled());
        connect(list, &QAction::triggered, edit, [&box] { box.user_lookup(); });
        if (box.FunctionKey.connected()) {
            QAction* manage_action = menu->addAction(
                QStringLiteral("Gestione\t%1").arg(QLatin1String(kManagementKeyName)));
            manage_action->setObjectName("manage");
            manage_action->setEnabled(box.available());
            connect(manage_action, &QAction::triggered, edit,
                    [&box] { box.user_function_key(kManagementKey); });
        }
        menu->exec(edit->mapToGlobal(at));
    });
    connect(edit, &QLineEdit::textEdited, this, [&box, &b](const QString& text) {
        b.typing = true;
        bool taken = box.user_type(sstr(text));
        b.typing = false;
        if (!taken && b.refresh) b.refresh();
    });
    connect(button, &QToolButton::clicked, this, [&box] { box.user_lookup(); });
    return frame;
}

QWidget* FormBinding::make_combo(Bound*& bound, Control& control, QWidget* parent) {
    auto& list = static_cast<ComboBox&>(control);
    auto* combo = new QComboBox(parent);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Bound& b = add(control, combo);
    bound = &b;
    b.refresh = [&list, combo, &b] {
        b.syncing = true;
        show_state(combo, list);
        QStringList labels;
        for (const ComboItem& item : list.items()) labels << qstr(item.label);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
        if (labels != shown) {
            combo->clear();
            combo->addItems(labels);
        }
        if (combo->currentIndex() != list.list_index()) combo->setCurrentIndex(list.list_index());
        b.syncing = false;
    };
    connect(combo, &QComboBox::activated, this, [&list, &b](int index) {
        if (b.syncing) return;
        list.user_pick(index);
        if (b.refresh) b.refresh();
    });
    return combo;
}

QWidget* FormBinding::make_check(Bound*& bound, Control& control, QWidget* parent) {
    auto& check = static_cast<CheckBox&>(control);
    auto* box = new QCheckBox(parent);
    Bound& b = add(control, box);
    bound = &b;
    b.refresh = [&check, box] {
        show_state(box, check);
        if (box->isChecked() != check.checked()) {
            QSignalBlocker quiet(box);
            box->setChecked(check.checked());
        }
    };
    connect(box, &QCheckBox::clicked, this, [&check, &b](bool on) {
        check.user_check(on);
        if (b.refresh) b.refresh();
    });
    return box;
}

QWidget* FormBinding::make_tabs(Bound*& bound, Control& control, QWidget* parent) {
    auto& strip = static_cast<TabStrip&>(control);
    auto* tabs = new QTabWidget(parent);
    Bound& b = add(control, tabs);
    bound = &b;
    watch(tabs->tabBar(), b);
    b.focus_target = [tabs] { return tabs->tabBar(); };
    b.refresh = [&strip, tabs, &b] {
        b.syncing = true;
        set_shown(tabs, strip.visible());
        // Only the strip is switched off: the controls on its pages keep their own switches.
        tabs->tabBar()->setEnabled(strip.enabled() && strip.enabled2());
        const auto& captions = strip.captions();
        while (tabs->count() < static_cast<int>(captions.size())) {
            auto* page = new QWidget(tabs);
            page->setObjectName(qstr(strip.name() + "_page" + std::to_string(tabs->count())));
            tabs->addTab(page, QString());
        }
        for (int i = 0; i < static_cast<int>(captions.size()); ++i) {
            tabs->setTabText(i, qstr(captions[static_cast<size_t>(i)]));
        }
        if (tabs->currentIndex() != strip.tab()) tabs->setCurrentIndex(strip.tab());
        b.syncing = false;
    };
    connect(tabs, &QTabWidget::currentChanged, this, [&strip, &b](int index) {
        if (b.syncing) return;
        strip.user_click(index);
        if (b.refresh) b.refresh();
    });
    return tabs;
}

QWidget* FormBinding::make_grid(Bound*& bound, Control& control, QWidget* parent) {
    auto& grid = static_cast<Grid&>(control);
    auto* view = new QTableView(parent);
    auto* model = new GridModel(grid, view);
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setHighlightSections(false);
    Bound& b = add(control, view);
    bound = &b;
    watch(view->viewport(), b);
    auto reload = [&grid, view, model, &b] {
        b.syncing = true;
        show_state(view, grid);
        if (!model->reload()) {  // the set reopens: its rows and selection stay meanwhile
            b.syncing = false;
            return;
        }
        // The layout's width, or the caption's when that is wider, so every caption reads whole.
        QFontMetrics metrics(view->horizontalHeader()->font());
        for (int c = 0; c < model->columnCount(); ++c) {
            QString caption = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            int width = std::max(model->column_width(c), metrics.horizontalAdvance(caption) + 14);
            if (view->columnWidth(c) != width) view->setColumnWidth(c, width);
        }
        long row = grid.current_row();
        if (row >= 0 && row < model->rowCount()) {
            view->selectRow(static_cast<int>(row));
        } else {
            view->clearSelection();
        }
        b.syncing = false;
    };
    QPointer<QTableView> guard(view);
    model->on_rows_taken([view, &b] {
        b.syncing = true;
        view->clearSelection();
        b.syncing = false;
    });
    // A reload asked for while the view reports a person's row change runs once that is over.
    b.refresh = [reload, guard, &b] {
        if (!guard) return;
        if (!b.typing) {
            reload();
            return;
        }
        QTimer::singleShot(0, guard, [reload, guard] {
            if (guard) reload();
        });
    };
    connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [&grid, &b](const QModelIndex& current) {
                if (b.syncing || !current.isValid()) return;
                b.typing = true;
                grid.user_select_row(current.row());
                b.typing = false;
                if (b.refresh) b.refresh();
            });
    return view;
}

// The button bar of one navigator: its buttons are made again whenever the navigator's list of
// buttons changes, and shown as the navigator enables them in between.
struct FormBinding::NavigatorBar {
    Navigator& navigator;
    GridNavigator* grid_navigator;  // nullptr for the record navigator
    QWidget* bar;
    QHBoxLayout* row;
    std::vector<QToolButton*> buttons;
    std::vector<std::string> shown_keys;  // key and caption of each button made

    std::string current() const {
        return grid_navigator != nullptr ? grid_navigator->current_button() : std::string();
    }
};

namespace {

std::string button_key(const QToolButton* button) {
    return sstr(button->property(kButtonKey).toString());
}

std::vector<std::string> key_captions(const Navigator& navigator) {
    std::vector<std::string> keys;
    for (const NavigatorButton& button : navigator.buttons()) {
        keys.push_back(button.key + "\n" + button.caption);
    }
    return keys;
}

bool button_visible(const Navigator& navigator, const std::string& key) {
    bool visible = false;
    for (const NavigatorButton& nb : navigator.buttons()) {
        if (nb.key == key) visible = nb.visible;
    }
    return visible;
}

}  // namespace

QWidget* FormBinding::make_navigator(Bound*& bound, Control& control, QWidget* parent) {
    auto& navigator = static_cast<Navigator&>(control);
    auto* bar = new QWidget(parent);
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(2);
    Bound& b = add(control, bar);
    bound = &b;
    auto nav = std::make_shared<NavigatorBar>(
        NavigatorBar{navigator, dynamic_cast<GridNavigator*>(&navigator), bar, row, {}, {}});
    b.focus_target = [nav] { return navigator_focus_target(*nav); };
    b.refresh = [this, nav, &b] {
        if (key_captions(nav->navigator) != nav->shown_keys) make_navigator_buttons(*nav, b);
        show_navigator_buttons(*nav);
        focus_current_button(*nav, b);
    };
    return bar;
}

QWidget* FormBinding::navigator_focus_target(const NavigatorBar& nav) {
    const std::string current = nav.current();
    QWidget* first = nullptr;
    for (QToolButton* button : nav.buttons) {
        if (!button->isEnabled() || button->isHidden()) continue;
        if (button_key(button) == current) return button;
        if (first == nullptr) first = button;
    }
    return first != nullptr ? first : nav.bar;
}

void FormBinding::make_navigator_buttons(NavigatorBar& nav, Bound& b) {
    for (QToolButton* button : nav.buttons) delete button;
    nav.buttons.clear();
    while (QLayoutItem* item = nav.row->takeAt(0)) delete item;
    Navigator& navigator = nav.navigator;
    for (const NavigatorButton& nb : navigator.buttons()) {
        auto* button = new QToolButton(nav.bar);
        button->setObjectName(qstr(navigator.name() + "." + nb.key));
        button->setProperty(kButtonKey, qstr(nb.key));
        button->setText(button_caption(nb, nav.grid_navigator == nullptr));
        button->setToolTip(qstr(nb.key));
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        // The grid navigators take the focus like the window's other controls; the record
        // navigator acts without moving it.
        button->setFocusPolicy(nav.grid_navigator ? Qt::StrongFocus : Qt::NoFocus);
        nav.row->addWidget(button);
        nav.buttons.push_back(button);
        watch(button, b);
        std::string key = nb.key;
        connect(button, &QToolButton::clicked, this, [&navigator, key] {
            if (auto* grid_nav = dynamic_cast<GridNavigator*>(&navigator)) {
                grid_nav->user_click(key);
            } else if (auto* record_nav = dynamic_cast<RecordNavigator*>(&navigator)) {
                record_nav->user_click(key);
            }
        });
    }
    nav.row->addStretch(1);
    nav.shown_keys = key_captions(navigator);
}

void FormBinding::show_navigator_buttons(const NavigatorBar& nav) {
    show_state(nav.bar, nav.navigator);
    const std::string current = nav.current();
    for (QToolButton* button : nav.buttons) {
        const std::string key = button_key(button);
        const bool enabled = nav.navigator.ButtonEnabled(key);
        if (button->isEnabled() != enabled) button->setEnabled(enabled);
        set_shown(button, button_visible(nav.navigator, key));
        QFont font = button->font();
        if (font.bold() != (key == current)) {
            font.setBold(key == current);
            button->setFont(font);
        }
    }
}

// The current button takes the focus while the navigator has it.
void FormBinding::focus_current_button(const NavigatorBar& nav, Bound& b) {
    if (nav.grid_navigator == nullptr || !nav.navigator.has_focus() || applying_focus_) return;
    QWidget* target = b.focus_target();
    if (target != nullptr && !target->hasFocus() && nav.bar->isVisible()) {
        applying_focus_ = true;
        target->setFocus(Qt::OtherFocusReason);
        applying_focus_ = false;
    }
}

QWidget* FormBinding::make_simple(Bound*& bound, Control& control, QWidget* parent) {
    if (auto* label = dynamic_cast<Label*>(&control)) {
        auto* widget = new QLabel(parent);
        Bound& b = add(control, widget);
        bound = &b;
        b.refresh = [label, widget] {
            show_state(widget, *label);
            widget->setText(qstr(label->text()));
        };
        return widget;
    }
    if (auto* group = dynamic_cast<GroupBox*>(&control)) {
        auto* widget = new QGroupBox(parent);
        Bound& b = add(control, widget);
        bound = &b;
        b.refresh = [group, widget] {
            show_state(widget, *group);
            widget->setTitle(qstr(group->text()));
        };
        return widget;
    }
    if (auto* command = dynamic_cast<CommandButton*>(&control)) {
        auto* widget = new QPushButton(parent);
        Bound& b = add(control, widget);
        bound = &b;
        b.refresh = [command, widget] {
            show_state(widget, *command);
            widget->setText(qstr(command->text()));
        };
        connect(widget, &QPushButton::clicked, this, [command] { command->user_click(); });
        return widget;
    }
    return nullptr;
}

void FormBinding::apply_focus() {
    Control* control = form_->focus();
    if (control == nullptr) return;
    auto at = by_control_.find(control);
    if (at == by_control_.end()) return;
    QWidget* target = at->second->focus_target ? at->second->focus_target() : nullptr;
    if (target == nullptr || target->hasFocus()) return;
    applying_focus_ = true;
    target->setFocus(Qt::OtherFocusReason);
    applying_focus_ = false;
}

bool FormBinding::key_press(Bound& bound, QObject* watched, int qt_key,
                            Qt::KeyboardModifiers modifiers) {
    int code = window_key_code(qt_key);
    if (code == 0) return false;
    int shift = window_shift_state(modifiers);
    if (qt_key == Qt::Key_Backtab) shift |= kShiftShift;
    Control& control = *bound.control;
    (void)watched;
    int left = control.user_key(code, shift);
    if (left == 0) return true;
    if (auto* lookup = dynamic_cast<LookupBox*>(&control); lookup != nullptr && shift == 0) {
        if (code == kListKeyCode) {
            lookup->user_lookup();
            return true;
        }
        if (code == kManagementKeyCode && lookup->FunctionKey.connected()) {
            lookup->user_function_key(kManagementKey);
            return true;
        }
    }
    // Enter never reaches the widget: the window moves on, or presses the current button.
    if (code == kKeyEnter && shift == 0) return true;
    // Tab without modifiers: the window has moved the focus along its own tab order.
    return code == kKeyTab && shift == 0;
}

bool FormBinding::eventFilter(QObject* watched, QEvent* event) {
    Bound* bound = bound_of(watched);
    if (bound == nullptr || bound->control == nullptr) return false;
    switch (event->type()) {
        case QEvent::KeyPress: {
            auto* key = static_cast<QKeyEvent*>(event);
            return key_press(*bound, watched, key->key(), key->modifiers());
        }
        case QEvent::FocusIn: {
            if (applying_focus_) break;
            auto* focus = static_cast<QFocusEvent*>(event);
            if ((focus->reason() == Qt::ActiveWindowFocusReason ||
                 focus->reason() == Qt::PopupFocusReason) &&
                form_->focus() != nullptr) {
                // Back from a dialog or a list: the window's focus may have moved meanwhile.
                QTimer::singleShot(0, this, [this] { apply_focus(); });
                break;
            }
            if (form_->focus() == bound->control) break;
            if (!form_->user_focus(bound->control)) {
                QTimer::singleShot(0, this, [this] { apply_focus(); });
            }
            break;
        }
        case QEvent::FocusOut:
            // The box shows its text as the window keeps it once the person is done typing.
            if (bound->refresh && qobject_cast<QLineEdit*>(watched)) bound->refresh();
            break;
        default:
            break;
    }
    return false;
}

}  // namespace condpag::ui
