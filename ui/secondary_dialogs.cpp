#include "ui/secondary_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "framework/control.h"
#include "framework/edit_box.h"
#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

// One labelled row of a dialog: the label (nullptr: the caption of the first control) and the
// controls side by side.
struct Row {
    const char* label;
    std::vector<const char*> controls;
};

// The boxes of a share and of an interval stand on one row, each after its own caption.
const std::vector<Row>& generation_rows() {
    static const std::vector<Row> rows = {
        {"Numero rate", {"TXT_NUMERORATE"}},
        {nullptr, {"CMB_TIPO"}},
        {nullptr, {"TXT_SOTTOTIPO", "TXT_DECODSTIPO"}},
        {nullptr, {"CMB_CALENDARIO"}},
        {nullptr, {"CMB_TIPODECORR"}},
        {nullptr, {"TXT_GGDECOR"}},
        {nullptr, {"CMB_DATARIF"}},
        {nullptr, {"TXT_GGMMFIX"}},
        {nullptr, {"CMB_FLGFRPERCIMP"}},
        {nullptr, {"TXT_IMP"}},
        {nullptr, {"TXT_NUMIMP", "TXT_DENIMP"}},
        {nullptr, {"CMB_FLGFRPERCIVA"}},
        {nullptr, {"TXT_IVA"}},
        {nullptr, {"TXT_NUMIVA", "TXT_DENIVA"}},
        {nullptr, {"CMB_TIPOIMPFIX"}},
        {nullptr, {"TXT_IMPFIX"}},
        {nullptr, {"TXT_DAGGFIX1", "TXT_AGGFIX1", "TXT_GGSCADFIX1"}},
        {nullptr, {"TXT_DAGGFIX2", "TXT_AGGFIX2", "TXT_GGSCADFIX2"}},
    };
    return rows;
}

const std::vector<Row>& subtype_rows() {
    static const std::vector<Row> rows = {
        {nullptr, {"CMB_TIPO"}},
        {nullptr, {"TXT_CODICE"}},
        {nullptr, {"TXT_DESCRIZIONE"}},
        {nullptr, {"TXT_GGOFFSET"}},
        {nullptr, {"CHK_ASSEGNO"}},
        {nullptr, {"TXT_STATO", "TXT_DESCRSTATO"}},
        {nullptr, {"TXT_CODPAGUC", "TXT_DESCRCODPAGUC"}},
        {nullptr, {"CMB_INDMODFATTURAPA"}},
    };
    return rows;
}

// Boxes as wide as the characters they take, so that short codes do not stretch across.
void size_box(QWidget* widget, const Control& control) {
    const auto* box = dynamic_cast<const EditBox*>(&control);
    if (box == nullptr || box->max_length() <= 0) return;
    int characters = std::clamp(box->max_length(), 3, 40);
    int width = widget->fontMetrics().horizontalAdvance(QLatin1Char('0')) * characters + 18;
    // A lookup box's buttons ("…", and "Gestione" where it has one) come on top.
    for (const QToolButton* button : widget->findChildren<QToolButton*>()) {
        width += button->sizeHint().width() + 1;
    }
    widget->setFixedWidth(width);
}

// A caption as a label shows it: without the blanks some captions begin with.
std::string trimmed_caption(const Control& control) {
    std::string caption = control.caption();
    caption.erase(0, caption.find_first_not_of(' '));
    return caption;
}

// A label shown only while its control is.
void follow_visibility(QLabel* label, Control& control) {
    QPointer<QLabel> guard(label);
    auto follow = [guard, &control] {
        if (guard && guard->isHidden() == control.visible()) guard->setVisible(control.visible());
    };
    control.StateChanged.connect(follow);
    if (!control.visible()) label->hide();
}

}  // namespace

SecondaryDialog::SecondaryDialog(ModalWindow& window, QWidget* parent)
    : QDialog(parent), window_(&window), binding_(std::make_unique<FormBinding>(window)) {
    setObjectName(qstr(window.name()));
    setModal(true);
    setWindowTitle(qstr(window.caption()));
    build();
    QPointer<SecondaryDialog> self(this);
    // The window asks from inside its own handlers; it unloads once they are done.
    window.CloseRequested.connect([self] {
        if (!self) return;
        QTimer::singleShot(0, self, [self] {
            if (self && self->isVisible()) self->try_close();
        });
    });
}

