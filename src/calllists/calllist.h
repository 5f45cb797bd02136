#pragma once

#include <QString>

class Form1;

// The call list's query and the caption shown with it. Both change together here, so that whatever re-runs
// the list later (the auto-refresh, a saved call, a changed list option) never shows one view's caption over
// another view's rows.
class CallList {
public:
    explicit CallList(Form1& main);

    // Fills the list with sql and writes caption, ".  Records: " and the count into status-bar panel 5.
    void show(const QString& sql, const QString& caption);
    // Fills the list with sql and leaves the status bar as it is; re-runs stay quiet until a captioned show.
    void show(const QString& sql);
    // Runs the list on view again with its own caption (quietly when it has none); with no query yet only the
    // headings are written again.
    void rerun();

    const QString& sql() const { return m_sql; }
    const QString& caption() const { return m_caption; } // empty after a quiet show

private:
    // Fills the list; -1 and the message for the user when the query could not be read.
    int fill(const QString& sql, QString& failure);

    Form1& m_main;
    QString m_sql;
    QString m_caption;
};
