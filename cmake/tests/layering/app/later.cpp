#include <QApplication>
#include <CLI/CLI.hpp>
#include "ui/fine.h"
#include "bench/x.h"
