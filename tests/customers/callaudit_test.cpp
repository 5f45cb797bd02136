#include "support/mainwindowfixture.h"

#include "customers/attachments.h"
#include "customers/callaudit.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

class CallCompanions : public MainWindowTest {
protected:
    // The call panel shows the call with this number (stored first when there is none); text that is not a
    // number leaves the panel without a call.
    void showCall(const QString& callText) {
        main->leavecall();
        bool ok = false;
        const int nom = callText.toInt(&ok);
        if (!ok)
            return;
        if (count(QStringLiteral("SELECT * from Calls where Nom = %1").arg(nom)) == 0)
            addRow("Calls", {{"Nom", nom}, {"Username", "ann"}, {"Status", "Open"}});
        main->opencall(nom);
    }
    Form5* openAudit(const QString& callText) {
        showCall(callText);
        main->mnuaudit->trigger();
        return ui::isLoaded<Form5>() ? &ui::form<Form5>() : nullptr;
    }
    Attachments* openAttachments(const QString& callText) {
        showCall(callText);
        main->command16->click();
        return ui::isLoaded<Attachments>() ? &ui::form<Attachments>() : nullptr;
    }
    void touch(const QString& name) {
        QFile f(QDir(main->attachpath).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    static QStringList listed(const Attachments* w) {
        QStringList out;
        for (int i = 0; i < w->f1->count(); ++i)
            out << w->f1->item(i)->text();
        return out;
    }
    void chooseItem(Attachments* w, int index) {
        w->Combo1->setCurrentIndex(index);
        emit w->Combo1->activated(index);
    }
};

TEST_F(CallCompanions, AuditWindowShowsTheCallsLinesAndNoEntriesOtherwise) {
    prepareDatabase();
    const int audited = addCall("ann", "Open", "Admin");
    const int silent = addCall("bob", "Open", "Admin");
    {
        auto rs =
            db::Database::open(dbPath).openRecordset("SELECT * from Calls where Nom = " + QString::number(audited));
        rs->setField("Audit", "14/03/2025 (09:30):   Call logged\r\n14/03/2025 (09:41):   Status changed to Pending");
        rs->update();
    }
    start();

    Form5* audit = openAudit(QString::number(audited));
    ASSERT_TRUE(audit);
    EXPECT_EQ(audit->windowTitle(), QString("Call Audit for call: %1").arg(audited));
    EXPECT_EQ(audit->parentWidget(), main);
    EXPECT_EQ(audit->Text1->toPlainText().split('\n'),
              QStringList({"14/03/2025 (09:30):   Call logged", "14/03/2025 (09:41):   Status changed to Pending"}));
    // It keeps its call when the panel moves on, until it is asked for again.
    showCall(QString::number(silent));
    EXPECT_TRUE(audit->Text1->toPlainText().startsWith("14/03/2025 (09:30)"));
    main->mnuaudit->trigger();
    EXPECT_EQ(audit->windowTitle() + "|" + audit->Text1->toPlainText(),
              QString("Call Audit for call: %1|No Entries\n").arg(silent));
    audit->cmdCommand1->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<Form5>());

    for (const QString& text : {QString::number(silent), QString("1 or 1=1"), QString()}) {
        audit = openAudit(text);
        ASSERT_TRUE(audit);
        EXPECT_EQ(audit->Text1->toPlainText(), "No Entries\n") << text.toStdString();
        EXPECT_EQ(audit->windowTitle(),
                  text == QString::number(silent) ? "Call Audit for call: " + text : "Call Audit");
        audit->close();
        processEvents();
    }
}

TEST_F(CallCompanions, AttachmentsListTheCallsOwnFilesOrAllAndOpenTheOneDoubleClicked) {
    start();
    for (const char* name :
         {"Call-1-1~report final.pdf", "Call-1-2~a~b.txt", "Call-12-1~x.doc", "Call-2-1~y.png", "notes.txt"})
        touch(name);
    Attachments* w = openAttachments("1");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->parentWidget(), main);
    EXPECT_EQ(w->Combo1->itemText(0), "Attachments for call:1");
    EXPECT_EQ(w->Combo1->itemText(1), "All Attachments");
    EXPECT_EQ(listed(w), QStringList({"Call-1-1~report final.pdf", "Call-1-2~a~b.txt"}));

    chooseItem(w, 1);
    EXPECT_EQ(listed(w),
              QStringList({"Call-1-1~report final.pdf", "Call-1-2~a~b.txt", "Call-12-1~x.doc", "Call-2-1~y.png"}));
    chooseItem(w, 0);
    w->f1->setCurrentRow(0);
    emit w->f1->itemDoubleClicked(w->f1->currentItem());
    ASSERT_EQ(env->shell.opened.size(), 1u);
    EXPECT_EQ(env->shell.opened[0].target, main->attachpath + "/Call-1-1~report final.pdf");
    EXPECT_EQ(env->shell.opened[0].showMode, 1);
    w->close();
    processEvents();

    // A folder set with a final "/" gives the same path.
    main->attachpath += "/";
    w = openAttachments("12");
    ASSERT_TRUE(w);
    EXPECT_EQ(listed(w), QStringList({"Call-12-1~x.doc"}));
    w->f1->setCurrentRow(0);
    emit w->f1->itemDoubleClicked(w->f1->currentItem());
    EXPECT_EQ(env->shell.lastOpened(), main->attachpath + "Call-12-1~x.doc");
    w->close();
    processEvents();

    main->attachpath = env->path("missing");
    w = openAttachments("1");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->f1->count(), 0);
    EXPECT_TRUE(env->dialogs.messages.empty());
}

TEST_F(CallCompanions, AttachmentsLeftOpenForOneCallTurnToTheCallAskedFor) {
    prepareDatabase();
    const int first = addCall("ann", "Open", "Admin");
    const int second = addCall("bob", "Open", "Admin");
    start();
    touch(QString("Call-%1-1~second.txt").arg(second));
    Attachments* files = openAttachments(QString::number(first));
    showCall(QString::number(second));
    main->command16->click();
    EXPECT_EQ(listed(files), QStringList{QString("Call-%1-1~second.txt").arg(second)});
}

} // namespace
