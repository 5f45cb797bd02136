#include "mainwindow/form1.h"

void Form1::connectMonitor() {}

void Form1::writemonitor() {}
