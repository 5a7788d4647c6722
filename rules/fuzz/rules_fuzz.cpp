// libFuzzer entry: arbitrary bytes as typed day/month texts, share boxes and installment
// columns. Any crash, hang or sanitizer report is a fault; answers themselves are not judged.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "rules/day_month.h"
#include "rules/description.h"
#include "rules/generation.h"
#include "rules/share_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace condpag;
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string first = input.substr(0, input.size() / 2);
    const std::string second = input.substr(input.size() / 2);

    for (int mode = -1; mode <= 4; ++mode) {
        DataValida(first, mode, [](const Notice&) {});
        DataNonPrecedente(first, second, mode);
        FormattaGGMM(Value(first), mode);
    }
    MMGGdaGGMM(Value(TogliBarre(first)));
    GGMMdaMMGG(Value(second));
    FrazioneInPercentuale(input);

    GenerationRequest window;
    const char* boxes[] = {"TXT_NUMERORATE", "CMB_TIPODECORR", "TXT_GGDECOR",     "TXT_GGMMFIX",
                           "TXT_IMP",        "TXT_NUMIMP",     "TXT_DENIMP",      "TXT_DAGGFIX1",
                           "TXT_AGGFIX1",    "TXT_GGSCADFIX1", "CMB_FLGFRPERCIMP"};
    for (std::size_t i = 0; i < std::size(boxes); ++i) {
        window.texts[boxes[i]] = i % 2 ? first : second;
    }
    ControllaGenerazione(window);
    RigheGeneraRate(window, first, 0);

    Record row{{"CG63_TIPOEFF", first},      {"CG63_INDTIPODECOR", second},
               {"CG63_GGDECOR", first},      {"CG63_INDDATARIF", second},
               {"CG63_FLGFRPERCIMP", first}, {"CG63_PERCIMP", second},
               {"CG63_EL1FRIMP", first},     {"CG63_EL2FRIMP", second},
               {"CG63_INDIMPFIX", first},    {"CG63_GGMMFIX", second}};
    DescrizioneAutomatica(std::vector<Record>{row, row}, {});
    return 0;
}
