#include "reports/reportfixture.h"

#include "mainwindow/form1.h"
#include "platform/ini.h"
#include "shared/shared.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

class CallSheet : public ReportTest {};

const QString Rule(95, '_');

TEST_F(CallSheet, ANewCallPrintsFromThePopUpAfterTheMessageInArialTen) {
    addCustomer("Ann Lee", "ann", "555 123", "1 High St", "ann@example.com");
    Form1& f = start();
    f.Command8->click();
    ASSERT_FALSE(f.mnuprint->isEnabled()); // a new call is not yet open for printing from the File menu
    f.Combo6->setCurrentText("Ann Lee");
    f.Text11->setText("ann");
    f.Text14->setText("1 High St");
    f.Text12->setText("555 123");
    f.Text13->setText("ann@example.com");
    f.Text16->setPlainText("Printer jams\nevery morning");
    f.Text17->setPlainText("");
    f.Text5->clear();
    f.Text6->clear();

    f.mnuprint2->trigger();
    ASSERT_EQ(env->dialogs.messages.size(), 1u);
    EXPECT_EQ(env->dialogs.messages[0].text, "Call sent to Printer");
    EXPECT_EQ(env->dialogs.messages[0].title, "Quorvane");
    ASSERT_EQ(env->printer.jobs.size(), 1u);
    EXPECT_EQ(env->printer.jobs[0].font.family(), "Arial");
    EXPECT_EQ(env->printer.jobs[0].font.pointSize(), 10);
    EXPECT_TRUE(f.pc1->toPlainText().isEmpty());

    const QStringList sheet = env->printer.jobs[0].text.split("\r\n");
    const QString nom = f.Text18->text();
    const QStringList expected{"",
                               "",
                               "",
                               "",
                               "Quorvane Call Sheet",
                               Rule,
                               "",
                               "Customer Details: Ann Lee   (ann).",
                               "",
                               "Address: 1 High St",
                               "Phone No: 555 123.    Email: ann@example.com",
                               "",
                               "",
                               "Call Reference: " + nom + ".   Call Status: Open.  Assigned to: Admin.",
                               "Logged: 14/03/2025   09:30:00.    Closed:    ",
                               "",
                               Rule,
                               "",
                               "Printer jams",
                               "every morning",
                               "",
                               Rule,
                               "",
                               "",
                               "",
                               Rule,
                               "",
                               "Comment:",
                               "",
                               "",
                               Rule,
                               "",
                               "",
                               "",
                               " Signed:" + QString(60, '_') + "Date:" + QString(24, '_')};
    EXPECT_EQ(sheet, expected);
    EXPECT_FALSE(env->printer.jobs[0].text.contains(QRegularExpression("[^\r]\n|\r[^\n]")));

    // A failing printer still empties the buffer, with the one message.
    env->printer.result = false;
    f.mnuprint2->trigger();
    EXPECT_EQ(env->dialogs.messages.size(), 2u);
    EXPECT_TRUE(f.pc1->toPlainText().isEmpty());
}

TEST_F(CallSheet, TheHeadingIsAskedWithTheLetterheadSettingAndAnEmptyAnswerKeepsIt) {
    Form1& f = start();
    f.mnultrhead->trigger();
    EXPECT_EQ(IniFile(qv::inipath()).read("Printing", "Letterhead Space"), QString("True"));

    f.mnucallsheet->trigger(); // Cancel
    ASSERT_EQ(env->dialogs.inputs.size(), 1u);
    EXPECT_EQ(env->dialogs.inputs[0].title, "Quorvane Call Sheet");
    EXPECT_EQ(env->dialogs.inputs[0].prompt,
              "Type in a title for the Call Sheet (print out of call) - e.g. 'Acme Ltd - Call Sheet'.  (Allow extra "
              "space for letterhead setting = True.)");
    EXPECT_EQ(env->dialogs.inputs[0].defaultText, "Quorvane Call Sheet");
    EXPECT_EQ(f.sheetheader, "Quorvane Call Sheet");

    env->dialogs.type("Acme's Help Desk");
    f.mnucallsheet->trigger();
    EXPECT_EQ(f.sheetheader, "Acme's Help Desk");
    EXPECT_EQ(IniFile(qv::inipath()).read("Printing", "Call Sheet Header"), QString("Acme's Help Desk"));

    f.Command8->click();
    f.mnuprint2->trigger();
    ASSERT_EQ(env->printer.jobs.size(), 1u);
    const QStringList sheet = env->printer.jobs[0].text.split("\r\n");
    EXPECT_EQ(sheet.indexOf("Acme's Help Desk"), 14); // the fifteenth line, after the letterhead space
    EXPECT_EQ(sheet.size(), 44);
}

} // namespace
