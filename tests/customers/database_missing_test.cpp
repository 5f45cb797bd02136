#include "support/mainwindowfixture.h"

#include "customers/about.h"
#include "customers/form2.h"
#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>

namespace {

// A database file taken away, or its folder, while windows hold it open: the program's own words, and
// nothing half stored.
class MissingDatabase : public MainWindowTest {
protected:
    void startWithCustomers() {
        prepareDatabase();
        addCustomer("Ann", "ann");
        addCustomer("Bob", "bob");
        start();
    }
    // Moves the database file away; its folder stays. Returns where it went.
    QString moveAway() {
        const QString away = env->path("away.qvdb");
        EXPECT_TRUE(QFile::rename(dbPath, away));
        return away;
    }
    static void expectPlain(const QString& message) {
        EXPECT_FALSE(message.isEmpty());
        for (const char* engine : {"unable to open", "unrecognized token", "attempt to write", "disk I/O"})
            EXPECT_FALSE(message.contains(engine)) << message.toStdString();
    }
};

TEST_F(MissingDatabase, DeleteModeClickOnAMovedFileSaysSoAndKeepsTheRow) {
    startWithCustomers();
    main->mnuabout->trigger();
    frmAbout1& about = ui::form<frmAbout1>();
    about.Command3->click();
    const QString away = moveAway();
    about.cust1_Click(2, frmAbout1::OptionCol);
    expectPlain(env->dialogs.lastMessage());
    EXPECT_TRUE(env->dialogs.lastMessage().contains(dbPath)) << env->dialogs.lastMessage().toStdString();
    EXPECT_EQ(about.cust1->rows(), 3);
    db::pool::closeAll();
    EXPECT_EQ(db::Database::open(away).openRecordset("SELECT * from Customers")->recordCount(), 2);
}

TEST_F(MissingDatabase, TypingIntoANewItemWithoutTheDatabaseFolderSaysSo) {
    startWithCustomers();
    main->mnuinv->trigger();
    Form2& w = ui::form<Form2>();
    w.Command3->click();
    ASSERT_TRUE(QDir(env->path("")).rename(QFileInfo(dbPath).absolutePath(), env->path("gone")));
    auto* model = w.Datagrid1->model();
    model->setData(model->index(0, 0), "Monitor", Qt::EditRole);
    w.Command1->click();
    processEvents();
    // Told when typing and again at the save.
    ASSERT_EQ(env->dialogs.messages.size(), 2u);
    for (const QString& message : env->dialogs.messageTexts())
        expectPlain(message);
    // The window keeps what was typed: with the folder back, the same save stores it once.
    ASSERT_TRUE(ui::isLoaded<Form2>());
    ASSERT_TRUE(QDir(env->path("")).rename(env->path("gone"), QFileInfo(dbPath).absolutePath()));
    w.Command1->click();
    processEvents();
    EXPECT_FALSE(ui::isLoaded<Form2>());
    EXPECT_EQ(count("SELECT * from Inventory where Type = 'Monitor' AND Details2 = 'ann'"), 1);
}

} // namespace
