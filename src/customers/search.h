#pragma once

#include <QWidget>

class QAction;
class QLineEdit;
class QMenu;
class QPushButton;

namespace ui {
class FlexGrid;
}

// "Customer Search": customers whose name holds a typed text; the chosen one goes back to the main window to
// log a call, to be shown in its customer list, or to have its calls listed. Reads only.
class Search : public QWidget {
    Q_OBJECT
public:
    explicit Search(QWidget* parent = nullptr);

    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr; // "Search"
    ui::FlexGrid* MSHFlexGrid1 = nullptr;
    QMenu* popup1 = nullptr;
    QAction* mnulnc = nullptr;    // "Log New Call"
    QAction* mnulocate = nullptr; // "Locate on Main Customer List"
    QAction* mnusel = nullptr;    // "List Calls for Selected Customer"

    // Result grid columns: 2 name, 3 reference (what every hand-over takes), 4 address.
    static constexpr int NameCol = 2;
    static constexpr int RefCol = 3;
    static constexpr int AddressCol = 4;

    void Form_Load();
    void Command1_Click();
    void mnulnc_Click();
    void mnulocate_Click();
    void mnusel_Click();

private:
    QString selectedReference() const; // column 3 of the selection's end row
};
