#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

class Form1;
class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace db {
class DataControl;
class Recordset;
} // namespace db
namespace ui {
class DataGrid;
}

// "Inventory for <name>": one customer's items (Inventory rows whose Details2 holds the customer's reference),
// added, edited and removed in the grid, exported to "invlist.csv", with an item's calls listed in the main call
// list. The main window hands the customer over in its hidden labels Label33 (reference) and Label34 (database).
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    db::DataControl* Adodc1 = nullptr;
    ui::DataGrid* Datagrid1 = nullptr;
    QPushButton* Command4 = nullptr; // "Cancel"
    QPushButton* Command3 = nullptr; // "Add New"
    QPushButton* Command5 = nullptr; // "Edit Selected"
    QPushButton* Command2 = nullptr; // "Remove Selected"
    QPushButton* Command1 = nullptr; // "Save"
    QMenu* mnupopup = nullptr;
    QAction* mnuexp = nullptr; // "Export List"
    QAction* mnufnd = nullptr; // "Find Calls for this Item"
    QLabel* Image1 = nullptr;

    // Connects, lists the customer's items, sets the buttons and the column captions: at load and again
    // whenever the window is re-pointed to another customer.
    void Form_Load();
    void retriever();
    void showBackground(const QString& path);
    // Stores the item being added or edited; false (after a message) when the database refused it, the item kept.
    bool storePending();

    void Command3_Click();
    void Command5_Click();
    void Command2_Click();
    void Command4_Click();
    void Command1_Click();
    void mnuexp_Click();
    void mnufnd_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void captions();
    void followRecordset(db::Recordset* rs);
    int listed() const; // rows in the list
    void readAgain();

    QPointer<Form1> m_main;
    int m_added = -1; // the row "Add New" started, while it is in the list
};
