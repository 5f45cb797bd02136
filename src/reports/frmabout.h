#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

// "Monitor Page": switches the wall-screen pages on and off and sets the folder they are written to.
class frmAbout : public QWidget {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Text1 = nullptr;        // the monitor folder
    QPushButton* Command1 = nullptr;   // "Browse"
    QPushButton* cmdSysInfo = nullptr; // "De-activate"
    QPushButton* cmdOK = nullptr;      // "Activate"

    void Command1_Click();
    void cmdOK_Click();
    void cmdSysInfo_Click();

protected:
    void changeEvent(QEvent* event) override;

private:
    // The controls at their places, moved down and widened where the desktop font needs more room.
    void placeControls();
};
