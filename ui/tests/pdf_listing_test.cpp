// The print component's PDF, read back as text with pdftotext, page by page.

#include "ui/pdf_listing.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>

#include "framework/message_service.h"
#include "storage/testing/demo_database.h"
#include "ui/tests/qt_support.h"

namespace condpag::ui {
namespace {

QString pdf_text(const std::string& pdf) {
    QProcess run;
    run.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
    if (!run.waitForFinished(30000) || run.exitCode() != 0) return {};
    return QString::fromUtf8(run.readAllStandardOutput());
}

TEST(PdfListing, PrintComponentWritesEveryTermDecodedAndSaysWhere) {
    testing::application();
    condpag::testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    condpag::testing::TempFolder folder;

    ComponentRegistry registry;
    register_pdf_print_component(registry, folder.path());
    RegistryGlobal global(std::move(registry), db.connection_string(), 0);
    HeadlessMessageService messages;
    global.SetMessageObject(&messages);
    HeadlessInterface host;
    host.SetClsGlobal(&global);
    global.SetActiveInterface(&host);

    Status printed = global.RunProgram(kPrintProgId, {});
    ASSERT_TRUE(printed.ok()) << printed.error().message;
    const std::string pdf = (std::filesystem::path(folder.path()) / kListingPdfName).string();
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find(pdf), std::string::npos) << messages.texts()[0];

    const QString text = pdf_text(pdf);
    ASSERT_FALSE(text.isEmpty()) << "pdftotext read nothing";
    // Header, decoded installment labels, day/month limits of a shift period and its decoded
    // type, a language description, all under their terms.
    for (const char* expected :
         {"Condizioni di pagamento", "RB369", "Ri.Ba. 30-60-90 gg d.f.f.m.", "Rate", "Rb",
          "Fine Mese", "1/3", "Periodi di slittamento", "01/08", "31/08", "Descrizioni in lingua",
          "Bank transfer 30-60 days invoice date", "Überweisung", "Contrassegno alla consegna"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    }

    // No page ends with a heading or the captions of a table whose rows start on the next.
    const QStringList pages = text.split(QChar('\f'));
    ASSERT_GT(pages.size(), 2) << "the demo terms fill several pages";
    for (const QString& page : pages) {
        QStringList lines = page.trimmed().split('\n');
        while (lines.size() > 1 &&
               (lines.back().trimmed().isEmpty() || lines.back().trimmed().toInt() > 0))
            lines.removeLast();
        const QString last = lines.back().trimmed();
        for (const char* end : {"Rate", "Periodi di slittamento", "Descrizioni in lingua", "Rata ",
                                "Limite inf.", "Codice lingua"}) {
            EXPECT_FALSE(last.startsWith(end)) << last.toStdString();
        }
    }

    // A folder that cannot be written: the run fails and no message claims a file.
    ComponentRegistry broken;
    register_pdf_print_component(broken, "/nonexistent/folder");
    RegistryGlobal failing(std::move(broken), db.connection_string(), 0);
    failing.SetMessageObject(&messages);
    failing.SetActiveInterface(&host);
    host.SetClsGlobal(&failing);
    EXPECT_FALSE(failing.RunProgram(kPrintProgId, {}).ok());
    EXPECT_EQ(messages.texts().size(), 1u);
}

}  // namespace
}  // namespace condpag::ui
