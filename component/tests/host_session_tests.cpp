// The component as the host drives it: properties, showing and closing the editor on a demo
// database, a calling program receiving the chosen code, and the host navigator's events.

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "component/CLSCO_CONDPAG.h"
#include "component/registry.h"
#include "editor/FRMCO_CONDPAG.h"
#include "framework/message_service.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class HostSession : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(database.ok()) << database.error();
        global.SetMessageObject(&host_messages);
        navigator.SetFormEvents(&form_events);
        auto made = linked_components().CreateComponent(kComponentProgId);
        ASSERT_TRUE(made.ok());
        handle = std::move(*made);
        component = dynamic_cast<CLSCO_CONDPAG*>(handle.get());
        ASSERT_NE(component, nullptr);
        component->SetClsGlobal(&global);
        component->SetActiveNavigator(&navigator);
        component->SetClsVoceMenu(&menu);
        component->SetIsActive(true);
        component->DataTransfer.connect(
            [this](const std::vector<Value>& data) { received.push_back(data); });
    }

    FRMCO_CONDPAG& show() {
        component->ShowForm();
        EXPECT_NE(component->window(), nullptr);
        return *component->window();
    }

    testing::DemoDatabase database;
    HeadlessGlobal global{database.connection_string(), 0};
    HeadlessMessageService host_messages;
    HeadlessFormEvents form_events;
    EventingNavigator navigator;
    HeadlessMenuEntry menu{"CO_CONDPAG"};
    ComponentHandle handle;
    CLSCO_CONDPAG* component = nullptr;
    std::vector<std::vector<Value>> received;
};

TEST_F(HostSession, PropertiesKeepWhatTheHostGivesWithTheirConversions) {
    // What the host gives and what is kept. Each case starts from 7: a value that is no whole
    // 32-bit number leaves it unchanged.
    const std::pair<Value, int> cases[] = {
        {Value("1200"), 1200}, {Value(" 35 "), 35}, {Value(-40), -40}, {Value(12.5), 12},
        {Value(13.5), 14},     {Value("2,5"), 2},   {Value("abc"), 7}, {Value(), 7},
        {Value(""), 7},        {Value(3e10), 7}};
    for (const auto& [given, expected] : cases) {
        component->SetTop(Value(7));
        component->SetLeft(Value(7));
        component->SetTop(given);
        component->SetLeft(given);
        EXPECT_EQ(component->Top(), expected) << given.to_text();
        EXPECT_EQ(component->Left(), expected) << given.to_text();
    }

    component->SetProgramMode(2);
    component->SetProgramMode(70000);  // no 16-bit value: refused
    EXPECT_EQ(component->ProgramMode(), 2);
    component->SetWindowState(-32768);
    component->SetWindowState(40000);
    EXPECT_EQ(component->WindowState(), -32768);

    component->TransferData({Value("X"), Value(3)});
    EXPECT_EQ(received, (std::vector<std::vector<Value>>{{Value("X"), Value(3)}}));
}

