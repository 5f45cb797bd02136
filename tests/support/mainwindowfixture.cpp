#include "support/mainwindowfixture.h"

#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/forms.h"
#include "shared/schema.h"
#include "shared/shared.h"

#include <QComboBox>
#include <QLocale>
#include <QPushButton>

void MainWindowTest::SetUp() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    env = std::make_unique<TestEnv>();
    dbPath = env->settingsFolder + QStringLiteral("/desk.qvdb");
}

void MainWindowTest::TearDown() {
    closeMain();
    ui::unloadAll(nullptr);
    processEvents();
    db::pool::closeAll();
    env.reset();
}

Form1& MainWindowTest::start(const QString& loginAs) {
    main = new Form1(env->appDataFolder);
    ui::detail::registerForm(typeid(Form1), main);
    EXPECT_FALSE(main->ended()) << "the main window ended at start-up: " << env->dialogs.lastMessage().toStdString();
    if (!loginAs.isEmpty() && !main->ended()) {
        main->Combo2->setCurrentText(loginAs);
        main->Command1->click();
    }
    return *main;
}

void MainWindowTest::closeMain() {
    if (!main)
        return;
    main->close();
    delete main;
    main = nullptr;
    processEvents();
}

void MainWindowTest::prepareDatabase() {
    schema::createDatabase(dbPath);
}

void MainWindowTest::exec(const QString& jetSql) {
    auto database = db::Database::open(dbPath);
    database.execute(jetSql);
}

QVariant MainWindowTest::scalar(const QString& jetSql) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(jetSql);
    return rs->eof() ? QVariant() : rs->field(0);
}

int MainWindowTest::count(const QString& jetSql) {
    auto database = db::Database::open(dbPath);
    return database.openRecordset(jetSql)->recordCount();
}

void MainWindowTest::addStaff(const QString& id, const QString& password, const QString& level) {
    exec(QStringLiteral("INSERT INTO Analysts (ID, Spare1, Spare2) VALUES ('%1', '%2', '%3')")
             .arg(SQLQuote(id), SQLQuote(password), SQLQuote(level)));
}

int MainWindowTest::addCall(const QString& reference, const QString& status, const QString& assignee,
                            const QString& category) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(QStringLiteral("SELECT * from Calls"));
    rs->addNew();
    rs->setField(QStringLiteral("Username"), reference);
    rs->setField(QStringLiteral("Status"), status);
    rs->setField(QStringLiteral("User"), assignee);
    rs->setField(QStringLiteral("sp3"), category);
    rs->setField(QStringLiteral("Field1"), QStringLiteral("-----"));
    rs->setField(QStringLiteral("Date Opened"), env->clock.now().date());
    rs->setField(QStringLiteral("Time Opened"), env->clock.now().time());
    rs->update();
    return rs->field(QStringLiteral("Nom")).toInt();
}

void MainWindowTest::addCustomer(const QString& name, const QString& reference, const QString& phone,
                                 const QString& address, const QString& email) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(QStringLiteral("SELECT * from Customers"));
    rs->addNew();
    rs->setField(QStringLiteral("Name"), name);
    rs->setField(QStringLiteral("Username"), reference);
    rs->setField(QStringLiteral("Extension"), phone);
    rs->setField(QStringLiteral("Location"), address);
    rs->setField(QStringLiteral("Building"), email);
    rs->update();
}
