#pragma once
// The types the component publishes to the programs of the host besides its host interface.

#include "rules/value.h"

namespace condpag {

// What a calling program hands over when it opens the window.
struct ActualParametersType {
    Value Codice;
};

// The payment types, by the codes stored in CG63_TIPOEFF.
enum qxEnumCPTipoEff {
    qxEnumCPTipoEff_Contanti = 1,
    qxEnumCPTipoEff_RicevutaBancaria = 2,
    qxEnumCPTipoEff_Tratta = 3,
    qxEnumCPTipoEff_TrattaAccettata = 4,
    qxEnumCPTipoEff_Cessione = 5,
    qxEnumCPTipoEff_Cambiale = 6,
    qxEnumCPTipoEff_CartaDiCredito = 7,
    qxEnumCPTipoEff_Bancomat = 8,
    qxEnumCPTipoEff_Contrassegno = 9,
    qxEnumCPTipoEff_LetteraDiCredito = 10,
    qxEnumCPTipoEff_RID = 11,
    qxEnumCPTipoEff_Leasing = 12,
    qxEnumCPTipoEff_RimessaDiretta = 13,
    qxEnumCPTipoEff_BonificoBancario = 14,
    qxEnumCPTipoEff_CCPostale = 15,
    qxEnumCPTipoEff_MAV = 16,
    qxEnumCPTipoEff_SoloDescrittivo = 99,
};

}  // namespace condpag
