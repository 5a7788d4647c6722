#include "app/shell/host_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <filesystem>

#include "component/print_listing.h"
#include "editor/FRMCO_CONDPAG.h"
#include "framework/data_frame.h"
#include "rules/normaliser.h"
#include "ui/editor_view.h"
#include "ui/italian_texts.h"
#include "ui/pdf_listing.h"
#include "ui/qt_text.h"

namespace condpag::shell {
namespace {

struct ToolButton {
    const char* key;
    const char* caption;
    QStyle::StandardPixmap icon;
};

constexpr ToolButton kToolButtons[] = {
    {"Nuovo", "Nuovo", QStyle::SP_FileIcon},
    {"Cerca", "Cerca", QStyle::SP_FileDialogContentsView},
    {"Salva", "Salva", QStyle::SP_DialogSaveButton},
    {"Annulla", "Annulla", QStyle::SP_DialogCancelButton},
    {"Elimina", "Elimina", QStyle::SP_TrashIcon},
    {"Primo", "Primo", QStyle::SP_MediaSkipBackward},
    {"Precedente", "Precedente", QStyle::SP_MediaSeekBackward},
    {"Successivo", "Successivo", QStyle::SP_MediaSeekForward},
    {"Ultimo", "Ultimo", QStyle::SP_MediaSkipForward},
    {"Chiudi", "Chiudi", QStyle::SP_DialogCloseButton},
};

// The toolbar buttons a status offers.
bool offered(const std::string& key, FrameStatus status) {
    if (key == "Chiudi") return true;
    switch (status) {
        case FrameStatus::View:
            return key != "Salva" && key != "Annulla";
        case FrameStatus::Search:
            return key == "Cerca" || key == "Annulla";
        case FrameStatus::Insert:
        default:
            return key == "Salva" || key == "Annulla";
    }
}

QString status_name(FrameStatus status) {
    switch (status) {
        case FrameStatus::View:
            return QStringLiteral("Visualizzazione");
        case FrameStatus::Search:
            return QStringLiteral("Ricerca");
        case FrameStatus::Insert:
            return QStringLiteral("Inserimento");
        default:
            return QStringLiteral("Modifica");
    }
}

// The host's global services as an Italian desktop has them: totals with a decimal comma.
class ShellGlobal : public RegistryGlobal {
  public:
    using RegistryGlobal::RegistryGlobal;
    std::unique_ptr<NumberNormaliser> NewNormaliser() const override {
        return std::make_unique<RoundingNormaliser>(6, ',');
    }
};

// The desktop's own viewer shows a written listing.
bool open_with_desktop(const std::string& where) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(ui::qstr(where)));
}

}  // namespace

HostWindow::HostWindow(ShellOptions options) : options_(std::move(options)), messages_(this) {
    ui::install_italian_texts();
    setWindowTitle(QStringLiteral("Velmora - Contabilità"));
    area_ = new QMdiArea(this);
    area_->setObjectName("HostArea");
    area_->setBackground(QColor(0x7a, 0x8a, 0x9a));
    // A host smaller than the editor scrolls it: the editor itself goes no smaller.
    area_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    area_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(area_);
    status_label_ = new QLabel(this);
    statusBar()->addPermanentWidget(status_label_);
    preview_ = new ui::PreviewPanel(this);
    // Wide enough for its six columns of dates and amounts.
    preview_->setMinimumWidth(500);
    addDockWidget(Qt::RightDockWidgetArea, preview_);
    build_menu_and_toolbar();
    SetFormEvents(&form_events_);

    ComponentRegistry registry = linked_components();
    component_source_ = "collegato";
    if (!options_.module_path.empty()) {
        auto module = ComponentModule::Load(options_.module_path);
        if (module) {
            (*module)->RegisterIn(registry, {kComponentProgId});
            component_source_ = "modulo " + options_.module_path;
        } else {
            statusBar()->showMessage(ui::qstr("Modulo non caricato: " + module.error().message));
        }
    }
    ui::register_pdf_print_component(registry, std::filesystem::temp_directory_path(),
                                     open_with_desktop);
    global_ = std::make_unique<ShellGlobal>(std::move(registry), options_.connection_string,
                                            options_.profile);
    global_->SetMessageObject(&messages_);
    show_status(FrameStatus::View);
}

