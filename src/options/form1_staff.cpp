#include "mainwindow/form1.h"

void Form1::connectStaff() {}
void Form1::changeOwnPassword() {}
