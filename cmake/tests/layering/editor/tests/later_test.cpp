#include "editor/FRMCO_CONDPAG.h"
#include "component/x.h"
