#pragma once

#include <QDate>
#include <QWidget>
#include <array>

class QDateEdit;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;

namespace topfive {
struct Scope;
}

// "Quorvane - Categories": the five categories with the most calls of a scope as bars; a click on a bar lists
// that category's calls of the same scope in the main window's call list. Reads only.
class Form6 : public QWidget {
    Q_OBJECT
public:
    explicit Form6(QWidget* parent = nullptr);

    QString topwhere;
    QString topsql;
    QDate fromdate;
    QDate todate;
    std::array<float, 5> barwidth{}; // twips, as drawn

    QLabel* Image6 = nullptr;     // background
    QFrame* Picture1 = nullptr;   // bars and counts
    QFrame* Picture2 = nullptr;   // category names
    QListWidget* List1 = nullptr; // categories of the last query, outside the visible area
    QListWidget* List2 = nullptr; // their counts
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;
    QLabel* Image3 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* Image5 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* Label11 = nullptr;
    QLabel* Label12 = nullptr;
    QLabel* Label13 = nullptr;
    QLabel* Label6 = nullptr;        // title
    QPushButton* Command1 = nullptr; // "All Active Calls"
    QPushButton* Command2 = nullptr; // "Logged Today"
    QLabel* Label7 = nullptr;
    QDateEdit* d1 = nullptr;
    QLabel* Label8 = nullptr;
    QDateEdit* d2 = nullptr;
    QPushButton* Command3 = nullptr; // "Retrieve"
    QLabel* lblLabel14 = nullptr;

    std::array<QLabel*, 5> bars{};   // Image1..Image5
    std::array<QLabel*, 5> names{};  // Label1..Label5
    std::array<QLabel*, 5> counts{}; // Label9..Label13

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void maker();
    void lookup();
    void barClick(int k); // bar or count label k, 1 to 5

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The scope's title, then its chart.
    void showScope(const topfive::Scope& scope);
    void emptyChart();
};
