#include "calllists/calllist.h"

#include "mainwindow/form1.h"
#include "mainwindow/statusbar.h"
#include "platform/db/dberror.h"
#include "platform/widgets/dialogs.h"

CallList::CallList(Form1& main) : m_main(main) {}

void CallList::show(const QString& sql, const QString& caption) {
    m_sql = sql;
    m_caption = caption;
    QString failure;
    const int total = fill(sql, failure);
    if (total < 0) {
        m_main.StatusBar1->setPanel(5, caption + QStringLiteral(".  Records: 0"));
        ui::MsgBox(failure);
        return;
    }
    const QString count = total >= m_main.maxcalls ? QStringLiteral("Most recent ") + QString::number(m_main.maxcalls)
                                                   : QString::number(total);
    m_main.StatusBar1->setPanel(5, caption + QStringLiteral(".  Records: ") + count);
}

void CallList::show(const QString& sql) {
    m_sql = sql;
    m_caption.clear();
    QString failure;
    if (fill(sql, failure) < 0)
        ui::MsgBox(failure);
}

void CallList::rerun() {
    if (m_sql.isEmpty())
        m_main.gridformat();
    else if (m_caption.isEmpty())
        show(QString(m_sql));
    else
        show(QString(m_sql), QString(m_caption));
}

int CallList::fill(const QString& sql, QString& failure) {
    try {
        return m_main.fillCallList(sql);
    } catch (const db::DbError& e) {
        failure = QStringLiteral("The call list could not be read:\n") + e.message();
        return -1;
    }
}
