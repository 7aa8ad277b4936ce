#include "app/mainwindow.h"

int main(int argc, char** argv) { return executer_programme(argc, argv); }
