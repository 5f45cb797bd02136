#pragma once

#include "shared/shared.h"

#include <QColor>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <vector>

class Form1;
class QAction;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace db {
class DataControl;
}
namespace ui {
class DataGrid;
}

// The report wizard: a status, a filter, a range of opening dates and a sort become a query over Calls whose
// rows fill the grid; the Show Fields switches choose the columns, which go out as "report.csv" or
// "report.htm"; the Options menu holds the page layout and More Quick Reports four ready-made reports.
class Form3 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
    ~Form3() override;

    QLabel* Label1 = nullptr;
    QComboBox* Combo1 = nullptr; // filter kind
    QLineEdit* Text1 = nullptr;  // filter value
    QLabel* Label2 = nullptr;
    QComboBox* Combo3 = nullptr; // status
    QLabel* Label3 = nullptr;
    QComboBox* Combo5 = nullptr; // date mode
    QDateEdit* d1 = nullptr;
    QDateEdit* d2 = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo4 = nullptr;     // sort column
    QComboBox* Combo2 = nullptr;     // sort direction
    QPushButton* Command1 = nullptr; // "Run Report"
    QPushButton* Command2 = nullptr; // "Export to CSV"
    QPushButton* Command3 = nullptr; // "Open in Browser"
    QPushButton* Command4 = nullptr; // "Save Layout"
    QPlainTextEdit* sqltxtbox = nullptr;
    QLineEdit* Text2 = nullptr; // report title
    QLineEdit* Text3 = nullptr; // page colour swatch
    QLineEdit* Text4 = nullptr; // table colour swatch
    QGroupBox* Frame1 = nullptr;
    db::DataControl* Adodc1 = nullptr;
    ui::DataGrid* DataGrid1 = nullptr;

    // Show Fields
    QMenu* mnfields = nullptr;
    QAction* mnuwizid = nullptr;
    QAction* mnuwizst = nullptr;
    QAction* mnuwizcu = nullptr;
    QAction* mnucn = nullptr;
    QAction* mnucat = nullptr;
    QAction* mnuwizss = nullptr;
    QAction* mnuwizcdet = nullptr;
    QAction* mnuwizcr = nullptr;
    QAction* mnnuresource = nullptr;
    QAction* mnuwizot = nullptr;
    QAction* mnuwizod = nullptr;
    QAction* mnuwizct = nullptr;
    QAction* mnuwizcd = nullptr;
    QAction* mnuwizsf = nullptr;
    QAction* mnusi = nullptr;
    QAction* mnulb = nullptr;
    QAction* mnucf = nullptr;
    QAction* mnucof = nullptr;
    // Options
    QMenu* mnuopt = nullptr;
    QAction* mnutrunc = nullptr;
    QAction* mnuwidth = nullptr;
    QAction* mnucalnot1 = nullptr;
    QAction* mnusep = nullptr;
    QAction* mnuFullnames = nullptr;
    QAction* mnulogo = nullptr;
    QAction* mnubakc = nullptr;
    QAction* mnufont = nullptr;
    QAction* mnutable = nullptr;
    // More Quick Reports
    QMenu* mnumore = nullptr;
    QAction* mnuci = nullptr;
    QAction* mnuivrep = nullptr;
    QAction* mnuinvcalls = nullptr;
    QAction* mnu50cat = nullptr;

    void Form_Activate();
    void datavisible();
    void Combo1_Click();
    void Combo4_Click();
    void Combo5_Click();
    void Command1_Click(); // Run Report
    void Command2_Click(); // Export to CSV
    void Command3_Click(); // Open in Browser
    void mnuwidth_Click();
    void mnulogo_Click();
    void mnubakc_Click();
    void mnutable_Click();
    void mnufont_Click();
    void mnuci_Click();
    void mnuivrep_Click();
    void mnuinvcalls_Click();
    void mnu50cat_Click();

    // A column's width in twips as the page writes it (the grid keeps whole twips).
    double columnWidth(int column) const { return m_widths.at(static_cast<size_t>(column)); }

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    void buildMenus();
    void Form_Load();
    void columnSwitch(QAction* item, const QString& key);
    void optionSwitch(QAction* item, const QString& key);
    void setSwatch(QLineEdit* box, const QString& colour, bool withText);
    void columnResized(int column, int newPixels);

    QPointer<Form1> m_main;
    std::vector<double> m_widths; // twips, as the user left them
    bool m_placingColumns = false;
    bool m_activatedOnce = false;
    quint64 m_activateSerial = 0;
    QString m_titlePrefix;   // what Activate put before the user's part of the title
    qv::HeldSettings m_held; // the title's user part, as read or last stored
    QString m_spareCaption;  // the spare field's whole name (its menu entry may show it cut)
};
