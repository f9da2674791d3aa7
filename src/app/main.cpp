#include "app/program.h"

// The command line is ignored: the viewer takes no arguments.
int main() { return vellumor::RunProgram(); }
