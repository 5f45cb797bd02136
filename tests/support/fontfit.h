#pragma once

#include <QFont>
#include <QSize>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>

class QPoint;
class QWidget;
struct TestEnv;

// The families every fit test runs with: Debian's default desktop font, the widest common one, and "Arial" as
// stored by the program (Liberation Sans under tests/fonts.conf).
QStringList fitFamilies();
// A parameterized test's name for a family: "DejaVuSans", "Arial".
std::string familyTestName(const ::testing::TestParamInfo<QString>& info);

// The desktop (application) font for the life of the object; the one before comes back after.
class DesktopFont {
public:
    DesktopFont(const QString& family, int points);
    ~DesktopFont();
    DesktopFont(const DesktopFont&) = delete;
    DesktopFont& operator=(const DesktopFont&) = delete;

private:
    QFont m_before;
};

// Stores the lists' font in the test's settings file as Options > Appearance > Grid Font does ([Grid Fonts] Name,
// Bold, Size): before the main window starts, or after it (windows opened later read it).
void storeGridFont(const TestEnv& env, const QString& family, int points, bool bold);

// The largest fonts a user may pick, on a 1024x768 screen: the grid font at 14 pt bold and the desktop font at
// 11 pt, both in `family`, for the life of the object.
class LargeFonts {
public:
    LargeFonts(TestEnv& env, const QString& family);

private:
    DesktopFont m_desktop;
};

// Expects the window's frame within a screen of this size and every visible push button, check box and radio
// button of it (those inside grids and scroll areas aside) and every control named inside the window, each
// button wide enough for its whole caption. `when` names the case in a failure.
void expectFits(QWidget& window, QSize screen, const std::string& when, std::initializer_list<QWidget*> controls = {});

// True when the box shows the first character of its text (its text scrolled to the start).
bool showsStart(const QWidget* lineEditOrCombo);

// The tool tip the widget shows for the mouse resting at pos (the widget's own coordinates); "" when none.
QString toolTipAt(QWidget* w, QPoint pos);

// True when the line edit (or an editable combo box's edit) has room for its whole text, so none of it is
// scrolled out of view, reckoned as the box lays out its text.
bool showsWhole(const QWidget* lineEditOrCombo);
