#pragma once
#include <string>
#include <sqlite3.h>
