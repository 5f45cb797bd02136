#include "mainwindow/statusbar.h"

#include "platform/widgets/elidedlabel.h"

PanelStatusBar::PanelStatusBar(QWidget* parent) : QStatusBar(parent) {
    const int stretch[] = {0, 0, 0, 0, 1};
    for (int i = 0; i < 5; ++i) {
        // A long text is cut with an ellipsis, whole in the tooltip, rather than pushing past the window's edge.
        auto* label = new ui::ElidedLabel(QString(), this);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setMinimumWidth(i < 4 ? 110 : 200);
        label->setFrameShape(QFrame::StyledPanel);
        label->setContentsMargins(4, 0, 4, 0);
        addPermanentWidget(label, stretch[i]);
        m_panels << label;
    }
    setSizeGripEnabled(false);
}

QString PanelStatusBar::panel(int index) const {
    return index >= 1 && index <= m_panels.size() ? m_panels[index - 1]->text() : QString();
}

void PanelStatusBar::setPanel(int index, const QString& text) {
    if (index < 1 || index > m_panels.size())
        return;
    // A list's record count stays in view: its caption is cut instead.
    const int count = text.lastIndexOf(QStringLiteral(".  Records: "));
    m_panels[index - 1]->setKeptEnd(count >= 0 ? text.size() - count : 0);
    m_panels[index - 1]->setText(text);
}
