#include "mainwindow/form1.h"

void Form1::connectCompanions() {}

