#pragma once

#include <QString>

class Form1;
struct TestEnv;

namespace bench {

struct Program {
    Form1* main = nullptr;
    QString dbPath;
};

// The program started on a copy of the data set in `env` (its start-up may bring the file up to date; the data
// set stays as made), its settings pointing there, logged in as the first member of staff.
Program startProgram(TestEnv& env);

} // namespace bench
