// Entry point of the checker binary; the run itself lives in checker.cpp.
#include "checker.h"

int main(int argc, char **argv) { return run(argc, argv); }
