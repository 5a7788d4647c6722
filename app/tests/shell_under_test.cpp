// The shell's window and screenshot code, built into the tests (its main() stays out).
#include "app/shell/host_window.cpp"
#include "app/shell/screenshot.cpp"
