// #include "app/cli/commands.h" is only a comment
#include "rules/value.h"
#include <QString>
