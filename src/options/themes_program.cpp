#include "mainwindow/form1.h"
#include "options/optionrules.h"
#include "options/statuses.h"
#include "options/themes.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menumark.h"
#include "platform/widgets/screen.h"
#include "shared/shared.h"

#include <QAction>
#include <QLabel>
#include <QMenu>

using ui::Answer;
using ui::Buttons;
using ui::MsgBox;

namespace {

void program(const char* key, const QString& value) {
    WriteINI(QStringLiteral("Program"), QLatin1String(key), value);
}

} // namespace

void themes::connectProgramOptions() {
    Form1* main = &ui::form<Form1>();

    connect(mnuflr, &QAction::triggered, this, [this, main] {
        const ui::SettingsCommand storing; // told after the restart note
        const bool on = ui::flipMark(mnuflr);
        main->applyOption(Form1::Option::LowRes, ui::markText(on));
        MsgBox(QStringLiteral("You must restart Quorvane before this takes effect"));
    });
    connect(mnuinclude, &QAction::triggered, this, [this, main] {
        main->applyOption(Form1::Option::IncludeUnassigned, ui::markText(ui::flipMark(mnuinclude)));
    });
    connect(mnundef, &QAction::triggered, this,
            [this, main] { main->applyOption(Form1::Option::UnassignedDefault, ui::markText(ui::flipMark(mnundef))); });
    connect(mnuAduti, &QAction::triggered, this,
            [this, main] { main->applyOption(Form1::Option::Audit, ui::markText(ui::flipMark(mnuAduti))); });
    connect(mnucalnot, &QAction::triggered, this, [this, main] {
        main->applyOption(Form1::Option::NotesAutoNew,
                          ui::flipMark(mnucalnot) ? QStringLiteral("1") : QStringLiteral("0"));
    });

    connect(mnipieassign, &QAction::triggered, this, [this, main] {
        mnipiecat->setChecked(false);
        mnipieassign->setChecked(true);
        main->applyOption(Form1::Option::PieMode, QStringLiteral("User"));
    });
    connect(mnipiecat, &QAction::triggered, this, [this, main] {
        mnipiecat->setChecked(true);
        mnipieassign->setChecked(false);
        main->applyOption(Form1::Option::PieMode, QStringLiteral("sp3"));
    });
    connect(mnipieno, &QAction::triggered, this, [] {
        MsgBox(QStringLiteral(" This functionality is now altered via right-clicking on the home screen and choosing "
                              "to Enter Edit Mode"));
    });

    auto homeStats = [this, main](const QString& scope) {
        mnustatsme->setChecked(scope == QLatin1String("me"));
        mnustatsall->setChecked(scope != QLatin1String("me"));
        main->applyOption(Form1::Option::HomeStats, scope);
    };
    connect(mnustatsme, &QAction::triggered, this, [homeStats] { homeStats(QStringLiteral("me")); });
    connect(mnustatsall, &QAction::triggered, this, [homeStats] { homeStats(QStringLiteral("all")); });

    connect(mnu3rd, &QAction::triggered, this, [main] {
        QString answer = ui::InputBox(
            QStringLiteral("The first stats bar shows All Calls Logged Today.  The 2nd and 4th show open and urgent "
                           "calls respectively.By default the 3rd bar shows Pending but you can chage that here. This "
                           "also affects which status is flagged/coloured in the call list. Type in the status to be "
                           "shown by the 3rd stats bar:"),
            ui::DefaultTitle, main->stats3status);
        if (optionrules::meansCancel(answer))
            return;
        if (answer.isEmpty())
            answer = main->stats3status;
        main->applyOption(Form1::Option::Stats3Status, answer);
    });

    connect(mnuattpath, &QAction::triggered, this, [main] {
        if (MsgBox(QStringLiteral("Change the default location for files that are attached to calls?"),
                   Buttons::OkCancel) == Answer::Cancel)
            return;
        // A choice with no folder on disk behind it counts as Cancel.
        const ui::FolderChoice folder =
            ui::dialogs().browseFolder(QStringLiteral("Locate the folder where attachmenst will be stored"));
        if (!folder.hasPath() || folder.path.isEmpty())
            return;
        const ui::SettingsCommand storing;
        main->applyOption(Form1::Option::AttachPath, folder.path);
        MsgBox(QStringLiteral("You must now restart before this change will take effect!"));
    });

    connect(mnusparename, &QAction::triggered, this, [main] {
        QString answer = ui::InputBox(QStringLiteral("Type in a title for this field - e.g. Contact, Costcode etc"),
                                      ui::DefaultTitle, main->Label36->text());
        if (optionrules::meansCancel(answer))
            return;
        if (answer.isEmpty())
            answer = main->Label36->text();
        main->applyOption(Form1::Option::SpareFieldName, answer);
    });

    connect(mnudropwidth, &QAction::triggered, this, [main] {
        const QString answer =
            ui::InputBox(QStringLiteral("Enter a value between 200 (standard width) and 500 (very wide)"),
                         ui::DefaultTitle, QStringLiteral("200"));
        if (answer.isEmpty() || optionrules::meansCancel(answer))
            return;
        const std::optional<int> width =
            optionrules::wholeNumber(answer, optionrules::DropDownWidthRange.low, optionrules::DropDownWidthRange.high);
        if (!width)
            return;
        main->applyOption(Form1::Option::DropDownWidth, QString::number(*width));
    });

    connect(mnuresize, &QAction::triggered, this, [this] {
        const ui::SettingsCommand storing;
        if (ui::screen().sizePixels().width() < 1025) {
            MsgBox(QStringLiteral("Screen is too small to allow resizing"));
            program("Allow Resizing for larger screens", QStringLiteral("False"));
            return;
        }
        program("Allow Resizing for larger screens", ui::markText(ui::flipMark(mnuresize)));
        MsgBox(QStringLiteral("A restart is required when changing this oprion"));
    });

    connect(mnureset, &QAction::triggered, this, [main] {
        if (MsgBox(QStringLiteral("Are you sure?  This will restore all settings to defualt!"), Buttons::OkCancel) ==
            Answer::Cancel)
            return;
        // A file that stays would bring every setting back at the restart: that is told, not a restart asked for.
        if (!optionrules::resetSettings(main->inipath)) {
            MsgBox(QStringLiteral("Quorvane could not reset its settings: the settings file could not be removed:\n") +
                   main->inipath +
                   QStringLiteral("\n\nThe folder may be read-only, or another program may be holding the file. "
                                  "Every setting stays as it is."));
            return;
        }
        MsgBox(QStringLiteral("You must now restart Quorvane"));
    });

    auto editor = [this] {
        Statuses& lists = ui::form<Statuses>();
        // Lists that could not be read are neither shown nor stored (the user was told and said not to try again).
        if (!lists.isRead()) {
            ui::unload<Statuses>();
            return;
        }
        ui::showOwned(&lists, this);
    };
    connect(mnueditcat, &QAction::triggered, this, editor);
    connect(mnustatus, &QAction::triggered, this, editor);
}
