#include "mainwindow/form1.h"
#include "options/optionrules.h"
#include "options/themes.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/flexgrid.h"
#include "platform/widgets/forms.h"
#include "platform/widgets/menumark.h"
#include "shared/shared.h"

#include <QAction>
#include <QTimer>

namespace {

void callGrid(const char* key, const QString& value) {
    WriteINI(QStringLiteral("Call Grid"), QLatin1String(key), value);
}

} // namespace

void themes::connectListOptions() {
    Form1* main = &ui::form<Form1>();

    // A column shown again is 1500 twips wide, whatever it was before.
    for (const auto& [action, column] : columnSwitches)
        connect(action, &QAction::triggered, this,
                [main, a = action, c = column] { main->showCallColumn(c, ui::flipMark(a)); });

    connect(mnualt, &QAction::triggered, this,
            [this, main] { main->applyOption(Form1::Option::AlternateRows, ui::markText(ui::flipMark(mnualt))); });

    connect(mnucallmax, &QAction::triggered, this, [main] {
        const QString answer = ui::InputBox(QStringLiteral("Please enter a number bewteen 100 and 5000 for how maximum "
                                                           "number of calls are displayed in the call list."),
                                            ui::DefaultTitle, QString::number(main->maxcalls));
        if (answer.isEmpty() || optionrules::meansCancel(answer))
            return;
        const std::optional<int> max =
            optionrules::wholeNumber(answer, optionrules::MaxCallsRange.low, optionrules::MaxCallsRange.high);
        if (!max)
            return;
        main->applyOption(Form1::Option::MaxCalls, QString::number(*max));
    });

    connect(mnugrh, &QAction::triggered, this, [main] {
        const QString answer = ui::InputBox(QStringLiteral("Please enter a row height bewteen 285 and 700 - (text will "
                                                           "automatically wrap for row-heights over 490)"),
                                            ui::DefaultTitle, QStringLiteral("286"));
        if (answer.isEmpty() || optionrules::meansCancel(answer))
            return;
        const std::optional<int> height =
            optionrules::wholeNumber(answer, optionrules::RowHeightRange.low, optionrules::RowHeightRange.high);
        if (!height)
            return;
        const ui::SettingsCommand storing;
        main->applyRowHeight(*height);
        callGrid("Grid Row Height", QString::number(*height));
    });

    connect(mnurefcalls, &QAction::triggered, this,
            [this, main] { main->applyOption(Form1::Option::AutoRefresh, ui::markText(ui::flipMark(mnurefcalls))); });

    auto order = [this, main](const QString& direction) {
        mnuasc->setChecked(direction == QLatin1String("ASC"));
        mnudesc->setChecked(direction != QLatin1String("ASC"));
        main->applyOption(Form1::Option::SortOrder, direction);
    };
    connect(mnuasc, &QAction::triggered, this, [order] { order(QStringLiteral("ASC")); });
    connect(mnudesc, &QAction::triggered, this, [order] { order(QStringLiteral("DESC")); });

    auto sortBy = [this, main](const QString& column) {
        mnusonom->setChecked(column == QLatin1String("Nom"));
        mnusostat->setChecked(column == QLatin1String("Status"));
        mnusocat->setChecked(column == QLatin1String("sp3"));
        main->applyOption(Form1::Option::SortColumn, column);
    };
    connect(mnusonom, &QAction::triggered, this, [sortBy] { sortBy(QStringLiteral("Nom")); });
    connect(mnusostat, &QAction::triggered, this, [sortBy] { sortBy(QStringLiteral("Status")); });
    connect(mnusocat, &QAction::triggered, this, [sortBy] { sortBy(QStringLiteral("sp3")); });

    connect(mnumarkcalls, &QAction::triggered, this, [this, main] {
        main->applyOption(Form1::Option::StatusStyle,
                          ui::flipMark(mnumarkcalls) ? QStringLiteral("varcolours") : QStringLiteral("vardont"));
    });
}
