#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

class Form1;
class QAction;
class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace db {
class DataControl;
}
namespace ui {
class FlexGrid;
}

// "Inventory - Right click an item to list calls...": the items of every customer, filtered by one field, sorted
// by any heading, exported to "inv.csv"; an item's owner and calls on request. Administrators rename the eight
// field titles here.
class Inventory : public QWidget {
    Q_OBJECT
public:
    explicit Inventory(QWidget* parent = nullptr);
    ~Inventory() override;

    db::DataControl* Adodc1 = nullptr;
    ui::FlexGrid* Datagrid1 = nullptr;
    QLabel* lblInformation = nullptr;   // "Filter:"
    QComboBox* Combo1 = nullptr;        // field
    QComboBox* Combo2 = nullptr;        // match
    QLineEdit* Text1 = nullptr;         // value
    QLabel* Label1 = nullptr;           // counts and owners
    QPushButton* cmdCommand1 = nullptr; // "Apply"
    QPushButton* cmdGo = nullptr;       // "Retrieve All"
    QPushButton* cmdCommand2 = nullptr; // "Export to CSV"
    QPushButton* cmdCommand3 = nullptr; // "Rename Fields"
    // The rename panel.
    QLineEdit* Text2 = nullptr;
    QPushButton* Save = nullptr;
    QPushButton* Command1 = nullptr; // "Reset to Defaults"
    QPushButton* Cancel = nullptr;
    QMenu* mnupop = nullptr;
    QAction* mnushow = nullptr; // "Show calls for inventory item"
    QLabel* Image1 = nullptr;

    // Grid columns the window relies on: 1 the hidden first table column, then Type, Details, Number, Notes,
    // Details2 (the owner), Number2, Notes2.
    static constexpr int TypeCol = 2;
    static constexpr int NumberCol = 4;
    static constexpr int OwnerCol = 6;

    void titler();  // the titles into the heading cells of columns 2 to 8
    void titler2(); // the field list refilled (nothing chosen) and the headings
    void dbclear(); // unbound, one empty data row
    void showBackground(const QString& path);

    void cmdCommand1_Click();
    void cmdGo_Click();
    void cmdCommand2_Click();
    void cmdCommand3_Click();
    void Save_Click();
    void Command1_Click();
    void Cancel_Click();
    void mnushow_Click();
    void Datagrid1_Click(int row);
    void sortgrid(int col);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Load();
    QString titlesText();
    QStringList titles(); // the stored titles, or the defaults
    void fillFieldList(const QStringList& titles);
    void listed(const QString& countText);
    void showRenamePanel(bool show);
    bool storeTitles(const QString& text);
    void fitCommands();

    QPointer<Form1> m_main;
    QString m_titlesAsRead;      // the titles text the rename panel started from
    QBoxLayout* m_top = nullptr; // the filter line and its commands, side by side or one above the other
    int m_sortCol = 0;
    int m_sortOrder = 0;
};
