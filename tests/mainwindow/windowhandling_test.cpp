// The main window and its companions as the user handles them (drags, clicks, windows opened again) on a
// 1024x768 screen with the largest fonts a user may pick.
#include "customers/about.h"
#include "customers/notes.h"
#include "mainwindow/form1.h"
#include "options/themepresets.h"
#include "options/themes.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "support/fontfit.h"
#include "support/input.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStyleHints>
#include <QTextLayout>
#include <QTimer>
#include <cmath>

namespace {

class WindowHandling : public LargeFontsMainWindowTest {
protected:
    void SetUp() override {
        LargeFontsMainWindowTest::SetUp();
        prepareDatabase();
        addCustomer("Barbara Anderson-Whitfield of Goods In", "ann", "555 0100");
        call = addCall("ann", "Open", "Admin");
    }

    int call = 0;
};

// Drags the splitter's handle by `by` pixels (right or down when positive) in steps, as a mouse does; the
// handle's position after.
int drag(QSplitter* s, int by) {
    QSplitterHandle* h = s->handle(1);
    const QPoint grip(h->width() / 2, h->height() / 2);
    mousePress(h, grip);
    QPoint at = grip;
    for (int i = 0; i < 4; ++i) {
        at += s->orientation() == Qt::Horizontal ? QPoint(by / 4, 0) : QPoint(0, by / 4);
        mouseDragTo(h, at);
    }
    mouseRelease(h, at);
    processEvents();
    return s->sizes().value(0);
}

void expectWhole(QSplitter* s, QWidget& window, const std::string& when) {
    const bool across = s->orientation() == Qt::Horizontal;
    EXPECT_EQ(s->sizes().value(0) + s->handleWidth() + s->sizes().value(1), across ? s->width() : s->height()) << when;
    for (QWidget* side : {s->widget(0), s->widget(1)}) {
        const QSize least = side->minimumSize().expandedTo(side->minimumSizeHint());
        EXPECT_TRUE(window.rect().contains(QRect(side->mapTo(&window, QPoint(0, 0)), side->size()))) << when;
        EXPECT_GE(across ? side->width() : side->height(), across ? least.width() : least.height()) << when;
    }
}

// On a small screen too. A call opened with the customer list dragged wide takes the width its boxes need from the
// list, so on a 1024x768 screen the call panel never scrolls sideways.
TEST_P(WindowHandling, ASplitterDraggedEitherWayMovesThatWayAndStopsWithBothSidesWholeInsideTheWindow) {
    for (const QSize screen : {QSize(1024, 768), QSize(800, 600)}) {
        env->screen.size = screen;
        Form1& f = startBig();
        auto* across = f.findChild<QSplitter*>("mainSplitter");
        auto* down = f.findChild<QSplitter*>("rightSplitter");
        for (const std::string state : {"home", "call open"}) {
            if (state == "call open") {
                drag(across, 600);
                f.opencall(call);
                processEvents();
                const QScrollBar* sideways = f.findChild<QScrollArea*>("callScroll")->horizontalScrollBar();
                EXPECT_TRUE(screen.width() < 1024 || !sideways->isVisible()) << when("call panel scrolled sideways");
                expectWhole(across, f, when("call opened"));
            }
            for (QSplitter* s : {across, down}) {
                int before = s->sizes().value(0);
                for (int by : {300, 300, -300, -600, 300}) {
                    const std::string what = when(state) + " " + std::to_string(screen.width()) + " " +
                                             s->objectName().toStdString() + " dragged by " + std::to_string(by);
                    const int after = drag(s, by);
                    EXPECT_GE(by > 0 ? after - before : before - after, 0) << what;
                    expectWhole(s, f, what);
                    before = after;
                }
            }
        }
        f.Command9->click(); // Cancel
        processEvents();
        expectWhole(across, f, when("call put away"));
        // The customer list gives room to the right and takes it back.
        const int least = drag(across, -600);
        EXPECT_GT(drag(across, 300), least) << screen.width();
        EXPECT_EQ(drag(across, -300), least);
        closeMain();
    }
}

TEST_P(WindowHandling, EveryRowOfTheCallInformationGridCanBeReachedAndAClickScrollsNoneAway) {
    Form1& f = startBig();
    f.opencall(call);
    processEvents();
    ui::FlexGrid* grid = f.cg1;
    const bool allShow = grid->rowViewportPosition(5) + grid->rowHeight(5) <= grid->viewport()->height();
    const QScrollBar* bar = grid->verticalScrollBar();
    EXPECT_TRUE(allShow || (bar->isVisibleTo(&f) && bar->maximum() > 0)) << when("rows out of reach");
    // A click on the lowest value in view; a view scrolls a clicked cell into view once the double-click time is up.
    const int doubleClick = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(1);
    click(grid->viewport(), QPoint(grid->viewport()->width() - 4, grid->viewport()->height() - 2));
    QEventLoop wait;
    QTimer::singleShot(300, &wait, &QEventLoop::quit);
    wait.exec();
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(doubleClick);
    EXPECT_EQ(grid->rowViewportPosition(0), 0) << when("the first row scrolled away by a click");
    EXPECT_EQ(grid->columnViewportPosition(1), 0) << when("the captions scrolled away by a click");
}

// WCAG 2 contrast ratio of `fg`'s role `text` on `bg`'s role `ground`, in colour group `g`.
double contrast(QPalette::ColorGroup g, const QWidget* fg, QPalette::ColorRole text, const QWidget* bg,
                QPalette::ColorRole ground) {
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double a = luminance(fg->palette().color(g, text));
    const double b = luminance(bg->palette().color(g, ground));
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The note being read and the call's opening and closing times are closed to typing, yet readable in the program's
// own colours and every theme preset.
TEST_P(WindowHandling, TextsClosedToTypingAreReadableWithEveryThemePreset) {
    exec(QString("INSERT INTO Notes ([Call], [Note], Analyst) VALUES (%1, 'Replaced the fuser unit', 'Admin')")
             .arg(call));
    Form1& f = startBig();
    f.opencall(call);
    std::vector<const char*> looks{"the program's own colours"};
    for (const themepresets::Preset& p : themepresets::presets())
        looks.push_back(p.item);
    for (const char* look : looks) {
        if (looks.front() != look) {
            f.mnuthemes->trigger();
            themes& options = ui::form<themes>();
            options.findChild<QAction*>(look)->trigger();
            options.Command1->click(); // Okay
            processEvents();
        }
        ASSERT_FALSE(f.Text3->isEnabled());
        ASSERT_FALSE(f.Text3->text().isEmpty());
        EXPECT_GE(contrast(QPalette::Disabled, f.Text3, QPalette::Text, f.Text3, QPalette::Base), 4.5) << look;
        EXPECT_GE(contrast(QPalette::Disabled, f.Frame2->findChild<QLabel*>(), QPalette::WindowText, f.Frame2,
                           QPalette::Window),
                  4.5)
            << look;

        f.Command22->click();
        Notes& notes = ui::form<Notes>();
        processEvents();
        EXPECT_EQ(notes.Text1->toPlainText(), "Replaced the fuser unit");
        EXPECT_TRUE(notes.Text1->isReadOnly() || !notes.Text1->isEnabled()) << look;
        const QPalette::ColorGroup group = notes.Text1->isEnabled() ? QPalette::Active : QPalette::Disabled;
        EXPECT_GE(contrast(group, notes.Text1, QPalette::Text, notes.Text1, QPalette::Base), 4.5) << look;
        notes.close();
    }
}

// The lines a label lays its text out in, at its present width.
QStringList shownLines(const QLabel* label) {
    QTextLayout layout(label->text(), label->font());
    layout.setTextOption(QTextOption(Qt::AlignLeft)); // word wrap, as a label's
    layout.beginLayout();
    QStringList lines;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(label->contentsRect().width());
        lines << label->text().mid(line.textStart(), line.textLength());
    }
    layout.endLayout();
    return lines;
}

TEST_P(WindowHandling, TextsShowWholeOrFromTheirStartInTheOptionsSampleInformationWindowPromptsAndNameBox) {
    Form1& f = startBig();
    for (int opened = 0; opened < 2; ++opened) { // opened again too, in the stored grid font
        f.mnuthemes->trigger();
        themes& options = ui::form<themes>();
        processEvents();
        EXPECT_EQ(options.Grid1->font(), f.datagrid2->font());
        EXPECT_EQ(options.Grid1->font().pointSize(), 14) << when("sample font");
        options.Command2->click(); // Cancel
        processEvents();
    }

    f.mnuabout->trigger();
    frmAbout1& about = ui::form<frmAbout1>();
    processEvents();
    EXPECT_FALSE(about.info->horizontalScrollBar()->isVisible()) << when("information window");
    about.cmdOK->click();

    // A date prompt breaks between words, never inside one.
    for (const QString& prompt : {QString("Enter Start date: mm/dd/yyyy"),
                                  QString("Calls logged between two dates: enter the end date as mm/dd/yyyy and press "
                                          "OK, or Cancel to stop without a report")}) {
        auto box = ui::inputBox(prompt, "Quorvane", QString(), false, nullptr);
        box->show();
        processEvents();
        const QStringList lines = shownLines(box->findChild<QLabel*>());
        for (const QString& line : lines)
            EXPECT_FALSE(line.contains("mm/") && !line.contains("yyyy")) << line.toStdString() << " " << when("prompt");
        EXPECT_EQ(lines.join("").remove(QChar(0x200B)).remove(QChar(0x2060)), prompt);
    }

    // A customer just added with a long name shows its start in the next call's name box. First in the list's
    // order, so the list read again shows the same row.
    const QString name = "Abigail Featherstonehaugh-Cholmondeley of the Upper Wallop Accounts Office";
    f.mnuaddcust->trigger();
    typeText(f.Text10, name);
    typeText(f.Text11, "bfc");
    f.Command10->click(); // Save
    processEvents();
    f.lognewcallcust();
    EXPECT_EQ(f.Text10->text(), name);
    EXPECT_FALSE(showsWhole(f.Text10));
    EXPECT_TRUE(showsStart(f.Text10) && showsStart(f.Combo6)) << when("name box");
}

INSTANTIATE_TEST_SUITE_P(Families, WindowHandling, ::testing::ValuesIn(fitFamilies()), familyTestName);

} // namespace
