#include "reports/reportfixture.h"

#include "mainwindow/form1.h"
#include "platform/widgets/forms.h"
#include "reports/dialog.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class InventoryByType : public ReportTest {
protected:
    Dialog& openDialog() {
        main->mnuinvrep->trigger();
        return ui::form<Dialog>();
    }
    QString pagePath() const { return env->programFolder + "/report-calls-inv.htm"; }
};

QString cell(int width, const QString& value) {
    return "<TD width = " + QString::number(width) + " valign=top><font color = #COCOCO><i>" + value + "</TD>";
}

TEST_F(InventoryByType, ListsEachTypeOnceAndReportsItsItemsWithOwnersAndStaysOpen) {
    addCustomer("Pat O'Neil", "o'neil");
    item("PC", "o'neil", "Dell", "A1", "desk", "N2", "spare");
    item("Printer", "o'neil", "HP", "P7");
    item("PC", "gone", "Acer", "A2");
    item(QVariant(), "o'neil", "No type", "X");
    start();

    Dialog& d = openDialog();
    openDialog(); // a second opening refills, it does not add
    processEvents();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.parentWidget(), main);
    EXPECT_EQ(d.windowTitle(), "Quorvane");
    EXPECT_EQ(d.Label2->text(), "Report where Inventory type = ");
    EXPECT_EQ(d.Combo2->currentText(), "Select");
    QStringList types;
    for (int i = 0; i < d.Combo2->count(); ++i)
        types << d.Combo2->itemText(i);
    types.sort();
    EXPECT_EQ(types, (QStringList{"PC", "Printer"}));

    d.Combo2->setCurrentText("PC");
    d.OKButton->click();
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, pagePath());
    EXPECT_EQ(env->shell.opened[0].showMode, 3);
    const QStringList head{
        "<head><style type=\"text/css\">",
        "<!-- body {font-family: Arial, Helvetica, sans-serif;color: black;}-->",
        "</style></head> ",
        "<BODY bgcolor = white>",
        "<TABLE WIDTH=398 CELLPADDING=2 CELLSPACING=0 BORDER=0><TR><TD WIDTH=100% VALIGN=TOP><P><IMG "
        "SRC=\"logo.png\"  HSPACE=0 BORDER=0></TD></TR></TABLE><HR><BR>",
    };
    QStringList lines = crlfLines(pagePath());
    EXPECT_EQ(lines.mid(0, 5), head);
    QStringList rest = lines.mid(5);
    ASSERT_EQ(rest.size(), 2 + 2 * 3);
    EXPECT_EQ(rest[0], "<P><font size = 5> Inventory Report for type: PC.   14-March-2025, 09-30. </P>");
    EXPECT_EQ(rest[1], "<BR>");
    // Rows come in the database's order.
    QStringList rows{rest[3], rest[6]};
    rows.sort();
    EXPECT_EQ(rows, (QStringList{cell(200, "Pat O'Neil") + cell(100, "o'neil") + cell(300, "Dell") + cell(150, "A1") +
                                     cell(300, "desk") + cell(300, "spare"),
                                 cell(200, "User Not Found") + cell(100, "gone") + cell(300, "Acer") + cell(150, "A2") +
                                     cell(300, "") + cell(300, "")}));
    EXPECT_EQ(rest[2], "<TABLE><TR>");
    EXPECT_EQ(rest[4], "</TR></TABLE>");
    EXPECT_TRUE(QFile::exists(env->programFolder + "/logo.png")); // the picture the page names

    // A second report, of a type nobody has, replaces the page; the window stays.
    d.Combo2->setCurrentText("Bob's kit");
    d.OKButton->click();
    EXPECT_EQ(
        crlfLines(pagePath()).mid(5),
        (QStringList{"<P><font size = 5> Inventory Report for type: Bob's kit.   14-March-2025, 09-30. </P>", "<BR>"}));
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Combo2->count(), 2);

    d.CancelButton->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<Dialog>());
}

TEST_F(InventoryByType, AProgramFolderThatCannotBeWrittenSaysSoAndOpensNothing) {
    start();
    Dialog& d = openDialog();
    d.OKButton->click(); // reports the type "Select"
    EXPECT_EQ(crlfLines(pagePath()).value(5),
              "<P><font size = 5> Inventory Report for type: Select.   14-March-2025, 09-30. </P>");

    // A folder in the page's place cannot be replaced by a file, whoever runs the program.
    QFile::remove(pagePath());
    ASSERT_TRUE(QDir().mkdir(pagePath()));
    env->shell.opened.clear();
    d.OKButton->click();
    EXPECT_TRUE(env->shell.opened.empty());
    ASSERT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_EQ(env->dialogs.messages[0].text, "Can't write " + pagePath());
    EXPECT_EQ(env->dialogs.messages[0].title, "Quorvane");
}

} // namespace
