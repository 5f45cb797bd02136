#pragma once

#include <QString>
#include <QVariant>
#include <QWidget>

class PageFile;
class QComboBox;
class QLabel;
class QPushButton;

// "Quorvane": asks for an inventory item type and writes "report-calls-inv.htm" in the program's folder,
// listing every item of that type with its owner, then opens it. It stays open for further reports.
class Dialog : public QWidget {
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);

    // Loads the window (or takes the open one), fills the type list anew and shows it owned by owner: the main
    // window's "Inventory Report by Type" and the report wizard's item of that name.
    static Dialog& openFrom(QWidget* owner);

    QLabel* Label2 = nullptr;    // the prompt
    QComboBox* Combo2 = nullptr; // the type, typed or picked
    QPushButton* OKButton = nullptr;
    QPushButton* CancelButton = nullptr;

    void Form_Load();
    void htmlhead(PageFile& page);
    QString getcustomer(const QString& reference);
    void OKButton_Click();
    void CancelButton_Click();

    // The page's full path: the program's folder.
    static QString pagePath();
};
