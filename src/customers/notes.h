#pragma once

#include <QPointer>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <optional>

class Form1;
class PageFile;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace db {
class DataControl;
}
namespace ui {
class DataGrid;
}

// The notes of the call open on the main window's call panel: lists them, adds a note stamped with the
// logged-in analyst and the clock, and writes them all to "callnotes.htm" in the program's folder. Only an
// Administrator may change existing notes; a new note left empty is kept as "[Empty - Note was cancelled]".
class Notes : public QWidget {
    Q_OBJECT
public:
    explicit Notes(QWidget* parent = nullptr);
    ~Notes() override;

    db::DataControl* Adodc1 = nullptr; // the call's notes
    ui::DataGrid* Datagrid1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;   // Note
    QLabel* Label5 = nullptr;          // ID
    QLabel* Label4 = nullptr;          // Call
    QLabel* Label1 = nullptr;          // Analyst
    QLabel* Label2 = nullptr;          // Note-date
    QLabel* Label3 = nullptr;          // Note-time
    QPlainTextEdit* Text2 = nullptr;   // the enlarged reading box
    QLabel* Label6 = nullptr;          // "+" / "-"
    QPushButton* cmdSysInfo = nullptr; // "New Call Note"
    QPushButton* Command2 = nullptr;   // "OK"
    QPushButton* Command1 = nullptr;   // "Cancel"
    QPushButton* Command3 = nullptr;   // "View All"
    QLabel* Image1 = nullptr;

    // Asked for the notes again: a window of another call stores what it holds on its own call, then shows the
    // call on the panel; false when that store was refused (told), and the window stays on its own call.
    bool follow();

    void gridsetup();
    void hideme();
    void callnotes(); // the note tables of the page being written
    void htmlhead();  // the head of the page being written

    void cmdSysInfo_Click();
    void Command2_Click();
    void Command1_Click();
    void Command3_Click();
    void Label6_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Load();
    // What a refused store does with what the user typed: keeps it pending in the window, or lets it go.
    enum class Refused { Keep, Drop };
    bool cancelsteps(Refused refused);
    // Stores the note being added (the placeholder when left empty) and an Administrator's pending change to a
    // listed note. A refusal is told; with Keep, what was typed stays pending and false comes back (an empty new
    // note, holding nothing typed, goes either way).
    bool storePending(Refused refused, const QString& kept = QString());
    void placeholder();
    void reread();

    QPointer<Form1> m_main;
    QString m_call;                     // the call number as the call panel shows it
    std::optional<qint64> m_callNumber; // the same as a number; none when the text is not one
    bool m_adding = false;
    QVariant m_newId; // the ID of the note this window added
    PageFile* m_page = nullptr;
};
