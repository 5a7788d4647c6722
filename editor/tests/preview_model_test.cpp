// The due-date preview as every view reads it: stored terms, the term being edited, and the
// example invoice as typed.

#include "editor/preview_model.h"

#include <gtest/gtest.h>

#include "editor/tests/session.h"

namespace condpag {
namespace {

using namespace std::chrono;

TEST(PreviewModel, AmountsAreReadAsTypedInItalian) {
    struct Case {
        std::string typed;
        std::optional<Cents> cents;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"1.234,56", 123456, "1.234,56"},
        {"1000", 100000, "1.000,00"},
        {" 220,5 ", 22050, "220,50"},
        {"-0,50", -50, "-0,50"},
        {"1.000.000", 100000000, "1.000.000,00"},
        {"abc", std::nullopt, "abc"},
        {"", std::nullopt, ""},
        {"12,3,4", std::nullopt, "12,3,4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(typed_amount(c.typed), c.cents) << c.typed;
        EXPECT_EQ(amount_as_shown(c.typed), c.shown) << c.typed;
    }

    // What is no amount counts as 0; an asked amount left empty is not given at all.
    PreviewModel model;
    model.set_taxable("mille");
    model.set_vat("22,00");
    model.set_asked_amount(1, "100");
    model.set_asked_amount(2, "  ");
    model.set_asked_amount(3, "x");
    ExampleInvoice invoice = model.invoice();
    EXPECT_EQ(invoice.taxable, 0);
    EXPECT_EQ(invoice.vat, 2200);
    EXPECT_EQ(invoice.asked_fixed_amounts, (std::map<int, Cents>{{1, 10000}, {3, 0}}));
    model.set_taxable("1,00");
    model.set_vat("iva");
    EXPECT_EQ(model.invoice().taxable, 100);
    EXPECT_EQ(model.invoice().vat, 0);

    // Each other date is its own (set last to first, so that none sets the next one too) until
    // it is the invoice date again.
    const OtherDate others[] = {OtherDate::DeliveryNote, OtherDate::Delivery, OtherDate::Order,
                                OtherDate::OnRequest};
    for (int day = 4; day >= 1; --day) model.set_other_date(others[day - 1], 2027y / 3 / day);
    invoice = model.invoice();
    using Date = std::optional<year_month_day>;
    EXPECT_EQ((std::vector{invoice.delivery_note_date, invoice.delivery_date, invoice.order_date,
                           invoice.on_request_date}),
              (std::vector<Date>{2027y / 3 / 1, 2027y / 3 / 2, 2027y / 3 / 3, 2027y / 3 / 4}));
    model.set_other_date(OtherDate::Order, std::nullopt);
    EXPECT_EQ(model.invoice().order_date, Date());
}

TEST(PreviewModel, AStoredTermGivesItsRowsWithNumberTypeSubtypeAndNote) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    auto connection = db.connect();
    ASSERT_TRUE(connection.ok());
    // The bank transfer's subtype 1 moves its due dates by 3 days.
    ASSERT_TRUE(connection
                    ->ExecuteChange("UPDATE CG64_SOTTOTIPO SET CG64_GGOFFSET = 3 "
                                    "WHERE CG64_TIPOEFF = 14 AND CG64_CODSTIPOEFF = 1")
                    .ok());
    struct Case {
        std::string code;
        Rows rows;  // number, type, subtype, due date, total
    };
    const std::vector<Case> cases = {
        {"RD30", {{"1", "13", "", "15/02/2027", "1.220,00"}}},
        {"BB3060",
         {{"1", "14", "1", "18/02/2027", "610,00"}, {"2", "14", "1", "18/03/2027", "610,00"}}},
        {"RB369",
         {{"1", "2", "1", "28/02/2027", "406,66"},
          {"2", "2", "1", "31/03/2027", "406,66"},
          {"3", "2", "1", "30/04/2027", "406,68"}}},
        {"ACC30",
         {{"1", "13", "1", "15/01/2027", "366,00"}, {"2", "14", "1", "18/02/2027", "854,00"}}},
    };
    PreviewModel model;
    model.set_invoice_date(2027y / 1 / 15);
    for (const Case& c : cases) {
        auto term = read_preview_term(*connection, c.code);
        ASSERT_TRUE(term.ok()) << term.error().message;
        ASSERT_TRUE(term->has_value()) << c.code;
        EXPECT_EQ((*term)->code, c.code);
        EXPECT_FALSE((*term)->description.empty());
        Rows got;
        for (const PreviewRow& row : preview_of(**term, model.invoice()).rows) {
            got.push_back({std::to_string(row.number), std::to_string(row.type),
                           row.subtype ? std::to_string(*row.subtype) : "", format_date(row.due),
                           format_amount(row.total)});
        }
        EXPECT_EQ(got, c.rows) << c.code;
    }