HostWindow::~HostWindow() {
    // The view goes before the component and its window.
    drop_view();
    if (component_ != nullptr) component_->SetPresenter(nullptr);
    NavigatorEvents::disconnect_all();
    handle_.reset();
}

void HostWindow::build_menu_and_toolbar() {
    QMenu* archive = menuBar()->addMenu(QStringLiteral("&Archivi"));
    QAction* open = archive->addAction(QStringLiteral("Condizioni di pagamento"));
    open->setObjectName("menu.CondizioniDiPagamento");
    connect(open, &QAction::triggered, this, [this] {
        std::string error = open_payment_terms();
        if (!error.empty()) statusBar()->showMessage(ui::qstr(error));
    });
    archive->addAction(preview_->toggleViewAction());
    archive->addSeparator();
    QAction* quit = archive->addAction(QStringLiteral("Esci"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    QToolBar* bar = addToolBar(QStringLiteral("Navigatore"));
    bar->setObjectName("HostNavigator");
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    bar->setMovable(false);
    for (const ToolButton& button : kToolButtons) {
        QAction* action = bar->addAction(style()->standardIcon(button.icon), button.caption);
        action->setObjectName(QString("host.") + button.key);
        std::string key = button.key;
        connect(action, &QAction::triggered, this, [this, key] { run_command(key); });
        actions_[key] = action;
        if (key == "Annulla" || key == "Ultimo") bar->addSeparator();
    }
}

QAction* HostWindow::action(const std::string& key) const {
    auto at = actions_.find(key);
    return at == actions_.end() ? nullptr : at->second;
}

QString HostWindow::status_text() const { return status_label_->text(); }

std::string HostWindow::open_payment_terms() {
    if (sub_window_) {
        area_->setActiveSubWindow(sub_window_);
        return {};
    }
    if (!handle_) {
        auto made = global_->registry().CreateComponent(kComponentProgId);
        if (!made) return made.error().message;
        handle_ = std::move(*made);
        component_ = dynamic_cast<CLSCO_CONDPAG*>(handle_.get());
        if (component_ == nullptr) return "Il componente creato non è quello atteso";
        component_->SetClsGlobal(global_.get());
        component_->SetActiveNavigator(this);
        component_->SetClsVoceMenu(&menu_entry_);
        component_->SetCaption(Value("Condizioni di pagamento"));
        component_->SetCanInsert(true);
        component_->SetCanDelete(true);
        component_->SetCanUpdate(true);
        component_->SetCanQbe(true);
        component_->SetPresenter(this);
        component_->DataTransfer.connect([this](const std::vector<Value>& data) {
            received_.clear();
            for (const Value& value : data)
                received_ += (received_.empty() ? "" : ", ") + value.to_text();
            statusBar()->showMessage(ui::qstr("Codice ricevuto dalla finestra: " + received_));
        });
    }
    component_->SetIsActive(true);
    component_->SetIsCalled(!options_.code.empty());
    component_->SetCodicePagamento(options_.code.empty() ? Value() : Value(options_.code));
    component_->ShowForm();
    return {};
}

void HostWindow::fit_to_editor() {
    if (!sub_window_) return;
    QSize room = size() - area_->size();
    resize(sub_window_->size() + room + QSize(8, 8));
    sub_window_->move(2, 2);
}

void HostWindow::resize_editor(QSize size) {
    if (!sub_window_ || view_ == nullptr) return;
    QSize frame = sub_window_->size() - view_->size();
    sub_window_->resize(size + frame);
    sub_window_->move(2, 2);
    resize(size + frame + (this->size() - area_->size()) + QSize(4, 4));
}

void HostWindow::Show(FRMCO_CONDPAG& window, int, bool) {
    drop_view();
    shown_ = &window;
    window.SetSecondaryWindows(&secondary_windows_);
    view_ = new ui::EditorView(window);
    sub_window_ = area_->addSubWindow(view_);  // it takes the editor's caption as its title
    sub_window_->setWindowIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    sub_window_->installEventFilter(this);
    sub_window_->show();
    // The subwindow takes the editor's design size plus its own frame.
    QSize frame = sub_window_->size() - view_->size();
    // The sub-window goes no smaller than the editor in it; the area scrolls instead.
    sub_window_->setMinimumSize(view_->minimumSize() + frame);
    sub_window_->resize(QSize(ui::EditorView::kDesignWidth, ui::EditorView::kDesignHeight) + frame);
    area_->setActiveSubWindow(sub_window_);
    window.CloseRequested.connect([guard = QPointer<HostWindow>(this)] {
        if (guard) QTimer::singleShot(0, guard, [guard] { guard->drop_view(); });
    });
    window.Form_Activate();
    preview_->follow(&window);
    view_->binding().apply_focus();
    Refresh();
}

void HostWindow::Released(FRMCO_CONDPAG& window) {
    if (&window == shown_) drop_view();
}

void HostWindow::drop_view() {
    // The preview reads the editor's record sets: it lets go before the editor goes.
    if (preview_ != nullptr) preview_->follow(nullptr);
    if (sub_window_) {
        sub_window_->removeEventFilter(this);
        delete sub_window_;
    }
    view_ = nullptr;
    shown_ = nullptr;
    show_status(status_);
}

bool HostWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == sub_window_ && event->type() == QEvent::Close && shown_ != nullptr) {
        // The window may refuse to close (unsaved changes the person keeps).
        if (!shown_->unloaded() && component_ != nullptr && !component_->CloseForm()) {
            event->ignore();
            return true;
        }
        QTimer::singleShot(0, this, [this] { drop_view(); });
    }
    if (watched == sub_window_ && event->type() == QEvent::WindowActivate && shown_ != nullptr &&
        !shown_->unloaded()) {
        shown_->Form_Activate();
    }
    return QMainWindow::eventFilter(watched, event);
}

