#pragma once

#include "support/testenv.h"

#include <QString>

class Form1;

namespace bench {

// The program started on a copy of the data set in a fresh TestEnv (its start-up may bring the file up to date;
// the data set stays as made), its settings pointing there, logged in as the first member of staff.
class Program {
public:
    Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

private:
    // The application comes before the TestEnv, which names its folders after it.
    struct App {
        App() { ensureApp(); }
    } m_app;

public:
    TestEnv env;
    QString dbPath;
    Form1* main = nullptr;
};

// For page writers that only read: the data set itself as the program's database, the settings in `env`; its path.
QString useDataset(const TestEnv& env);
// Where pages go: the first argument when one is given (to keep them for a look in a browser), else `name` in `env`.
QString pageFolder(int argc, char** argv, const TestEnv& env, const QString& name);

} // namespace bench
