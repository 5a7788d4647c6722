// The print component's PDF, read back as text with pdftotext, page by page.

#include "ui/pdf_listing.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <filesystem>
#include <vector>

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

// The text lines of each page (form feeds part the pages), blank lines and page numbers left out.
std::vector<QStringList> page_lines(const QString& text) {
    std::vector<QStringList> pages;
    for (const QString& page : text.split(QChar('\f'))) {
        QStringList lines;
        for (const QString& line : page.split('\n')) {
            QString trimmed = line.trimmed();
            bool number = false;
            trimmed.toInt(&number);
            if (!trimmed.isEmpty() && !number) lines << trimmed;
        }
        if (!lines.isEmpty()) pages.push_back(lines);
    }
    return pages;
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
    const std::vector<QStringList> pages = page_lines(text);
    ASSERT_GT(pages.size(), 1u) << "the demo terms fill several pages";
    for (size_t page = 0; page + 1 < pages.size(); ++page) {
        const QString last = pages[page].back();
        for (const char* heading : {"Rate", "Periodi di slittamento", "Descrizioni in lingua"}) {
            EXPECT_NE(last, heading) << "page " << page + 1;
        }
        for (const char* captions : {"Rata ", "Limite inf.", "Codice lingua"}) {
            EXPECT_FALSE(last.startsWith(captions))
                << "page " << page + 1 << " ends with " << last.toStdString();
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
