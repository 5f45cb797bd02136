#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QAction;
class QPushButton;

#include "options/statusrules.h"

// The status and category editor: the status list with a colour for each status, and the category list.
// Everything is edited in the lists; "Okay" stores what was changed in them onto the lists as the Settings table
// holds them then, at once (all or nothing), and the main window picks them up at its next start.
class Statuses : public QWidget {
    Q_OBJECT
public:
    explicit Statuses(QWidget* parent = nullptr);

    QListWidget* List1 = nullptr;     // statuses
    QListWidget* List3 = nullptr;     // the colour of each status, row for row
    QListWidget* List2 = nullptr;     // categories
    QLineEdit* Text1 = nullptr;       // new status
    QLineEdit* Text2 = nullptr;       // new category
    QPushButton* Command3 = nullptr;  // "Add to List" (status)
    QPushButton* Command10 = nullptr; // "Add to List" (category)
    QPushButton* Command1 = nullptr;  // "Delete Selected" (status)
    QPushButton* Command8 = nullptr;  // "Delete Selected" (category)
    QPushButton* Command4 = nullptr;  // "Move Up" (status)
    QPushButton* Command5 = nullptr;  // "Move Down" (status)
    QPushButton* Command7 = nullptr;  // "Move Up" (category)
    QPushButton* Command6 = nullptr;  // "Move Down" (category)
    QPushButton* Command9 = nullptr;  // "Okay"
    QMenu* popup1 = nullptr;
    QAction* mnusc = nullptr; // "Select Colour"
    QAction* mnucc = nullptr; // "Clear Colour"
    QLabel* Image1 = nullptr;

    void Command3_Click();
    void Command10_Click();
    void Command1_Click();
    void Command8_Click();
    void moveStatus(bool up);
    void moveCategory(bool up);
    void mnusc_Click();
    void mnucc_Click();
    void Command9_Click();

    statusrules::Lists lists() const;
    // False when the lists could not be read: the window then has nothing to show or store, and its opener
    // unloads it.
    bool isRead() const { return m_read; }

private:
    void Form_Load();
    // Fills the lists as the file holds them and keeps them as read; false (the lists as they were, the reason
    // kept) when they could not be read.
    bool readLists();
    void setColour(int row, const QString& colour);
    // Keeps a box to the column size: a longer text is refused with a message and the box keeps what it had.
    void limitLength(QLineEdit* box, const char* what);

    bool m_read = false;
    statusrules::Lists m_asRead; // what Okay's changes are reckoned from
    QString m_readError;
};
