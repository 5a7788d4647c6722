// The controls that follow resizing, handed once to the layout control with their codes:
// 15 grows both ways, 14 grows sideways and follows the bottom, 10 follows the bottom,
// 12 stays at the bottom and grows sideways, 7 and 3 for the analytic-description page.

#include "editor/FRMCO_CONDPAG.h"

namespace condpag {

void FRMCO_CONDPAG::LAY_CONDPAG_Registration() {
    LayoutControl& layout = LAY_CONDPAG;
    layout.Register(FRA_TESTATA, 15);
    layout.Register(TabCondPag, 15);
    layout.Register(GRID_CONDPAG, 15);
    layout.Register(FRA_RATA, 14);
    for (Control* control : std::initializer_list<Control*>{
             &LBL_NUMRATA,      &TXT_NUMRATA,      &LBL_TIPO,         &CMB_TIPO,
             &LBL_SOTTOTIPO,    &TXT_SOTTOTIPO,    &TXT_DECODSTIPO,   &LBL_CALENDARIO,
             &CMB_CALENDARIO,   &LBL_TIPODECORR,   &CMB_TIPODECORR,   &LBL_GGDECOR,
             &TXT_GGDECOR,      &LBL_DATARIF,      &CMB_DATARIF,      &LBL_GGMMFIX,
             &TXT_GGMMFIX,      &LBL_FLGFRPERCIMP, &CMB_FLGFRPERCIMP, &LBL_IMP,
             &TXT_IMP,          &TXT_NUMIMP,       &TXT_DENIMP,       &LBL_FLGFRPERCIVA,
             &CMB_FLGFRPERCIVA, &LBL_IVA,          &TXT_IVA,          &TXT_NUMIVA,
             &TXT_DENIVA,       &LBL_TIPOIMPFIX,   &CMB_TIPOIMPFIX,   &LBL_IMPFIX,
             &TXT_IMPFIX,       &LBL_INTERVALLO1,  &TXT_DAGGFIX1,     &TXT_AGGFIX1,
             &TXT_GGSCADFIX1,   &LBL_INTERVALLO2,  &TXT_DAGGFIX2,     &TXT_AGGFIX2,
             &TXT_GGSCADFIX2,   &LBL_TOTALI,       &TXT_TOTIMP,       &TXT_TOTIVA}) {
        layout.Register(*control, 10);
    }
    layout.Register(GRIDNAV_RATE, 12);
    layout.Register(FRA_DESCANAL, 7);
    layout.Register(LBL_DESCANAL, 3);
    layout.Register(TXT_DESCANAL, 3);
    layout.Register(GRID_PERSLIT, 15);
    layout.Register(FRA_PERSLIT, 14);
    for (Control* control : std::initializer_list<Control*>{
             &LBL_PERSLITDAGGMM, &TXT_PERSLITDAGGMM, &LBL_PERSLITAGGMM, &TXT_PERSLITAGGMM,
             &LBL_TIPOSLIT, &CMB_TIPOSLIT, &LBL_PERSLITGGMMSCAD, &TXT_PERSLITGGMMSCAD,
             &LBL_PERSLITSLIT, &TXT_PERSLITSLIT}) {
        layout.Register(*control, 10);
    }
    layout.Register(GRIDNAV_PERIODI, 12);
    layout.Register(GRID_LINGUA, 15);
    layout.Register(FRA_LINGUA, 14);
    for (Control* control : std::initializer_list<Control*>{
             &LBL_CODLINGUA, &TXT_CODLINGUA, &TXT_DCODLINGUA, &LBL_DESCRLINGUA, &TXT_DESCRLINGUA,
             &LBL_DESCRANALLINGUA, &TXT_DESCRANALLINGUA}) {
        layout.Register(*control, 10);
    }
    layout.Register(GRIDNAVL, 12);
    layout.Register(CMD_GENERA, 10);
    layout.Register(INTERNAV, 12);
}

void FRMCO_CONDPAG::LAY_CONDPAG_ResizeQuery(bool& allow) { allow = true; }

}  // namespace condpag
