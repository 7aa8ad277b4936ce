#include "app/programme.h"

int main(int argc, char** argv) { return executer_programme(argc, argv); }
