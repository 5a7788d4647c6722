#include "ui/italian_texts.h"

#include <QCoreApplication>
#include <QTranslator>
#include <QVariant>
#include <cstring>

namespace condpag::ui {
namespace {

struct Word {
    const char* english;
    const char* italian;
};

// The source texts of Qt 6's standard buttons, line-edit menu and sub-window menu.
constexpr Word kWords[] = {
    {"&Yes", "&Sì"},
    {"Yes", "Sì"},
    {"&No", "&No"},
    {"Yes to &All", "Sì a &tutti"},
    {"N&o to All", "N&o a tutti"},
    {"OK", "OK"},
    {"Cancel", "Annulla"},
    {"&Cancel", "&Annulla"},
    {"Abort", "Interrompi"},
    {"Retry", "Riprova"},
    {"Ignore", "Ignora"},
    {"Close", "Chiudi"},
    {"Save", "Salva"},
    {"Save All", "Salva tutto"},
    {"Open", "Apri"},
    {"Discard", "Scarta"},
    {"Help", "Aiuto"},
    {"Apply", "Applica"},
    {"Reset", "Reimposta"},
    {"Restore Defaults", "Ripristina predefiniti"},
    {"Show Details...", "Mostra dettagli..."},
    {"Hide Details...", "Nascondi dettagli..."},
    {"&Undo", "&Annulla"},
    {"&Redo", "&Ripeti"},
    {"Cu&t", "&Taglia"},
    {"&Copy", "&Copia"},
    {"&Paste", "&Incolla"},
    {"Delete", "&Elimina"},
    {"Select All", "Seleziona &tutto"},
    {"Insert Unicode control character", "Inserisci carattere di controllo Unicode"},
    {"&Restore", "&Ripristina"},
    {"&Move", "&Sposta"},
    {"&Size", "&Ridimensiona"},
    {"Mi&nimize", "Ri&duci a icona"},
    {"Ma&ximize", "Ingr&andisci"},
    {"Stay on &Top", "Sempre in &primo piano"},
    {"&Close", "&Chiudi"},
    {"Minimize", "Riduci a icona"},
    {"Maximize", "Ingrandisci"},
    {"Restore Down", "Ripristina"},
    {"Restore", "Ripristina"},
    {"Menu", "Menu"},
};

class ItalianTranslator : public QTranslator {
  public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* disambiguation,
                      int n) const override {
        (void)context;
        (void)disambiguation;
        (void)n;
        const char* italian = italian_for(source);
        return italian != nullptr ? QString::fromUtf8(italian) : QString();
    }
};

}  // namespace

const char* italian_for(const char* english) {
    if (english == nullptr) return nullptr;
    for (const Word& word : kWords) {
        if (std::strcmp(word.english, english) == 0) return word.italian;
    }
    return nullptr;
}

void install_italian_texts() {
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr || app->property("condpag_italian").toBool()) return;
    app->setProperty("condpag_italian", true);
    QCoreApplication::installTranslator(new ItalianTranslator(app));
}

}  // namespace condpag::ui
