#include "options/themes.h"

#include "customers/inventory.h"
#include "mainwindow/form1.h"
#include "options/appearance.h"
#include "options/optionrules.h"
#include "options/themepresets.h"
#include "platform/desktop.h"
#include "platform/widgets/colour.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menumark.h"
#include "shared/gridformat.h"
#include "shared/shared.h"

#include <QAction>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

// The appearance and theme commands of the options window.

namespace {

// The five appearance colours, in the order the presets list them.
using Slot = Form1::Colour;
constexpr Slot Slots[] = {Slot::Back, Slot::Form, Slot::Panel, Slot::MenuBar, Slot::GridAlternate};

// The slot's preview takes the colour its variable now holds (a text that is not a colour changes nothing).
void showSlot(themes& w, Slot slot) {
    const QColor c = ui::vbColour(ui::form<Form1>().colour(slot));
    if (!c.isValid())
        return;
    switch (slot) {
    case Slot::Back:
        return ui::fillBackground(w.Picture2, c);
    case Slot::Form:
        return ui::fillBackground(w.Picture3, c);
    case Slot::Panel:
        ui::fillBackground(w.Picture5, c);
        return w.Grid1->setBackColorBkg(c);
    case Slot::MenuBar:
        return ui::fillBackground(w.Picture4, c);
    case Slot::GridAlternate:
        return w.Grid1->setBackColor(c);
    }
}

void chooseColour(themes& w, Slot slot) {
    const QColor current = ui::vbColour(ui::form<Form1>().colour(slot));
    const std::optional<QColor> chosen = ui::dialogs().chooseColour(current.isValid() ? current : QColor(Qt::white));
    if (!chosen || !chosen->isValid())
        return;
    ui::form<Form1>().setColour(slot, ui::vbColourText(*chosen));
    showSlot(w, slot);
}

void chooseBackground(themes& w) {
    const QString path =
        ui::dialogs().openFile(QStringLiteral("Pictures (*.jpg) | *.jpg;*.bmp"), QStringLiteral("Background Image"));
    if (path.isEmpty())
        return;
    // A file that is no picture would leave the main window without one at the next start.
    const QPixmap picture(path);
    if (picture.isNull()) {
        ui::MsgBox(QStringLiteral("That file cannot be shown as a picture."));
        return;
    }
    ui::form<Form1>().setBackgroundPicture(path);
    w.Image1->setPixmap(picture);
}

void showBars(const QStringList& files) {
    const ui::SettingsCommand storing;
    for (int i = 0; i < 4; ++i)
        WriteINI(QStringLiteral("Images"), QStringLiteral("Bar%1").arg(i + 1),
                 desktop::programFolder() + QStringLiteral("/Media/") + files[i]);
    ui::form<Form1>().paintBars();
}

void applyGridFont(themes& w, const appearance::GridFont& chosen) {
    const QFont font = chosen.font();
    const QColor colour = ui::vbColour(chosen.colour);
    ui::form<Form1>().setGridFont(font, colour);
    appearance::applyGridFont(w.Grid1, font, colour);
}

void chooseGridFont(themes& w) {
    Form1& main = ui::form<Form1>();
    const QFont shown = main.datagrid2->font();
    const std::optional<QFont> chosen = ui::dialogs().chooseFont(shown);
    if (!chosen || chosen->family().isEmpty())
        return;
    // Whole points, the fraction dropped; a font sized in pixels gives its size in points.
    const double points = chosen->pointSizeF() > 0 ? chosen->pointSizeF() : QFontInfo(*chosen).pointSizeF();
    if (points < 1)
        return;
    appearance::GridFont f;
    // The dialog names the family the machine resolved the shown one to ("Liberation Sans" for "Arial"): the
    // stored name changes only when the user picked another family.
    const bool sameFamily = chosen->family().compare(shown.family(), Qt::CaseInsensitive) == 0 ||
                            chosen->family() == QFontInfo(shown).family();
    f.name = sameFamily ? shown.family() : chosen->family();
    f.bold = chosen->bold();
    f.size = optionrules::withinRange(QString::number(static_cast<int>(points)), optionrules::GridFontSizeRange);
    // The font dialog offers no colour: the stored one stays.
    f.colour = ReadINI(QStringLiteral("Grid Fonts"), QStringLiteral("Colour"), QStringLiteral("0"));
    applyGridFont(w, f);
    // A closed inventory window reads the font when it opens; loading it now would keep a stale list.
    if (ui::isLoaded<Inventory>())
        appearance::applyGridFont(ui::form<Inventory>().Datagrid1, f.font(), ui::vbColour(f.colour));
    // Only what the user changed is stored: another copy's choice of the rest stands.
    const ui::SettingsCommand storing;
    main.storeGridFont(f);
}

void applyPreset(themes& w, const themepresets::Preset& preset) {
    const ui::SettingsCommand storing;
    Form1& main = ui::form<Form1>();
    const unsigned values[] = {preset.back, preset.form, preset.panel, preset.menuBar, preset.gridAlternate};
    for (int i = 0; i < 5; ++i) {
        main.setColour(Slots[i], themepresets::colourText(values[i]));
        showSlot(w, Slots[i]);
    }
    StripeGrid(*w.Grid1, main.gridcolour);
    w.Grid1->setRow(0); // no highlighted cell over the stripes the preset shows
    w.Grid1->setCol(0);
    if (preset.blueBars)
        w.barcolour(QStringLiteral("blue.jpg"));
    else
        w.mnuwarn_Click();
    main.setBackgroundPicture(themepresets::backImagePath(preset, desktop::programFolder()));
    if (main.backimagepath == QLatin1String("None"))
        w.Image1->clear();
    else if (const QPixmap picture = appearance::backgroundPicture(main.backimagepath); !picture.isNull())
        w.Image1->setPixmap(picture);
    if (preset.gridFont) {
        const appearance::GridFont standard;
        applyGridFont(w, standard);
        main.saveGridFont(standard);
    }
}

} // namespace

