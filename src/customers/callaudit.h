#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// "Call Audit": the audit text of the call open on the main window's call panel when the window was last asked
// for, named in its title. Reads only.
class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    QPlainTextEdit* Text1 = nullptr;
    QPushButton* cmdCommand1 = nullptr; // "Close"

    static inline const QString NoEntries = QStringLiteral("No Entries\n");

    // Reads the trail of the call on the panel as the file holds it.
    void showCall();

private:
    void Form_Load();
};
