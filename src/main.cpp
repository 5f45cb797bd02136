#include "mainwindow/entry.h"

int main(int argc, char** argv) { return quorvaneMain(argc, argv); }
