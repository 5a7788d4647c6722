#include <QWidget>
#include "editor/FRMCO_CONDPAG.h"
#include "ui/fine.h"
