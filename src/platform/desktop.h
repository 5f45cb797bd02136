#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// What the program asks of the desktop, behind small interfaces so that tests can stand in for each.
namespace desktop {

// The shell's "open" verb and program starts.
class Shell {
public:
    virtual ~Shell() = default;
    // Hands a file, folder or link (mailto: included) to the desktop's default handler. showMode as the
    // shell takes it (1 normal, 3 maximized); true when the desktop took it.
    virtual bool open(const QString& target, int showMode) = 0;
    // Starts a program with arguments; true when it started.
    virtual bool startProgram(const QString& program, const QStringList& args) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    QDate today() const { return now().date(); }
};

// The system clock; the program's default.
class SystemClock : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Registered implementations. Until the program or a test registers a shell, open() fails quietly.
Shell& shell();
void setShell(Shell* shell); // not owned; nullptr restores the default
Clock& clock();
void setClock(Clock* clock); // not owned; nullptr restores the system clock

// The folder of the program's shipped files (style sheet, pictures); the executable's folder unless set.
QString programFolder();
void setProgramFolder(const QString& folder);

// Special folders by the shell's numbers: 5 the user's documents, 28 the local application data,
// 46 the folder shared by all users (here the system-wide application-data folder). No trailing slash.
QString specialFolder(int id);
void setSpecialFolder(int id, const QString& path); // for tests; "" restores the real one

} // namespace desktop