void HostWindow::run_command(const std::string& key) {
    DataFrame* frame = component_ != nullptr ? component_->ActiveFrame() : nullptr;
    if (key == "Chiudi") {
        if (sub_window_) sub_window_->close();
        return;
    }
    if (frame == nullptr) return;
    if (key == "Nuovo") frame->New();
    if (key == "Cerca") frame->Status() == FrameStatus::Search ? frame->Find() : frame->Search();
    if (key == "Salva") frame->Save();
    if (key == "Annulla") frame->Undo();
    if (key == "Elimina") frame->Delete();
    if (key == "Primo") frame->MoveFirst();
    if (key == "Precedente") frame->MovePrevious();
    if (key == "Successivo") frame->MoveNext();
    if (key == "Ultimo") frame->MoveLast();
    Refresh();
}

void HostWindow::SetStatus(FrameStatus status) {
    EventingNavigator::SetStatus(status);
    show_status(status);
}

void HostWindow::Refresh() {
    EventingNavigator::Refresh();
    DataFrame* frame = component_ != nullptr ? component_->ActiveFrame() : nullptr;
    // The active frame reports each change of status through SetStatus, and the window reports
    // it again when it comes back to the front: this re-read never shows anything new.
    if (frame != nullptr) show_status(frame->Status());
}

void HostWindow::show_status(FrameStatus status) {
    status_ = status;
    bool open = sub_window_ != nullptr;
    for (const auto& [key, action] : actions_) action->setEnabled(open && offered(key, status));
    status_label_->setText(open ? status_name(status) : QString());
}

}  // namespace condpag::shell
