#include "support/input.h"
#include "support/testenv.h"

#include "support/fontfit.h"

#include "platform/db/database.h"
#include "platform/db/datacontrol.h"
#include "platform/db/recordset.h"
#include "platform/widgets/binding.h"

#include "platform/widgets/colour.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/printer.h"
#include "platform/widgets/screen.h"
#include "platform/widgets/shell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

TEST(Colour, DecimalAndHexTextsReadAsBgrValuesAndWriteBackAsDecimal) {
    ensureApp();
    EXPECT_EQ(ui::vbColour("12632256"), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(ui::vbColour("255"), QColor(255, 0, 0));
    EXPECT_EQ(ui::vbColour(" 16711680 "), QColor(0, 0, 255));
    EXPECT_EQ(ui::vbColour("&HFF0000"), QColor(0, 0, 255));
    EXPECT_EQ(ui::vbColour("&hffffff"), QColor(255, 255, 255));
    EXPECT_EQ(ui::vbColour("&H00C0C0C0&"), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_EQ(ui::vbColour("0"), QColor(0, 0, 0));
    // System colours: the window background, in hex and as the signed number the settings may hold.
    const QColor window = QGuiApplication::palette().color(QPalette::Base);
    EXPECT_EQ(ui::vbColour("&H80000005&"), window);
    EXPECT_EQ(ui::vbColour("-2147483643"), window);
    for (const char* bad : {"", "---", "None", "16777216", "-1", "&H", "&H1FFFFFF", "12.5", "&HGG"})
        EXPECT_FALSE(ui::vbColour(bad).isValid()) << bad;

    EXPECT_EQ(ui::vbColourText(QColor(0xC0, 0xC0, 0xC0)), "12632256");
    EXPECT_EQ(ui::vbColourText(QColor(0x12, 0x34, 0x56)), QString::number(0x563412));
    EXPECT_EQ(ui::vbColourText(QColor()), "");
    EXPECT_EQ(ui::vbColour(ui::vbColourText(QColor(1, 2, 3))), QColor(1, 2, 3));
}

TEST(Dialogs, MessageAndInputBoxesGoThroughTheRegisteredDialogsWithTheProgramTitle) {
    TestEnv env;
    env.dialogs.answer(ui::Answer::Cancel).answer(ui::Answer::No).type("O'Brien");
    EXPECT_EQ(ui::MsgBox("No value entered!"), ui::Answer::Ok);
    EXPECT_EQ(ui::MsgBox("Are you sure you want to delete this record?.", ui::Buttons::OkCancel), ui::Answer::Cancel);
    EXPECT_EQ(ui::MsgBox("Do you want to?", ui::Buttons::YesNo, "Other"), ui::Answer::No);
    EXPECT_EQ(ui::MsgBox("Again?", ui::Buttons::YesNo), ui::Answer::Yes); // unscripted
    EXPECT_EQ(ui::InputBox("Enter Customer Name"), "O'Brien");
    EXPECT_EQ(ui::InputBox("Enter Support Staff user name", "Add new Support Staff", "x"), ""); // unscripted

    ASSERT_EQ(env.dialogs.messages.size(), 4u);
    EXPECT_EQ(env.dialogs.messages[0].title, "Quorvane");
    EXPECT_EQ(env.dialogs.messages[1].buttons, ui::Buttons::OkCancel);
    EXPECT_EQ(env.dialogs.messages[2].title, "Other");
    EXPECT_EQ(env.dialogs.lastMessage(), "Again?");
    EXPECT_TRUE(env.dialogs.shown("No value entered!"));
    ASSERT_EQ(env.dialogs.inputs.size(), 2u);
    EXPECT_EQ(env.dialogs.inputs[0].title, "Quorvane");
    EXPECT_EQ(env.dialogs.inputs[1].defaultText, "x");
}

class BoxFit : public ::testing::TestWithParam<QString> {};

TEST_P(BoxFit, BoxesWrapTheirTextAndKeepEveryButtonOnA1024x768ScreenAtAnElevenPointDesktopFont) {
    TestEnv env;
    env.screen.size = QSize(1024, 768);
    DesktopFont desktop(GetParam(), 11);
    const QString words = QString("The first stats bar shows All Calls Logged Today. Type in the status: ").repeated(4);
    const QString run = QString("x").repeated(600);                            // no break chance at all
    const QString tall = QString("A line of a long message.\n").repeated(200); // taller than any screen
    auto fitsWithButtons = [](QDialog& box, const QString& what) {
        box.show();
        QApplication::processEvents();
        EXPECT_LE(box.frameGeometry().width(), 1024) << what.left(30).toStdString();
        EXPECT_LE(box.frameGeometry().height(), 768) << what.left(30).toStdString();
        const QList<QAbstractButton*> buttons = box.findChildren<QAbstractButton*>();
        EXPECT_FALSE(buttons.isEmpty());
        for (QAbstractButton* b : buttons) {
            const QRect r(b->mapTo(&box, QPoint(0, 0)), b->size());
            EXPECT_TRUE(box.rect().contains(r)) << b->text().toStdString() << " " << what.left(30).toStdString();
        }
    };
    for (const QString& text : {words, run, tall, words + run}) {
        auto input = ui::inputBox(text, "Quorvane", "Pending", false, nullptr);
        fitsWithButtons(*input, text);
        EXPECT_EQ(input->textValue(), "Pending");
        auto box = ui::messageBox(text, ui::Buttons::YesNoCancel, "Quorvane", nullptr);
        fitsWithButtons(*box, text);
        // A text cut to fit keeps the whole of it in the tooltip; every letter shown is the text's own.
        QString shown = box->text();
        shown.remove(QChar(0x200B));
        if (shown.endsWith("...")) {
            EXPECT_EQ(box->toolTip(), Qt::convertFromPlainText(text)); // shown as text, whatever it holds
            EXPECT_TRUE(text.startsWith(shown.chopped(3)));
        } else {
            EXPECT_EQ(shown, text);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Families, BoxFit, ::testing::ValuesIn(fitFamilies()), familyTestName);

// A box wraps its text with invisible characters (none breaks inside "mm/dd/yyyy", a long run breaks); what is
// copied from it, by the keys or by the label's menu, is the text as given.
TEST(Dialogs, CopyingFromAMessageGivesExactlyItsText) {
    ensureApp();
    const QString path = "/srv/helpdesk/" + QString("settings-folder-").repeated(4) + "/quorvane.ini";
    const QString text =
        "Type the date as mm/dd/yyyy.\nCould not store this setting in " + path + "; nothing was stored.";
    auto box = ui::messageBox(text, ui::Buttons::Ok, "Quorvane", nullptr);
    auto* label = box->findChild<QLabel*>("qt_msgbox_label");
    ASSERT_TRUE(label && label->text().contains(QChar(0x2060)) && label->text().contains(QChar(0x200B)));
    label->setSelection(0, static_cast<int>(label->text().size()));
    QKeyEvent copyKeys(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier, "c");
    QApplication::sendEvent(label, &copyKeys);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    const int from = static_cast<int>(label->text().indexOf("/srv"));
    label->setSelection(from, static_cast<int>(label->text().indexOf(';') - from));
    QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(label, &menuAsked);
    auto* menu = label->findChild<QMenu*>();
    ASSERT_TRUE(menu);
    menu->actions().first()->trigger(); // Copy
    EXPECT_EQ(QGuiApplication::clipboard()->text(), path);
}

TEST(Dialogs, AnInputBoxShowsTheStartOfALongAnswerGivenBeforehandAllOfItSelected) {
    ensureApp();
    const QString path = QString("/srv/helpdesk/shared/monitor/pages/").repeated(6);
    auto input = ui::inputBox("Folder?", "Quorvane", path, false, nullptr);
    input->show();
    processEvents();
    auto* answer = input->findChild<QLineEdit*>();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->selectedText(), path); // typing still replaces it
    EXPECT_EQ(answer->cursorPosition(), 0);
}

TEST(Dialogs, TheFontDialogOpensAtTheSizeAndWeightAskedForEvenWithoutTheFace) {
    ensureApp();
    QFont arial("Arial", 8);
    arial.setBold(true);
    for (const QFont& asked : {arial, QFont("No Such Face Anywhere", 12)}) {
        const QFont shown = ui::fontDialog(asked, nullptr)->currentFont();
        EXPECT_TRUE(QFontDatabase::hasFamily(shown.family())) << shown.family().toStdString();
        EXPECT_EQ(shown.pointSize(), asked.pointSize());
        EXPECT_EQ(shown.bold(), asked.bold());
    }
}

TEST(Dialogs, TheFontDialogOffersOnlyWhatIsStoredAndOpensUpright) {
    ensureApp();
    for (const QString& family : fitFamilies()) {
        for (const bool bold : {false, true}) {
            const std::string when = family.toStdString() + (bold ? " bold" : " plain");
            QFont asked(family, 10);
            asked.setBold(bold);
            asked.setUnderline(true); // never from the stored font, and not kept when passed in
            const std::unique_ptr<QFontDialog> dialog = ui::fontDialog(asked, nullptr);
            dialog->show();
            for (const QCheckBox* effect : dialog->findChildren<QCheckBox*>())
                EXPECT_FALSE(effect->isVisibleTo(dialog.get())) << effect->text().toStdString() << " " << when;
            // The sample keeps room for its text.
            if (const auto* sample = dialog->findChild<QWidget*>("qt_fontDialog_sampleEdit")) {
                EXPECT_GE(sample->height(), sample->fontMetrics().height()) << when;
            }

            const QFont shown = dialog->currentFont();
            EXPECT_EQ(QFontInfo(shown).family(), QFontInfo(asked).family()) << when;
            EXPECT_EQ(shown.pointSize(), 10) << when;
            EXPECT_EQ(shown.bold(), bold) << when;
            EXPECT_EQ(QFontInfo(shown).style(), QFont::StyleNormal) << when << " " << shown.styleName().toStdString();
            EXPECT_EQ(QFontInfo(shown).bold(), bold) << when;
            EXPECT_FALSE(shown.underline() || shown.strikeOut()) << when;
            dialog->accept();
            EXPECT_FALSE(dialog->selectedFont().underline() || dialog->selectedFont().strikeOut()) << when;
        }
    }
}

TEST(Dialogs, CommonDialogFilterTextBecomesQtFilters) {
    EXPECT_EQ(ui::qtFileFilter("Pictures (*.jpg;*.gif)|*.jpg;*.gif|All files|*.*"),
              "Pictures (*.jpg *.gif);;All files (*.*)");
    // A trailing bar and a description whose brackets differ from the patterns.
    EXPECT_EQ(ui::qtFileFilter("All image files (*.bmp,*.jpg,*.pcx)|*.BMP;*.JPG;*.PCX|"),
              "All image files (*.bmp,*.jpg,*.pcx) (*.BMP *.JPG *.PCX)");
    EXPECT_EQ(ui::qtFileFilter(""), "");
}

TEST(Shell, PathsBecomeFileUrlsAndLinksStayAsTheyAre) {
    EXPECT_EQ(ui::shellUrl("/tmp/My Documents/report.htm"), QUrl::fromLocalFile("/tmp/My Documents/report.htm"));
    const QUrl mail = ui::shellUrl("mailto:ann@example.com?Subject=");
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_EQ(mail.path(), "ann@example.com");
    EXPECT_EQ(ui::shellUrl("mailto:?Subject=").scheme(), "mailto"); // an empty address
    EXPECT_EQ(ui::shellUrl("http://example.com/a?b=c").toString(), "http://example.com/a?b=c");
    EXPECT_TRUE(ui::shellUrl("report.htm").isLocalFile());
}

TEST(Shell, TextFilesGoToTheShellAndAMissingSystemToolIsReported) {
    TestEnv env;
    EXPECT_TRUE(ui::openInTextEditor(env.path("quorvane.ini")));
    EXPECT_EQ(env.shell.lastOpened(), env.path("quorvane.ini"));
    env.shell.result = false;
    // Either no tool is installed or the shell refused it: both are a failure the caller reports.
    EXPECT_FALSE(ui::systemInformation());
}

TEST(Screen, TwipsRoundToTheNearestPixel) {
    EXPECT_EQ(ui::twipsToPixels(200), 13);
    EXPECT_EQ(ui::twipsToPixels(2200), 147);
    EXPECT_EQ(ui::twipsToPixels(7), 0);
    EXPECT_EQ(ui::twipsToPixels(8), 1);
    EXPECT_EQ(ui::twipsToPixels(-300), -20);
    EXPECT_EQ(ui::pixelsToTwips(64), 960);
}

TEST(Printer, PrintsPlainTextToAPdfFile) {
    TestEnv env;
    ui::QtPrinter printer;
    const QString pdf = env.path("sheet.pdf");
    printer.setPdfOutput(pdf);
    ASSERT_TRUE(printer.printText("Quorvane Call Sheet\nCall: 12\n", QFont("Arial", 10)));
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(4).startsWith("%PDF"));
}

TEST(Fonts, TheTestsMeasureWithTheProjectsFontsArialBeingLiberationSansAndTheDesktopDejaVuSans) {
    ensureApp();
    // Without tests/fonts.conf (FONTCONFIG_FILE) and its font files a window's size would depend on the machine.
    EXPECT_EQ(QFontInfo(QFont("Arial", 10)).family(), "Liberation Sans");
    EXPECT_EQ(QFontInfo(QFont("DejaVu Sans", 10)).family(), "DejaVu Sans");
    EXPECT_EQ(QFontInfo(QApplication::font()).family(), "DejaVu Sans");
}

TEST(CutText, AChosenEntryShowsItsStartWhileConfirmedTypingKeepsItsCursor) {
    ensureApp();
    QComboBox box;
    box.setEditable(true);
    box.resize(80, box.sizeHint().height());
    ui::showChoiceFromStart(&box);
    const QString longEntry = QString("ClassificationGroupName").repeated(3);
    box.addItems({longEntry, "Short"});
    EXPECT_TRUE(showsStart(&box));
    box.setCurrentIndex(1);
    box.setCurrentIndex(0);
    EXPECT_TRUE(showsStart(&box));

    // Typed to the end of an entry and confirmed: the cursor stays where the typing left it.
    box.setCurrentIndex(-1);
    box.lineEdit()->clear();
    box.lineEdit()->insert("Short"); // typed: marked modified
    box.setCurrentIndex(1);
    EXPECT_EQ(box.lineEdit()->cursorPosition(), 5);

    QLineEdit edit;
    ui::setTextFromStart(&edit, longEntry);
    EXPECT_TRUE(showsStart(&edit));
    EXPECT_EQ(edit.text(), longEntry);
}

TEST(Binding, BoundBoxesShowTheStartOfWhatTheyAreGivenAndKeepTheCursorOfWhatTheUserTypes) {
    ensureApp();
    TestEnv env;
    const QString path = env.path("binding.qvdb");
    const QString longName = "Barbara Anderson of the Northern Accounts Office";
    {
        auto d = db::Database::create(path);
        d.execute("CREATE TABLE Customers (Name text(100), Username text(50))");
        d.execute("INSERT INTO Customers VALUES ('" + longName + "', 'BANDERSON-NORTHERN-ACCOUNTS-OFFICE')");
        d.execute("INSERT INTO Customers VALUES ('Cy Cole', 'CC3')");
    }
    db::DataControl dc;
    dc.setConnectionString(db::DataControl::connectionStringFor(path));
    dc.setRecordSource("Select * from Customers ORDER by Name");
    dc.refresh();
    QWidget window;
    QLineEdit name(&window);
    QComboBox reference(&window);
    reference.setEditable(true);
    for (QWidget* box : {static_cast<QWidget*>(&name), static_cast<QWidget*>(&reference)})
        box->setFixedWidth(90);
    reference.move(0, 40);
    window.show();
    ui::bindField(&name, &dc, "Name");
    ui::bindField(&reference, &dc, "Username");
    auto startsShown = [&](const char* when) {
        for (QWidget* box : {static_cast<QWidget*>(&name), static_cast<QWidget*>(&reference)}) {
            EXPECT_FALSE(showsWhole(box)) << when;
            EXPECT_TRUE(showsStart(box)) << box->metaObject()->className() << " " << when;
        }
    };
    startsShown("bound");
    dc.recordset()->moveNext();
    dc.recordset()->movePrevious();
    startsShown("moved back");

    // Typing at the end stays at the end, through storing the row, which shows the same text again.
    name.setCursorPosition(longName.size());
    typeText(&name, "s");
    reference.lineEdit()->setCursorPosition(4);
    typeText(reference.lineEdit(), "X");
    dc.recordset()->update();
    EXPECT_EQ(name.text(), longName + "s");
    EXPECT_EQ(name.cursorPosition(), longName.size() + 1);
    EXPECT_EQ(reference.currentText(), "BANDXERSON-NORTHERN-ACCOUNTS-OFFICE");
    EXPECT_EQ(reference.lineEdit()->cursorPosition(), 5);
}

TEST(Binding, ABoxTakesNoMoreThanItsColumnTypedOrPastedCutBetweenWholeCharactersAndStoresWhatItShows) {
    ensureApp();
    TestEnv env;
    const QString path = env.makeDatabase();
    db::Database::open(path).execute("INSERT INTO Customers (Name, Username) VALUES ('Cy Cole', 'CC3')");
    db::DataControl dc;
    dc.setConnectionString(db::DataControl::connectionStringFor(path));
    dc.setRecordSource("Select * from Customers");
    dc.refresh();
    QLineEdit name, notes; // text(100), Memo
    QComboBox building;    // text(100), typed into
    building.setEditable(true);
    ui::bindField(&name, &dc, "Name");
    ui::bindField(&notes, &dc, "Notes");
    ui::bindField(&building, &dc, "Building");
    auto paste = [](QLineEdit* box, const QString& text) {
        QGuiApplication::clipboard()->setText(text);
        box->selectAll();
        box->paste();
    };
    auto stored = [&](const char* column) {
        dc.recordset()->update();
        return db::Database::open(path).openRecordset(QString("SELECT %1 FROM Customers").arg(column))->field(0);
    };

    paste(&name, QString(200, 'x'));
    name.setCursorPosition(50);
    typeText(&name, "yz");
    EXPECT_EQ(name.text(), QString(100, 'x'));
    // The database counts characters, so a pair of UTF-16 halves is one; a cut never leaves half of one.
    const QString face = QString::fromUtf8("\xF0\x9F\x98\x80");
    paste(&name, QString(99, 'a') + face + face);
    EXPECT_EQ(name.text(), QString(99, 'a') + face);
    EXPECT_EQ(stored("Name").toString(), name.text());
    paste(building.lineEdit(), face.repeated(101));
    EXPECT_EQ(building.currentText(), face.repeated(100));
    EXPECT_EQ(stored("Building").toString(), face.repeated(100));
    paste(&notes, QString(20000, 'n'));
    EXPECT_EQ(stored("Notes").toString().size(), 20000);

    // An input box asking for a field takes no more either.
    auto input = ui::inputBox("Enter Support Staff user name", "Add new Support Staff", "", false, nullptr, 50);
    paste(input->findChild<QLineEdit*>(), QString(60, 'c'));
    EXPECT_EQ(input->textValue(), QString(50, 'c'));
}
