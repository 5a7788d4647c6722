// The component loaded from its shared library module, and the default print component run
// through the host's global services.

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <tuple>

#include "component/CLSCO_CONDPAG.h"
#include "component/print_listing.h"
#include "component/registry.h"
#include "editor/FRMCO_CONDPAG.h"
#include "framework/message_service.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

TEST(ComponentModule, CreatesTheComponentByIdentifierFromTheSharedLibrary) {
    // A module that cannot serve is refused, saying why.
    for (const auto& [path, told] :
         {std::pair{"/nonexistent/condpag_component_module.so", "/nonexistent/condpag_component"},
          std::pair{CONDPAG_CREATE_ONLY_MODULE, "non esporta condpag_create e condpag_destroy"}}) {
        auto refused = ComponentModule::Load(path);
        ASSERT_FALSE(refused.ok()) << path;
        EXPECT_NE(refused.error().message.find(told), std::string::npos) << refused.error().message;
    }

    auto module = ComponentModule::Load(CONDPAG_COMPONENT_MODULE);
    ASSERT_TRUE(module.ok()) << module.error().message;
    EXPECT_FALSE((*module)->Create("VELMORA.ALTRO").ok());

    ComponentRegistry registry;
    (*module)->RegisterIn(registry, {kComponentProgId});
    std::weak_ptr<ComponentModule> watch = *module;
    module->reset();
    // The registry keeps the module loaded.
    ASSERT_FALSE(watch.expired());

    auto made = registry.CreateComponent(kComponentProgId);
    ASSERT_TRUE(made.ok()) << made.error().message;
    EXPECT_FALSE(registry.CreateComponent("VELMORA.ALTRO").ok());
    HostComponent& host = **made;

    // Driven through the host interface only, on a demo database.
    testing::DemoDatabase database;
    ASSERT_TRUE(database.ok()) << database.error();
    HeadlessGlobal global(database.connection_string(), 0);
    HeadlessFormEvents form_events;
    EventingNavigator navigator;
    navigator.SetFormEvents(&form_events);
    host.SetClsGlobal(&global);
    host.SetActiveNavigator(&navigator);
    host.SetIsActive(true);

    // The module's class is the one the host knows by name; what the window does once shown is
    // the same code as the linked component's.
    auto* component = dynamic_cast<CLSCO_CONDPAG*>(&host);
    ASSERT_NE(component, nullptr);
    component->SetCodicePagamento(Value("BB3060"));
    host.SetIsCalled(true);
    host.ShowForm();
    ASSERT_NE(component->window(), nullptr);
    EXPECT_EQ(RTrimN(component->window()->TXT_CODICE.text()), "BB3060");
    EXPECT_EQ(form_events.calls.size(), 1u);  // the window told the host it opened
    EXPECT_TRUE(host.CloseForm());
}

TEST(PrintListing, DecodesInstallmentsPeriodsAndLanguagesOfEveryTerm) {
    testing::DemoDatabase database;
    ASSERT_TRUE(database.ok()) << database.error();
    auto connection = database.connect();
    ASSERT_TRUE(connection.ok());
    // A share without its form: neither a fraction nor a percentage, as the grid shows it.
    ASSERT_TRUE(connection
                    ->ExecuteChange("UPDATE CG63_CONDPAGDET SET CG63_FLGFRPERCIMP = NULL "
                                    "WHERE CG63_CODPAG_CG62 = 'RD30'")
                    .ok());
    auto listing = build_listing(*connection);
    ASSERT_TRUE(listing.ok()) << listing.error().message;

    auto term = [&](const std::string& code) -> const ListingTerm& {
        for (const ListingTerm& each : listing->terms) {
            if (each.code == code) return each;
        }
        ADD_FAILURE() << code << " not listed";
        return listing->terms.front();
    };
    const ListingTerm *rb369 = &term("RB369"), *bb3060 = &term("BB3060"), *rd30 = &term("RD30");
    ASSERT_EQ(rd30->installments.rows.size(), 1u);
    EXPECT_EQ(rd30->installments.rows[0][6], "");
    EXPECT_EQ(rd30->installments.rows[0][7], "100%");

    ASSERT_EQ(rb369->installments.rows.size(), 3u);
    const auto& first = rb369->installments.rows[0];
    EXPECT_EQ(std::tie(first[1], first[4], first[5], first[6]),
              std::make_tuple("Rb", "30", "Fine Mese", "1/3"));
    EXPECT_EQ(bb3060->installments.rows[1][6], "50%");

    ASSERT_EQ(rb369->periods.rows.size(), 2u);
    EXPECT_EQ(
        rb369->periods.rows[0],
        (std::vector<std::string>{"01/08", "31/08", "1° giorno dopo mese successivo", "", "0"}));
    EXPECT_EQ(rb369->periods.rows[1][3], "10/01");
    ASSERT_EQ(bb3060->languages.rows.size(), 2u);
    EXPECT_EQ(bb3060->languages.rows[0][0], "DEU");
    EXPECT_TRUE(rb369->languages.rows.empty());

    // The text keeps each table's columns aligned under their captions (RB3060 is the first
    // term with shift periods).
    std::istringstream text(listing_text(*listing));
    std::string line, caption_line;
    while (std::getline(text, line)) {
        if (line.find("Limite inf.") != std::string::npos && caption_line.empty()) {
            caption_line = line;
            std::getline(text, line);
            EXPECT_EQ(line.find("01/08"), caption_line.find("Limite inf."));
            EXPECT_EQ(line.find("25/08"), caption_line.find("Limite sup."));
            EXPECT_EQ(line.find("Stesso giorno"), caption_line.find("Tipo slitt."));
        }
    }
    EXPECT_FALSE(caption_line.empty());
}