TEST_F(HostSession, CallingProgramGetsTheChosenCodeBack) {
    component->SetCaption(Value("Condizioni di pagamento"));
    component->SetIsCalled(true);
    component->SetCodicePagamento(Value("RB369   "));
    FRMCO_CONDPAG& window = show();
    EXPECT_EQ(window.caption(), "Condizioni di pagamento");
    // The stored term is found from the code handed in, and shown.
    EXPECT_EQ(window.FME_CONDPAGDES.Status(), FrameStatus::View);
    EXPECT_EQ(RTrimN(window.TXT_CODICE.text()), "RB369");
    EXPECT_EQ(window.FME_DETTAGLIO.Recordset()->RecordCount(), 3);

    EXPECT_TRUE(window.INTERNAV.user_click("Esporta"));
    EXPECT_EQ(received, (std::vector<std::vector<Value>>{{Value("RB369")}}));
    EXPECT_TRUE(window.unloaded());
    EXPECT_TRUE(component->CloseForm());

    // Each showing is a new window, starting afresh.
    component->SetIsCalled(false);
    component->SetProgramMode(1);
    FRMCO_CONDPAG& again = show();
    EXPECT_FALSE(again.unloaded());
    EXPECT_EQ(again.FME_CONDPAGDES.Status(), FrameStatus::Search);
    EXPECT_EQ(again.FME_DETTAGLIO.Recordset()->RecordCount(), 0);
    ASSERT_EQ(global.ActiveInterface(), component);

    // A component going with its window open unloads it: the host keeps no reference to either.
    // (The first unload cleared the navigator's form-event service; the host hands it again.)
    navigator.SetFormEvents(&form_events);
    form_events.unloaded.clear();
    handle.reset();
    EXPECT_EQ(global.ActiveInterface(), nullptr);
    EXPECT_EQ(global.Application(), nullptr);
    EXPECT_EQ(form_events.unloaded, std::vector<std::string>{"CO_CONDPAG"});
}

// Records how the component asks for its windows to be put on screen (window, state, modal)
// and taken off.
struct RecordingPresenter : WindowPresenter {
    void Show(FRMCO_CONDPAG& window, int state, bool modal) override {
        shown.emplace_back(&window, state, modal);
    }
    void Released(FRMCO_CONDPAG& window) override { released.push_back(&window); }
    std::vector<std::tuple<FRMCO_CONDPAG*, int, bool>> shown;
    std::vector<FRMCO_CONDPAG*> released;
};

TEST_F(HostSession, CloseFormAnswersWhetherTheWindowClosed) {
    RecordingPresenter presenter;
    component->SetPresenter(&presenter);
    component->SetWindowState(2);
    component->SetWindowModal(true);
    FRMCO_CONDPAG& window = show();
    EXPECT_EQ(presenter.shown, (decltype(presenter.shown){{&window, 2, true}}));
    window.Form_Activate();

    form_events.veto_close = true;
    EXPECT_FALSE(component->CloseForm());
    EXPECT_FALSE(window.unloaded());
    EXPECT_EQ(window.Interface(), component);

    form_events.veto_close = false;
    EXPECT_TRUE(component->CloseForm());
    EXPECT_TRUE(window.unloaded());
    EXPECT_TRUE(presenter.released.empty());
    show();
    EXPECT_EQ(presenter.released, std::vector<FRMCO_CONDPAG*>{&window});
    EXPECT_EQ(presenter.shown.size(), 2u);
    component->SetPresenter(nullptr);  // the presenter goes before the component
}

TEST_F(HostSession, ChangeOfCompanyIsAlwaysRefused) {
    for (bool active : {true, false}) {
        component->SetIsActive(active);
        bool cancel = false;
        navigator.BeforeChangeDitta.emit(cancel);
        EXPECT_TRUE(cancel);
    }
    // Without a window the host's message object speaks.
    ASSERT_EQ(host_messages.shown.size(), 2u);
    EXPECT_EQ(host_messages.shown[0].text,
              "I dati in gestione non variano in funzione della ditta!!");
    EXPECT_EQ(host_messages.shown[0].title, "Avviso Utente");
    EXPECT_EQ(host_messages.shown[0].style, kStyleInformation);

    show();
    bool cancel = false;
    navigator.BeforeChangeDitta.emit(cancel);
    EXPECT_TRUE(cancel);
    ASSERT_EQ(host_messages.shown.size(), 3u);  // the window speaks through the host's object
}

