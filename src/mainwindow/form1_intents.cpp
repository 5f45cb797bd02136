#include "mainwindow/form1.h"

#include "mainwindow/statusbar.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QTimer>

namespace {

void program(const QString& key, const QString& value) {
    WriteINI(QStringLiteral("Program"), key, value);
}

void callGrid(const QString& key, const QString& value) {
    WriteINI(QStringLiteral("Call Grid"), key, value);
}

} // namespace

void Form1::applyOption(Option option, const QString& value) {
    const ui::SettingsCommand storing;
    const bool on = value == QLatin1String("True");
    switch (option) {
    case Option::LowRes:
        program(QStringLiteral("Force Low Res"), value);
        lowres = on;
        return;
    case Option::IncludeUnassigned:
        program(QStringLiteral("Include Unassigned Calls in Workload"), value);
        includeunassigned = value;
        return;
    case Option::UnassignedDefault:
        program(QStringLiteral("Unassigned by default"), value);
        unassigneddefault = value;
        return;
    case Option::Audit:
        program(QStringLiteral("Record Audit Information"), value);
        auditon = on;
        return;
    case Option::NotesAutoNew:
        notesautonew = value == QLatin1String("1") ? 1 : 0;
        program(QStringLiteral("Call Notes Auto-New"), QString::number(notesautonew));
        return;
    case Option::PieMode:
        Picture7->setVisible(true);
        program(QStringLiteral("Piechart"), value);
        piemode = value;
        stats();
        return;
    case Option::HomeStats:
        homestats = value;
        program(QStringLiteral("Home Stats Format"), value);
        stats();
        return;
    case Option::Stats3Status:
        stats3status = value;
        program(QStringLiteral("Stats 3"), value);
        return;
    case Option::AttachPath:
        attachpath = value;
        program(QStringLiteral("Attachments Path"), value);
        return;
    case Option::SpareFieldName:
        datagrid2->setTextMatrix(0, 11, value);
        Label36->setText(value);
        program(QStringLiteral("Spare Field Name"), value);
        return;
    case Option::DropDownWidth:
        program(QStringLiteral("Customer Drop-Down Width"), value);
        SetDropDownWidth(Combo6, value.toInt());
        return;
    case Option::AlternateRows:
        alternaterows = value;
        callGrid(QStringLiteral("Alternate Rows"), value);
        // Stripes are painted when the list is filled, so taking them away needs a fresh fill.
        refill();
        return;
    case Option::MaxCalls:
        callGrid(QStringLiteral("Maximum number of calls displayed"), value);
        maxcalls = value.toInt();
        return;
    case Option::AutoRefresh:
        if (on)
            Timer3->start();
        else
            Timer3->stop();
        callGrid(QStringLiteral("Auto-Refresh"), value);
        return;
    case Option::SortOrder:
        sortorder = value;
        Command11_Click();
        return;
    case Option::SortColumn:
        sortcolumn = value;
        callGrid(QStringLiteral("Sort Column"), value);
        Command11_Click();
        return;
    case Option::StatusStyle:
        // Takes effect the next time the list is formatted; nothing is redrawn here.
        statusstyle = value;
        return;
    }
}

QString Form1::colour(Colour which) const {
    switch (which) {
    case Colour::Back:
        return backcolour;
    case Colour::Form:
        return formcolour;
    case Colour::Panel:
        return panelcolour;
    case Colour::MenuBar:
        return mbcolour;
    case Colour::GridAlternate:
        break;
    }
    return gridcolour;
}

void Form1::setColour(Colour which, const QString& text) {
    switch (which) {
    case Colour::Back:
        backcolour = text;
        return;
    case Colour::Form:
        formcolour = text;
        return;
    case Colour::Panel:
        panelcolour = text;
        return;
    case Colour::MenuBar:
        mbcolour = text;
        return;
    case Colour::GridAlternate:
        gridcolour = text;
        return;
    }
}

void Form1::setBackgroundPicture(const QString& path) {
    backimagepath = path;
}

void Form1::showCallColumn(int column, bool shown) {
    datagrid2->setColWidth(column, shown ? 1500 : 0);
}

void Form1::monitorOn(const QString& folder) {
    mnumonitor->setChecked(true);
    monitorpath = folder;
    // The tick count carries on: the first timed write comes when it next reaches 600.
    if (!Timer2->isActive())
        Timer2->start();
    saver();
    writemonitor();
}

void Form1::monitorOff() {
    mnumonitor->setChecked(false);
    Timer2->stop();
    saver();
}

void Form1::showActivity(const QString& text) {
    StatusBar1->setPanel(5, text);
}

void Form1::showCallState(const QString& text) {
    StatusBar1->setPanel(4, text);
}

const QString& Form1::reloadHomeStats() {
    homestats = ReadINI(QStringLiteral("Program"), QStringLiteral("Home Stats Format"), QStringLiteral("Me"));
    return homestats;
}

bool Form1::isAdministrator() const {
    return accessLevel() == QLatin1String("Administrator");
}