SecondaryDialog::~SecondaryDialog() = default;

QWidget* SecondaryDialog::widget_of(const std::string& name) const {
    return binding_->find(window_->find(name));
}

void SecondaryDialog::build() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(8);
    bool subtypes = window_->name() == "FRMCO_SOTTOTIPI";

    if (subtypes) {
        if (auto* grid = binding_->widget("GRID_SOTTOTIPI", this)) {
            grid->setMinimumHeight(150);
            outer->addWidget(grid, 1);
        }
        if (QWidget* navigator = binding_->widget("GRIDNAV", this)) outer->addWidget(navigator);
    }

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(10);
    fields->setVerticalSpacing(5);
    int line = 0;
    for (const Row& row : subtypes ? subtype_rows() : generation_rows()) {
        auto* cells = new QHBoxLayout;
        cells->setSpacing(4);
        std::string caption = row.label != nullptr ? row.label : "";
        Control* first = nullptr;
        for (const char* name : row.controls) {
            Control* control = window_->find(name);
            if (control == nullptr) continue;
            bool decoded_box = std::string(name).rfind("TXT_DEC", 0) == 0 ||
                               std::string(name).rfind("TXT_DESCR", 0) == 0;
            if (first == nullptr) {
                first = control;
                if (caption.empty()) caption = trimmed_caption(*control);
            } else if (!control->caption().empty() && !decoded_box) {
                // A further box of the row reads after its own caption, shown and hidden with it.
                auto* inline_label = new QLabel(qstr(trimmed_caption(*control)), this);
                cells->addSpacing(8);
                cells->addWidget(inline_label);
                follow_visibility(inline_label, *control);
            }
            QWidget* widget = binding_->widget(*control, this);
            if (widget == nullptr) continue;
            size_box(widget, *control);
            // Lists as wide as their longest item, so every choice reads whole.
            if (auto* combo = qobject_cast<QComboBox*>(widget)) {
                combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            }
            // The decoded descriptions beside a code take what room is left.
            cells->addWidget(widget, decoded_box ? 1 : 0);
        }
        cells->addStretch(1);
        auto* label = new QLabel(qstr(caption), this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (first != nullptr) follow_visibility(label, *first);
        fields->addWidget(label, line, 0);
        fields->addLayout(cells, line, 1);
        ++line;
    }
    fields->setColumnStretch(1, 1);
    outer->addLayout(fields);

    if (!subtypes) {
        auto* commands = new QHBoxLayout;
        commands->addStretch(1);
        for (const char* name : {"CMD_ANNULLA", "CMD_GENERA"}) {
            if (QWidget* button = binding_->widget(name, this)) commands->addWidget(button);
        }
        outer->addLayout(commands);
    }
    // Whatever is not placed above (the layout control) gets no widget or stays out of sight.
    for (Control* control : window_->controls()) {
        if (binding_->find(control) != nullptr) continue;
        if (QWidget* widget = binding_->widget(*control, this)) widget->hide();
    }
    // Enter belongs to the window's key flow, never to a default button of the dialog.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
}

bool SecondaryDialog::try_close() {
    if (closing_) return false;
    closing_ = true;
    bool unloaded = !window_->loaded() || window_->Unload();
    closing_ = false;
    if (!unloaded) {
        binding_->apply_focus();
        return false;
    }
    done(QDialog::Accepted);
    return true;
}

void SecondaryDialog::closeEvent(QCloseEvent* event) {
    if (!window_->loaded() || try_close()) {
        event->accept();
    } else {
        event->ignore();
    }
}

void SecondaryDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    binding_->apply_focus();
}

void SecondaryDialog::reject() {
    if (!window_->loaded()) {
        QDialog::reject();
        return;
    }
    try_close();
}

ModalRunner dialog_runner(QWidget* parent) {
    QPointer<QWidget> owner(parent);
    return [owner](ModalWindow& window) {
        window.Show();
        if (window.close_requested() || !window.loaded()) {
            window.Unload();
            return;
        }
        QWidget* over = QApplication::activeModalWidget();
        if (over == nullptr) over = owner.data();
        SecondaryDialog dialog(window, over);
        dialog.exec();
        // Closed from outside (the application quitting): the window still unloads.
        if (window.loaded()) window.Unload();
    };
}

}  // namespace condpag::ui