TEST_F(HostSession, MultimediaButtonLinksMediaToTheTermShown) {
    component->SetProgramMode(0);
    FRMCO_CONDPAG& window = show();
    ASSERT_EQ(component->ActiveFrame(), &window.FME_CONDPAGDES);
    bool cancel = false;

    // Inactive: nothing at all.
    component->SetIsActive(false);
    navigator.ButtonPressed.emit(cancel, 25);
    EXPECT_EQ(component->HyperMedia(), nullptr);
    component->SetIsActive(true);

    // While inserting: the message only.
    window.FME_CONDPAGDES.SetStatus(FrameStatus::Insert);
    navigator.ButtonPressed.emit(cancel, 25);
    EXPECT_EQ(component->HyperMedia(), nullptr);
    EXPECT_EQ(host_messages.texts().back(),
              "Il collegamento ai dati multimediali è possibile solamente in fase di variazione");
    window.FME_CONDPAGDES.Undo();
    window.FME_CONDPAGDES.MoveFirst();
    ASSERT_EQ(window.FME_CONDPAGDES.Status(), FrameStatus::View);
    std::string code = RTrimN(window.TXT_CODICE.text());

    // While viewing: change status, then the media manager on this term.
    global.SetActiveInterface(component);
    component->SethwndParent(4242);
    navigator.ButtonPressed.emit(cancel, 25);
    EXPECT_NE(window.FME_CONDPAGDES.Status(), FrameStatus::View);
    auto* media = dynamic_cast<HeadlessHyperMedia*>(component->HyperMedia());
    ASSERT_NE(media, nullptr);
    ASSERT_EQ(media->openings.size(), 1u);
    const MediaOpening& opening = media->openings[0];
    EXPECT_EQ(std::tie(opening.connection_string, opening.media_code, opening.parent_window,
                       opening.flag1, opening.flag2),
              std::make_tuple(database.connection_string(), "", 4242L, 1, 0));

    // The item created is written at once into the term's row.
    media->create("4711");
    auto stored = database.connect()->Execute(
        "SELECT CG62_IDMEDIA_CG99 FROM CG62_CONDPAGDES WHERE CG62_CODPAG = '" + code + "'");
    ASSERT_TRUE(stored.ok() && stored->rows.size() == 1u);
    EXPECT_EQ(CDecN(stored->rows[0][0]), 4711);
}

TEST_F(HostSession, LayoutScriptAndExportRegistrationsOnlyWhenActive) {
    FRMCO_CONDPAG& window = show();
    RecordingLayoutModel layout;
    RecordingScriptModel script;
    ExportObject export_object;
    bool cancel = false;

    for (bool active : {false, true}) {
        component->SetIsActive(active);
        navigator.InitializeLayoutObjectModel.emit(cancel, layout);
        navigator.InitializeScriptObjectModel.emit(cancel, script);
        navigator.BeforeExportToOffice.emit(cancel, export_object);
        EXPECT_EQ(export_object.TitoloMaster, active ? "Condizioni di pagamento" : "");
    }
    ASSERT_EQ(layout.entries.size(), 4u);
    EXPECT_EQ(layout.entries[1].grid, &window.GRID_CONDPAG);
    EXPECT_EQ(layout.entries[3].grid, &window.GRID_LINGUA);
    ASSERT_EQ(script.entries.size(), 2u);
    EXPECT_EQ(std::get<Form*>(script.entries[0].object), &window);
    EXPECT_EQ(std::get<DataFrame*>(script.entries[1].object), &window.FME_CONDPAGDES);
    EXPECT_EQ(script.entries[1].name, "QDX_CondizioniPagamento");
    EXPECT_EQ(window.FME_CONDPAGDES.Name, "QDX_CondizioniPagamento");

    // A new navigator takes over: the old one no longer reaches the component.
    EventingNavigator next;
    component->SetActiveNavigator(&next);
    ExportObject old_export;
    navigator.BeforeExportToOffice.emit(cancel, old_export);
    EXPECT_EQ(old_export.TitoloMaster, "");
    next.BeforeExportToOffice.emit(cancel, old_export);
    EXPECT_EQ(old_export.TitoloMaster, "Condizioni di pagamento");
    component->SetActiveNavigator(&navigator);  // `next` goes before the component
}

}  // namespace
}  // namespace condpag
