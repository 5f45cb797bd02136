#include "support/fontfit.h"

#include "platform/ini.h"
#include "support/testenv.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QToolTip>
#include <QWidget>
#include <gtest/gtest.h>

QStringList fitFamilies() {
    return {QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")};
}

std::string familyTestName(const ::testing::TestParamInfo<QString>& info) {
    QString name = info.param;
    name.remove(QLatin1Char(' '));
    return name.toStdString();
}

DesktopFont::DesktopFont(const QString& family, int points) : m_before(QApplication::font()) {
    QApplication::setFont(QFont(family, points));
}

DesktopFont::~DesktopFont() {
    QApplication::setFont(m_before);
}

void storeGridFont(const TestEnv& env, const QString& family, int points, bool bold) {
    IniFile settings(env.settingsFolder + QStringLiteral("/quorvane.ini"));
    settings.write(QStringLiteral("Grid Fonts"), QStringLiteral("Name"), family);
    settings.write(QStringLiteral("Grid Fonts"), QStringLiteral("Bold"),
                   bold ? QStringLiteral("True") : QStringLiteral("False"));
    settings.write(QStringLiteral("Grid Fonts"), QStringLiteral("Size"), QString::number(points));
}

LargeFonts::LargeFonts(TestEnv& env, const QString& family) : m_desktop(family, 11) {
    env.screen.size = QSize(1024, 768);
    storeGridFont(env, family, 14, true);
}

namespace {

bool insideScrolledArea(const QWidget* w, const QWidget* window) {
    for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
        if (qobject_cast<const QAbstractScrollArea*>(p))
            return true;
    return false;
}

QString caption(const QAbstractButton* b) {
    QString text = b->text();
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

} // namespace

void expectFits(QWidget& window, QSize screen, const std::string& when, std::initializer_list<QWidget*> controls) {
    const QRect frame = window.frameGeometry();
    EXPECT_LE(frame.width(), screen.width()) << window.objectName().toStdString() << " " << when;
    EXPECT_LE(frame.height(), screen.height()) << window.objectName().toStdString() << " " << when;
    auto inside = [&](const QWidget* w) {
        const QRect r(w->mapTo(&window, QPoint(0, 0)), w->size());
        EXPECT_TRUE(window.rect().contains(r))
            << w->objectName().toStdString() << " at " << r.x() << "," << r.y() << " " << r.width() << "x" << r.height()
            << " outside " << window.width() << "x" << window.height() << " " << when;
    };
    for (QWidget* w : controls)
        inside(w);
    // QV_FIT_SHOTS=folder keeps a picture of every window checked, for a look by eye.
    if (const QString shots = qEnvironmentVariable("QV_FIT_SHOTS"); !shots.isEmpty()) {
        QString name = QString::fromStdString(when);
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
        window.grab().save(QStringLiteral("%1/%2-%3.png").arg(shots, window.objectName(), name));
    }
    for (const QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(&window) || insideScrolledArea(b, &window) || b->text().isEmpty())
            continue;
        inside(b);
        const int needed = b->fontMetrics().horizontalAdvance(caption(b));
        EXPECT_GE(b->contentsRect().width(), needed)
            << b->objectName().toStdString() << " \"" << caption(b).toStdString() << "\" cut " << when;
    }
}

namespace {

// A line edit, or an editable combo box's; null for other boxes.
const QLineEdit* lineEditOf(const QWidget* box) {
    if (const auto* combo = qobject_cast<const QComboBox*>(box))
        return combo->lineEdit();
    return qobject_cast<const QLineEdit*>(box);
}

} // namespace

bool showsStart(const QWidget* box) {
    const QLineEdit* edit = lineEditOf(box);
    if (!edit)
        return true; // a list-only combo box draws its text from the start
    // A line edit scrolls to keep its cursor in view: the cursor at 0 shows the first character.
    return edit->cursorPosition() == 0;
}

QString toolTipAt(QWidget* w, QPoint pos) {
    QHelpEvent hover(QEvent::ToolTip, pos, w->mapToGlobal(pos));
    QApplication::sendEvent(w, &hover);
    return hover.isAccepted() ? QToolTip::text() : QString(); // unanswered: no tip
}

bool showsWhole(const QWidget* box) {
    const QLineEdit* edit = lineEditOf(box);
    if (!edit)
        return true;
    // The text's room as QLineEdit paints it: the style's contents rectangle less the text margins and the
    // box's own 2 px each side; it scrolls once the text and its cursor need more.
    QStyleOptionFrame opt;
    opt.initFrom(edit);
    opt.rect = edit->rect();
    opt.lineWidth = edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, edit) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const QRect contents =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &opt, edit).marginsRemoved(edit->textMargins());
    return edit->fontMetrics().horizontalAdvance(edit->text()) + 1 <= contents.width() - 2 * 2;
}