// The print button runs the registered print component, which asks for every term or the one
// shown and offers to open what it wrote. Each answer decides what is listed, whether the file
// is opened and whether anything is written at all.
TEST(PrintListing, PrintListsTheTermShownOrEveryTermAndOffersToOpenIt) {
    // The answers (every term?, then open it?), whether a file is written, with every term, and
    // whether it is opened.
    const std::tuple<std::deque<Answer>, bool, bool, bool> cases[] = {
        {{Answer::Yes, Answer::Yes}, true, true, true},
        {{Answer::No, Answer::No}, true, false, false},
        {{Answer::Cancel}, false, false, false},
    };
    for (const auto& [answers, is_written, every_term, is_opened] : cases) {
        testing::DemoDatabase database;
        ASSERT_TRUE(database.ok()) << database.error();
        testing::TempFolder folder;
        std::vector<std::string> opened;
        ComponentRegistry registry = linked_components();
        register_print_component(registry, text_file_writer(folder.path()),
                                 [&](const std::string& where) {
                                     opened.push_back(where);
                                     return true;
                                 });
        RegistryGlobal global(registry, database.connection_string(), 0);
        HeadlessMessageService messages;
        global.SetMessageObject(&messages);
        HeadlessFormEvents form_events;
        EventingNavigator navigator;
        navigator.SetFormEvents(&form_events);
        auto made = global.registry().CreateComponent(kComponentProgId);
        ASSERT_TRUE(made.ok());
        auto* component = dynamic_cast<CLSCO_CONDPAG*>(made->get());
        component->SetClsGlobal(&global);
        component->SetActiveNavigator(&navigator);
        component->SetIsActive(true);
        component->ShowForm();
        const std::string shown = component->window()->TXT_CODICE.text();
        ASSERT_FALSE(shown.empty());

        messages.answers = answers;
        ASSERT_TRUE(component->window()->INTERNAV.user_click("CMD_STAMPA"));
        ASSERT_EQ(global.runs.size(), 1u);
        EXPECT_EQ(global.runs[0].prog_id, "TREVANIX.CLSTREVANIX");
        // The window is the host's active interface again once the print has run.
        EXPECT_EQ(global.ActiveInterface(), component);
        EXPECT_TRUE(component->IsActive());
        // An identifier nobody registered fails instead of pretending to print.
        EXPECT_FALSE(global.RunProgram("TREVANIX.ALTRO", {}).ok());
        std::filesystem::path written =
            std::filesystem::path(folder.path()) / "condizioni_pagamento.txt";
        ASSERT_EQ(std::filesystem::exists(written), is_written);
        EXPECT_EQ(opened.size(), is_opened ? 1u : 0u);
        if (!is_written) continue;
        std::ifstream file(written);
        std::stringstream content;
        content << file.rdbuf();
        EXPECT_NE(content.str().find("\n" + shown + "  "), std::string::npos);
        EXPECT_EQ(content.str().find("\nRB369  Ri.Ba. 30-60-90 gg d.f.f.m.") != std::string::npos,
                  every_term || shown == "RB369");
        EXPECT_NE(messages.shown.back().text.find(written.string()), std::string::npos);
    }
}

}  // namespace
}  // namespace condpag