void themes::connectAppearance() {
    connect(mnubackimage, &QAction::triggered, this, [this] { chooseBackground(*this); });
    connect(mnubackcolor, &QAction::triggered, this, [this] { chooseColour(*this, Slot::Back); });
    connect(mnufc, &QAction::triggered, this, [this] { chooseColour(*this, Slot::Form); });
    connect(mnupc, &QAction::triggered, this, [this] { chooseColour(*this, Slot::Panel); });
    connect(mnumc, &QAction::triggered, this, [this] { chooseColour(*this, Slot::MenuBar); });
    connect(mnugac, &QAction::triggered, this, [this] { chooseColour(*this, Slot::GridAlternate); });

    connect(mnuwarn, &QAction::triggered, this, &themes::mnuwarn_Click);
    const std::pair<QAction*, const char*> bars[] = {
        {mnublue, "blue.jpg"},     {mnuyell, "yellow.jpg"},  {mnugrey, "grey.jpg"},  {mnublack, "black.jpg"},
        {mnuorange, "orange.jpg"}, {mnupurpl, "purple.jpg"}, {mnugreen, "green.jpg"}};
    for (const auto& [action, file] : bars)
        connect(action, &QAction::triggered, this, [this, file = QLatin1String(file)] { barcolour(file); });
    connect(mnugridfont, &QAction::triggered, this, [this] { chooseGridFont(*this); });

    QAction* const looks[] = {mnuthemepw, mnthemetoned, mnuthemems, mnuthemenat, mnunirv, mnudark};
    for (std::size_t i = 0; i < std::size(looks); ++i) {
        const themepresets::Preset& preset = themepresets::presets()[i];
        connect(looks[i], &QAction::triggered, this, [this, &preset] { applyPreset(*this, preset); });
    }
    connect(mnuthemed, &QAction::triggered, this, &themes::mnuthemed_Click);
}

void themes::showPreviews() {
    Form1& main = ui::form<Form1>();
    if (const QPixmap picture = appearance::backgroundPicture(main.backimagepath); !picture.isNull())
        Image1->setPixmap(picture);
    for (const Slot slot : Slots)
        showSlot(*this, slot);
}

void themes::barcolour(const QString& file) {
    showBars({file, file, file, file});
}

void themes::mnuwarn_Click() {
    showBars(themepresets::warningPattern());
}

void themes::mnuthemed_Click() {
    applyPreset(*this, themepresets::presets().back());
}
