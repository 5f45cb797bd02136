#include "support/mainwindowfixture.h"

#include "mainwindow/form1.h"
#include "platform/db/database.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/forms.h"
#include "shared/schema.h"
#include "shared/shared.h"
#include "support/fontfit.h"

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

QVariant MainWindowTest::addRow(const QString& table, std::initializer_list<std::pair<const char*, QVariant>> fields) {
    auto database = db::Database::open(dbPath);
    auto rs = database.openRecordset(QStringLiteral("SELECT * from ") + table);
    rs->addNew();
    for (const auto& [name, value] : fields)
        rs->setField(QLatin1String(name), value);
    rs->update();
    return rs->field(0);
}

int MainWindowTest::addCall(const QString& reference, const QString& status, const QString& assignee,
                            const QString& category) {
    return addRow(QStringLiteral("Calls"), {{"Username", reference},
                                            {"Status", status},
                                            {"User", assignee},
                                            {"sp3", category},
                                            {"Field1", QStringLiteral("-----")},
                                            {"Date Opened", env->clock.now().date()},
                                            {"Time Opened", env->clock.now().time()}})
        .toInt();
}

void MainWindowTest::addCustomer(const QString& name, const QString& reference, const QString& phone,
                                 const QString& address, const QString& email) {
    addRow(QStringLiteral("Customers"),
           {{"Name", name}, {"Username", reference}, {"Extension", phone}, {"Location", address}, {"Building", email}});
}

void LargeFontsMainWindowTest::SetUp() {
    MainWindowTest::SetUp();
    m_fonts = std::make_unique<LargeFonts>(*env, GetParam());
}

void LargeFontsMainWindowTest::TearDown() {
    MainWindowTest::TearDown();
    m_fonts.reset();
}

Form1& LargeFontsMainWindowTest::startBig() {
    Form1& f = start();
    f.show();
    processEvents();
    return f;
}

std::string LargeFontsMainWindowTest::when(const std::string& what) const {
    return what + " in " + GetParam().toStdString();
}
