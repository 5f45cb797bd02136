#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace db {
class DataControl;
}
namespace ui {
class FlexGrid;
}

// "About Quorvane": the installation's state (version, database, archive and backup records, counts, folders,
// main list settings) with its CSV export, the change log and settings file in the text editor, the
// system-information tool, the archive look-ups and, for administrators, a customer grid in which a click on the
// "Option" column deletes that customer permanently.
class frmAbout1 : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout1(QWidget* parent = nullptr);
    ~frmAbout1() override;

    ui::FlexGrid* info = nullptr;  // 0 hidden, 1 label, 2 value
    ui::FlexGrid* cust1 = nullptr; // the customers of the delete mode
    db::DataControl* Adodc1 = nullptr;
    QLabel* Picture1 = nullptr;           // the delete picture of the "Option" column
    QPushButton* Command1 = nullptr;      // "Export this List"
    QPushButton* Command2 = nullptr;      // "View Call from Archive"
    QPushButton* Command3 = nullptr;      // "Delete Customers"
    QPushButton* Command4 = nullptr;      // "View Change Log"
    QPushButton* cmdSystemInfo = nullptr; // "Open Settings File"
    QPushButton* cmdSysInfo = nullptr;    // "&System Info..."
    QPushButton* cmdOK = nullptr;         // "OK"
    QMenu* popmenu = nullptr;
    QAction* mnuuser = nullptr;    // "Archived calls for Username"
    QAction* mnuarchref = nullptr; // "Archived Call Report by Call Reference"

    bool warnondelete = false;
    bool deleteMode() const { return m_deleteMode; }

    // cust1's columns: the reference, the address and the delete column.
    static constexpr int RefCol = 2;
    static constexpr int AddressCol = 4;
    static constexpr int OptionCol = 6;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void cmdSystemInfo_Click();
    void cmdSysInfo_Click();
    void cmdOK_Click();
    void cust1_Click(int row, int col);
    void mnuuser_Click();
    void mnuarchref_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Load();
    // False when the opened call on the main window could not be put away (the user was told): the mode stays.
    bool leaveDeleteMode();
    void setListCommandsEnabled(bool enabled);

    bool m_deleteMode = false;
};
