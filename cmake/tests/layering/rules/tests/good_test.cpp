#include <gtest/gtest.h>
#include "rules/good.h"
