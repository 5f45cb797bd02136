#include "mainwindow/form1.h"

void Form1::connectCustomerList() {}
void Form1::Datagrid1_Click() {}
void Form1::Datagrid1_MouseUp(Qt::MouseButton, const QPoint&) {}
void Form1::mnuaddcust_Click() {}
void Form1::mnueditcust_Click() {}
void Form1::mnucustdel_Click() {}
void Form1::mnucustexp_Click() {}
void Form1::mnuemailcust_Click() {}
void Form1::mnusearchname_Click() {}
