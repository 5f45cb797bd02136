#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace db {
class DataControl;
class DbError;
} // namespace db
namespace ui {
class DataGrid;
}

// The support-staff window: adds and deletes members of staff, sets their access level and sets or clears
// their password. Every button acts on the grid's current row.
class analysts : public QWidget {
    Q_OBJECT
public:
    explicit analysts(QWidget* parent = nullptr);
    ~analysts() override;

    db::DataControl* Adodc3 = nullptr;
    ui::DataGrid* DataGrid3 = nullptr;
    QLineEdit* Text9 = nullptr;  // ID (read only)
    QLineEdit* Text30 = nullptr; // Spare2, the level code (hidden)
    QLineEdit* Text31 = nullptr; // Spare1, the password (hidden)
    QComboBox* Combo12 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLabel* Label48 = nullptr; // first entry of a password change (hidden)
    QLabel* Label46 = nullptr;
    QPushButton* Command3 = nullptr;  // "Add New Staff"
    QPushButton* Command4 = nullptr;  // "Delete Selected"
    QPushButton* Command15 = nullptr; // "Change Password"
    QPushButton* Command24 = nullptr; // "Do not use Password"
    QPushButton* Command2 = nullptr;  // "Okay"

    // Asks for a new password twice (the first entry kept in Label48) and stores it in lower case for the member
    // whose ID is exactly id, then confirms it and writes the reminder file. Used for the selected member and for
    // the logged-in analyst's own password.
    void setPasswordFor(const QString& id);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Form_Load();
    // Reads the staff list anew; false (the reason kept) when it could not be read.
    bool readList();
    // A command that needs the list read whole: false when it could not be read, the user told that nothing has
    // changed.
    bool listed();
    // After the open window was shown without the list: asks to try again until it is read, else closes.
    void offerToReadAgain();
    void gridColumns();
    void syncLevel();
    // A command the database refused: the user is told, no change stays pending, the list shows what is stored.
    void refused(const QString& what, const db::DbError& e);
    void showStored();
    int fieldSize(const QString& field) const; // the size of the staff table's column, 0 when not known
    void Combo12_Click();
    void Command3_Click();
    void Command4_Click();
    void Command24_Click();
    void Command2_Click();
    // A command the rows as stored turned down: the message shown, the list read again on the member.
    void turnedDown(const QString& message);

    bool m_listed = false;
    QString m_readError; // why the list could not be read
};

// Changes the password of the member selected in the support-staff window.
void changepassword();