    for (const std::string code : {"NOPE", "RB'369", ""}) {
        auto term = read_preview_term(*connection, code);
        ASSERT_TRUE(term.ok()) << term.error().message;
        EXPECT_FALSE(term->has_value()) << code;
    }
    // A table that cannot be read is an error, not a term without shift periods.
    ASSERT_TRUE(connection->ExecuteChange("DROP TABLE CG65_PAGSLITANAL").ok());
    EXPECT_FALSE(read_preview_term(*connection, "RB369").ok());

    // A row says where a shift period moved it, or what it holds besides.
    PreviewRow row;
    EXPECT_EQ(row_note(row), "");  // not moved
    row.moved_from = 2027y / 8 / 15;
    EXPECT_EQ(row_note(row), "da 15/08/2027");
    row.note = "comprende la rata 2";
    EXPECT_EQ(row_note(row), "comprende la rata 2");
}

TEST(PreviewModel, TheTermBeingEditedAndTheAmountsAskedInTheDocument) {
    PreviewModel model;
    EXPECT_EQ(model.refresh(nullptr).notes,
              (std::vector<std::string>{"Nessuna condizione di pagamento aperta."}));
    // A window not loaded yet shows nothing, and says nothing either.
    FRMCO_CONDPAG idle;
    EXPECT_TRUE(model.refresh(&idle).rows.empty());
    EXPECT_TRUE(model.preview().notes.empty());

    Session s;
    FRMCO_CONDPAG& w = s.open();
    s.go_to("BB3060");
    EXPECT_EQ(editor_preview_term(w).code, "BB3060");
    model.set_invoice_date(2027y / 1 / 15);
    EXPECT_EQ(model.refresh(&w).rows.size(), 2u);
    EXPECT_TRUE(model.asked_installments().empty());

    // The first installment, not yet confirmed, has its fixed amount asked in the document.
    ASSERT_TRUE(w.CMB_TIPOIMPFIX.user_pick_value(2));
    model.refresh(&w);
    EXPECT_EQ(model.asked_installments(), (std::vector<int>{1}));
    model.set_asked_amount(1, "100");
    const DueDatePreview& asked = model.refresh(&w);
    ASSERT_EQ(asked.rows.size(), 2u);
    EXPECT_TRUE(asked.rows[0].amount_asked);
    EXPECT_EQ(model.asked_amount(1), "100");

    // No longer asked: the amount typed for it goes with it.
    ASSERT_TRUE(w.CMB_TIPOIMPFIX.user_pick_value(0));
    model.refresh(&w);
    EXPECT_TRUE(model.asked_installments().empty());
    EXPECT_EQ(model.asked_amount(1), "");

    // A closed window shows nothing any more.
    w.Form_Unload();
    EXPECT_TRUE(model.refresh(&w).rows.empty());
    EXPECT_EQ(model.term().code, "");  // nor is its payment block offered
}

}  // namespace
}  // namespace condpag
