#pragma once
#include <vector>
#include "rules/value.h"
