#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;

// "Attachments": the attachment files of the call open on the call panel when the window was last asked for, or
// those of every call, from the attachments folder; a double-click opens one with its default program. Reads only.
class Attachments : public QWidget {
    Q_OBJECT
public:
    explicit Attachments(QWidget* parent = nullptr);

    QComboBox* Combo1 = nullptr;
    QListWidget* f1 = nullptr; // the folder's files matching the pattern, by name
    QLabel* lblDoubleClick = nullptr;

    // Lists the files of the call on the panel (or all of them, as chosen) as the folder holds them now.
    void showCall();
    void Combo1_Click();
    void f1_DblClick();

    QString folder() const { return m_folder; }
    QString pattern() const { return m_pattern; }

private:
    void Form_Load();

    QString m_call; // the call number as the call panel showed it when asked
    QString m_folder;
    QString m_pattern;
};
