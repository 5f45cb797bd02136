#include "customers/inventory.h"
#include "mainwindow/form1.h"
#include "options/themes.h"
#include "platform/ini.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/datagrid.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/screen.h"
#include "shared/shared.h"
#include "support/mainwindowfixture.h"

#include <QAction>
#include <QFile>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>

namespace {

class Appearance : public MainWindowTest {
protected:
    themes& open() {
        main->mnuthemes->trigger();
        return ui::form<themes>();
    }
    // As stored: reading through the program would write a missing key.
    QString ini(const char* section, const char* key) const {
        return env->ini(QLatin1String(section), QLatin1String(key));
    }
    QString bar(int i) const { return ini("Images", QStringLiteral("Bar%1").arg(i).toLatin1().constData()); }
    QString media(const QString& file) const { return env->programFolder + "/Media/" + file; }
    static QColor background(const QWidget* w) { return w->palette().color(QPalette::Window); }
    // The colour the middle of a statistics bar shows.
    QColor barColour(int i) const {
        const QImage image = main->barImages()[i]->pixmap().toImage();
        return image.isNull() ? QColor() : image.pixelColor(image.width() / 2, image.height() / 2);
    }
    static bool bluish(const QColor& c) { return c.blue() > c.red() + 40; }
    static bool orangish(const QColor& c) { return c.red() > c.blue() + 40; }
    std::array<QString, 5> colours() const {
        return {main->backcolour, main->formcolour, main->panelcolour, main->mbcolour, main->gridcolour};
    }
};

TEST_F(Appearance, ColourCommandsChangeTheVariablesAndPreviewsOnlyUntilOkay) {
    start();
    const QColor before = background(main->Picture1);
    themes& w = open();
    env->dialogs.chooseColourNext(QColor(255, 255, 255))
        .chooseColourNext(QColor(255, 0, 0))
        .chooseColourNext(std::nullopt)
        .chooseColourNext(QColor(0, 0, 255))
        .chooseColourNext(QColor(1, 2, 3));
    w.mnubackcolor->trigger();
    w.mnufc->trigger();
    w.mnupc->trigger(); // cancelled
    w.mnumc->trigger();
    w.mnugac->trigger();
    EXPECT_EQ(main->backcolour, "16777215");
    EXPECT_EQ(main->formcolour, "255");
    EXPECT_EQ(main->panelcolour, "15724527");
    EXPECT_EQ(main->mbcolour, "16711680");
    EXPECT_EQ(main->gridcolour, "197121");
    EXPECT_EQ(background(w.Picture2), QColor(255, 255, 255));
    EXPECT_EQ(background(w.Picture3), QColor(255, 0, 0));
    EXPECT_EQ(background(w.Picture4), QColor(0, 0, 255));
    EXPECT_EQ(w.Grid1->backColor(), QColor(1, 2, 3));
    EXPECT_EQ(background(main->Picture1), before);
    EXPECT_EQ(ini("Customisation", "Back-Colour"), "12632256");

    env->dialogs.chooseColourNext(QColor(0, 128, 0));
    w.mnupc->trigger();
    EXPECT_EQ(background(w.Picture5), QColor(0, 128, 0));
    EXPECT_EQ(w.Grid1->backColorBkg(), QColor(0, 128, 0));

    w.Command1->click();
    EXPECT_EQ(background(main->Picture1), QColor(255, 255, 255));
    EXPECT_EQ(main->datagrid2->backColorBkg(), QColor(0, 128, 0));
    EXPECT_EQ(ini("Customisation", "Back-Colour"), "16777215");
}

TEST_F(Appearance, BackgroundPictureTakesOnlyAFileThatIsAPicture) {
    start();
    themes& w = open();
    const QString old = main->backimagepath;
    QFile text(env->path("notes.jpg"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a picture");
    text.close();

    env->dialogs.chooseFileNext("").chooseFileNext(text.fileName());
    w.mnubackimage->trigger();
    w.mnubackimage->trigger();
    EXPECT_EQ(env->dialogs.fileFilters.first(), "Pictures (*.jpg) | *.jpg;*.bmp");
    EXPECT_EQ(main->backimagepath, old);
    EXPECT_EQ(env->dialogs.messageTexts(), QStringList{"That file cannot be shown as a picture."});

    const QString ice = env->programFolder + "/ice.jpg";
    env->dialogs.chooseFileNext(ice);
    w.mnubackimage->trigger();
    EXPECT_EQ(main->backimagepath, ice);
    EXPECT_EQ(w.Image1->pixmap().size(), QPixmap(ice).size());
    w.Command1->click();
    EXPECT_EQ(ini("Images", "BackImage"), ice);
}

TEST_F(Appearance, BarPicturesShowAndAreStoredAtOnceAndStayAfterCancel) {
    start();
    themes& w = open();
    w.mnuorange->trigger();
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bar(i + 1), media("orange.jpg"));
        EXPECT_TRUE(orangish(barColour(i))) << i;
    }
    w.mnupurpl->trigger();
    EXPECT_EQ(bar(4), media("purple.jpg"));

    // A picture gone from the Media folder: the key takes the path, the bars keep what they showed.
    const QColor shown = barColour(0);
    ASSERT_TRUE(QFile::remove(media("grey.jpg")));
    w.mnugrey->trigger();
    EXPECT_EQ(bar(1), media("grey.jpg"));
    EXPECT_EQ(barColour(0), shown);

    w.mnuwarn->trigger();
    w.Command2->click();
    EXPECT_EQ(QStringList({bar(1), bar(2), bar(3), bar(4)}),
              QStringList({media("blue.jpg"), media("green.jpg"), media("yellow.jpg"), media("orange.jpg")}));
    EXPECT_TRUE(bluish(barColour(0)));
    EXPECT_TRUE(orangish(barColour(3)));

    // The statistics, run again, paint what is stored.
    open().mnublue->trigger();
    main->stats();
    EXPECT_TRUE(bluish(barColour(3)));
}

TEST_F(Appearance, GridFontIsAppliedAndStoredAtOnceWithTheStoredColourAndWholePoints) {
    start();
    WriteINI("Grid Fonts", "Colour", "255"); // the font dialog has no colour: this one stays
    themes& w = open();
    const QFont before = main->datagrid2->font();
    env->dialogs.chooseFontNext(std::nullopt);
    w.mnugridfont->trigger();
    EXPECT_EQ(main->datagrid2->font(), before);
    EXPECT_EQ(ini("Grid Fonts", "Name"), "Arial");

    QFont chosen("DejaVu Serif");
    chosen.setPointSizeF(10.5);
    chosen.setBold(true);
    chosen.setItalic(true);
    env->dialogs.chooseFontNext(chosen);
    w.mnugridfont->trigger();
    for (QWidget* grid : {static_cast<QWidget*>(main->datagrid2), static_cast<QWidget*>(main->Datagrid1),
                          static_cast<QWidget*>(w.Grid1)}) {
        EXPECT_EQ(grid->font().family(), "DejaVu Serif") << grid->objectName().toStdString();
        EXPECT_EQ(grid->font().pointSize(), 10);
        EXPECT_TRUE(grid->font().bold());
        EXPECT_FALSE(grid->font().italic());
        EXPECT_EQ(grid->palette().color(QPalette::Text), QColor(255, 0, 0));
    }
    EXPECT_EQ(QStringList({ini("Grid Fonts", "Name"), ini("Grid Fonts", "Bold"), ini("Grid Fonts", "Size"),
                           ini("Grid Fonts", "Colour")}),
              QStringList({"DejaVu Serif", "True", "10", "255"}));

    // The inventory window takes the font when it is open, and is not loaded for it when it is closed.
    EXPECT_FALSE(ui::isLoaded<Inventory>());
    main->mnuinvserach->trigger();
    Inventory& inventory = ui::form<Inventory>();
    EXPECT_EQ(inventory.Datagrid1->font().family(), "DejaVu Serif");
    QFont other("DejaVu Sans Mono");
    other.setPointSize(12);
    env->dialogs.chooseFontNext(other);
    w.mnugridfont->trigger();
    EXPECT_EQ(inventory.Datagrid1->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(inventory.Datagrid1->font().pointSize(), 12);
    // "Default" leaves an open inventory window's font until it next loads.
    w.mnuthemed->trigger();
    EXPECT_EQ(inventory.Datagrid1->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(main->datagrid2->font().family(), "Arial");

    w.Command2->click();
    WriteINI("Grid Fonts", "Name", "DejaVu Serif");
    closeMain();
    start();
    EXPECT_EQ(main->datagrid2->font().family(), "DejaVu Serif");
    EXPECT_EQ(main->Datagrid1->palette().color(QPalette::Text), QColor(0, 0, 0));
}

// Two copies on one settings file: the font dialog stores only what this copy changed, so the other copy's newer
// face and size stand; a preset stores the font whole, and what this copy holds follows it.
TEST_F(Appearance, TheGridFontStoresOnlyWhatThisCopyChanged) {
    start();
    themes& w = open();
    const IniFile otherCopy(qv::inipath());
    const auto choose = [&](bool bold, int size) { // in the face this copy shows: Arial
        QFont f = main->datagrid2->font();
        f.setBold(bold);
        f.setPointSize(size);
        env->dialogs.chooseFontNext(f);
        w.mnugridfont->trigger();
        return QStringList({ini("Grid Fonts", "Name"), ini("Grid Fonts", "Bold"), ini("Grid Fonts", "Size")});
    };
    ASSERT_TRUE(otherCopy.write("Grid Fonts", "Name", "DejaVu Serif"));
    ASSERT_TRUE(otherCopy.write("Grid Fonts", "Size", "14"));
    EXPECT_EQ(choose(true, 10), QStringList({"DejaVu Serif", "True", "14"}));

    w.mnuthemed->trigger(); // Arial 10, plain, stored whole
    ASSERT_TRUE(otherCopy.write("Grid Fonts", "Bold", "True"));
    EXPECT_EQ(choose(false, 12), QStringList({"Arial", "True", "12"}));
}

TEST_F(Appearance, ARowHeightChosenAfterALargeFontKeepsTheTextWholeAndComesBackWithASmallerFont) {
    start();
    themes& w = open();
    QFont big("DejaVu Serif");
    big.setPointSize(24);
    env->dialogs.chooseFontNext(big);
    w.mnugridfont->trigger();
    env->dialogs.type("286");
    w.mnugrh->trigger();
    for (QTableView* grid : {static_cast<QTableView*>(main->datagrid2), static_cast<QTableView*>(main->Datagrid1)})
        EXPECT_GT(grid->verticalHeader()->defaultSectionSize(), grid->fontMetrics().height())
            << grid->objectName().toStdString();
    // With a small font again the rows take the chosen height as their own.
    QFont small("DejaVu Sans");
    small.setPointSize(6);
    env->dialogs.chooseFontNext(small);
    w.mnugridfont->trigger();
    EXPECT_EQ(main->Datagrid1->verticalHeader()->defaultSectionSize(), ui::twipsToPixels(286));
}

struct PresetCase {
    const char* item;
    std::array<const char*, 5> colours;
    const char* picture;
    bool blueBars;
};

const PresetCase presetCases[] = {
    {"mnuthemepw", {"16777215", "16777215", "16777215", "16777215", "16777173"}, "/ice.jpg", true},
    {"mnthemetoned", {"13959124", "16777172", "16777172", "13959124", "16766122"}, "/ice.jpg", false},
    {"mnuthemems", {"16773091", "16773863", "15785936", "14929077", "15785936"}, "/ice.jpg", true},
    {"mnuthemenat", {"11920332", "14087654", "14087654", "13957111", "14929077"}, "/default.jpg", false},
    {"mnunirv", {"13424085", "16056319", "13424085", "10717578", "16056319"}, "/default.jpg", false},
    {"mnudark", {"15395556", "13551809", "15198431", "5000268", "11776432"}, nullptr, false},
    {"mnuthemed", {"12632256", "15724527", "15724527", "15724527", "15921906"}, "/default.jpg", false},
};

TEST_F(Appearance, EveryPresetSetsItsColoursPictureAndBarsAndOkayKeepsThemAcrossARestart) {
    start();
    for (const PresetCase& p : presetCases) {
        SCOPED_TRACE(p.item);
        themes& w = open();
        const QColor mainBack = background(main->Picture1);
        w.findChild<QAction*>(p.item)->trigger();
        const std::array<QString, 5> expected = {p.colours[0], p.colours[1], p.colours[2], p.colours[3], p.colours[4]};
        EXPECT_EQ(colours(), expected);
        EXPECT_EQ(background(w.Picture3), ui::vbColour(QString(p.colours[1])));
        EXPECT_EQ(background(w.Picture4), ui::vbColour(QString(p.colours[3])));
        EXPECT_EQ(w.Grid1->cellBackColor(2, 1), ui::vbColour(QString(p.colours[4]))); // re-striped
        EXPECT_EQ(w.Grid1->row(), 0); // no highlighted cell over the sample's stripes
        EXPECT_EQ(main->backimagepath, p.picture ? env->programFolder + p.picture : QStringLiteral("None"));
        EXPECT_EQ(w.Image1->pixmap().isNull(), p.picture == nullptr);
        const QString last = p.blueBars ? media("blue.jpg") : media("orange.jpg");
        EXPECT_EQ(QStringList({bar(1), bar(4)}), QStringList({media("blue.jpg"), last}));
        EXPECT_EQ(background(main->Picture1), mainBack); // until Okay

        w.Command1->click();
        processEvents();
        EXPECT_EQ(background(main->Picture1), ui::vbColour(QString(p.colours[0])));
        EXPECT_EQ(background(main->Picture4), ui::vbColour(QString(p.colours[3])));
        // Button captions stay readable on the menu-bar colour ("Dark" has dark buttons).
        const QPalette button = main->Command12->palette();
        EXPECT_GT(
            std::abs(qGray(button.color(QPalette::Button).rgb()) - qGray(button.color(QPalette::ButtonText).rgb())),
            100);
        closeMain();
        start();
        EXPECT_EQ(colours(), expected);
        EXPECT_EQ(bar(4), last);
        // The restarted window looks as Okay left it.
        EXPECT_EQ(background(main->Picture17), ui::vbColour(QString(p.colours[1])));
        EXPECT_EQ(main->datagrid2->backColorBkg(), ui::vbColour(QString(p.colours[2])));
        EXPECT_EQ(main->Datagrid1->palette().color(QPalette::Base), ui::vbColour(QString(p.colours[4])));
    }
}

TEST_F(Appearance, DefaultPutsBackEveryValueOfAFirstStart) {
    start();
    const std::array<QString, 5> first = colours();
    const QString picture = main->backimagepath;
    const QColor back = background(main->Picture1);
    // A preset and Cancel: the main window keeps its colours, while the bars are in force already.
    open().mnuthemepw->trigger();
    ui::form<themes>().Command2->click();
    EXPECT_EQ(background(main->Picture1), back);
    EXPECT_TRUE(bluish(barColour(3)));

    themes& w = open();
    const int callRows = main->datagrid2->verticalHeader()->defaultSectionSize();
    const int customerRows = main->Datagrid1->verticalHeader()->defaultSectionSize();
    QFont big("DejaVu Serif");
    big.setPointSize(24);
    env->dialogs.chooseFontNext(big);
    w.mnugridfont->trigger();
    // Rows grow to show the larger text whole.
    for (QTableView* grid : {static_cast<QTableView*>(main->datagrid2), static_cast<QTableView*>(main->Datagrid1)})
        EXPECT_GT(grid->verticalHeader()->defaultSectionSize(), grid->fontMetrics().height());
    w.mnudark->trigger();
    w.mnuthemed->trigger();
    EXPECT_EQ(main->datagrid2->verticalHeader()->defaultSectionSize(), callRows);
    EXPECT_EQ(main->Datagrid1->verticalHeader()->defaultSectionSize(), customerRows);
    EXPECT_EQ(colours(), first);
    EXPECT_EQ(main->backimagepath, picture);
    EXPECT_EQ(main->datagrid2->font().family(), "Arial");
    EXPECT_EQ(main->Datagrid1->font().pointSize(), 10);
    EXPECT_EQ(QStringList({ini("Grid Fonts", "Name"), ini("Grid Fonts", "Bold"), ini("Grid Fonts", "Size"),
                           ini("Grid Fonts", "Colour")}),
              QStringList({"Arial", "False", "10", "0"}));
    EXPECT_TRUE(orangish(barColour(3)));
}

} // namespace
