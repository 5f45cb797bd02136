#include "platform/widgets/binding.h"

#include "platform/db/datacontrol.h"
#include "platform/db/dberror.h"
#include "platform/db/recordset.h"
#include "platform/db/values.h"
#include "platform/widgets/cuttext.h"
#include "platform/widgets/dialogs.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>

namespace ui {
namespace {

const char* const BindingName = "ui_fieldBinding";

class FieldBinding : public QObject {
public:
    FieldBinding(QWidget* w, db::DataControl* dc, const QString& field)
        : QObject(w), m_widget(w), m_control(dc), m_field(field) {
        setObjectName(QLatin1String(BindingName));
        connect(dc, &db::DataControl::recordsetChanged, this, &FieldBinding::attach);
        connect(dc, &QObject::destroyed, this, [this] { attach(nullptr); });
        if (auto* e = qobject_cast<QLineEdit*>(w))
            connect(e, &QLineEdit::textEdited, this, &FieldBinding::write);
        else if (auto* p = qobject_cast<QPlainTextEdit*>(w))
            connect(p, &QPlainTextEdit::textChanged, this, [this, p] { write(p->toPlainText()); });
        else if (auto* t = qobject_cast<QTextEdit*>(w))
            connect(t, &QTextEdit::textChanged, this, [this, t] { write(t->toPlainText()); });
        else if (auto* c = qobject_cast<QComboBox*>(w))
            connect(c, &QComboBox::currentTextChanged, this, &FieldBinding::write);
        attach(dc->recordset());
    }

private:
    void attach(db::Recordset* rs) {
        if (m_rs)
            disconnect(m_rs, nullptr, this, nullptr);
        m_rs = rs;
        if (rs) {
            connect(rs, &db::Recordset::currentChanged, this, [this] { show(Moved); });
            connect(rs, &db::Recordset::reset, this, [this] { show(Moved); });
            connect(rs, &db::Recordset::rowChanged, this, [this](int row) {
                if (m_rs && row == m_rs->absolutePosition())
                    show(Same);
            });
            // A box takes no more than its field holds, so what it shows is what is stored.
            if (QLineEdit* line = lineEdit())
                limitLength(line, rs->fieldSize(rs->fieldIndex(m_field)));
        }
        show(Moved);
    }

    // The line a text box or an editable combo box types into; multi-line boxes show memo fields only.
    QLineEdit* lineEdit() const {
        if (auto* e = qobject_cast<QLineEdit*>(m_widget))
            return e;
        auto* c = qobject_cast<QComboBox*>(m_widget);
        return c && c->isEditable() ? c->lineEdit() : nullptr;
    }

    QString current() const {
        if (!m_rs || m_rs->bof() || m_rs->eof() || m_rs->fieldIndex(m_field) < 0)
            return QString();
        return db::displayText(m_rs->field(m_field));
    }

    // Moved: another row, or the rows read again; Same: the current row's value changed (as while typing).
    enum Row { Moved, Same };

    void show(Row row) {
        if (!m_widget)
            return;
        const QString text = current();
        m_showing = true;
        // A row shown anew starts at its start even where the text is the one typed before (a customer just
        // added), so a long text never shows its end; a change while typing leaves the cursor where it is.
        if (auto* e = qobject_cast<QLineEdit*>(m_widget)) {
            if (e->text() != text || (row == Moved && e->cursorPosition() != 0))
                setTextFromStart(e, text);
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(m_widget)) {
            if (p->toPlainText() != text)
                p->setPlainText(text);
        } else if (auto* t = qobject_cast<QTextEdit*>(m_widget)) {
            if (t->toPlainText() != text)
                t->setPlainText(text);
        } else if (auto* c = qobject_cast<QComboBox*>(m_widget)) {
            if (c->isEditable()) {
                if (c->currentText() != text || (row == Moved && c->lineEdit()->cursorPosition() != 0))
                    setTextFromStart(c->lineEdit(), text);
            } else if (c->currentText() != text) {
                c->setCurrentIndex(c->findText(text));
            }
        } else if (auto* l = qobject_cast<QLabel*>(m_widget)) {
            l->setTextFormat(Qt::PlainText);
            l->setText(text);
        }
        m_showing = false;
    }

    void write(const QString& text) {
        if (m_showing || !m_rs || m_rs->bof() || m_rs->eof() || m_rs->fieldIndex(m_field) < 0)
            return;
        if (text == current())
            return;
        try {
            m_rs->setField(m_field, text);
        } catch (const db::DbError& e) {
            MsgBox(e.message());
        }
    }

    QPointer<QWidget> m_widget;
    QPointer<db::DataControl> m_control;
    QString m_field;
    QPointer<db::Recordset> m_rs;
    bool m_showing = false;
};

} // namespace

void unbindField(QWidget* w) {
    if (!w)
        return;
    const auto old = w->findChildren<FieldBinding*>(QLatin1String(BindingName), Qt::FindDirectChildrenOnly);
    for (FieldBinding* b : old)
        delete b;
    if (old.isEmpty())
        return;
    if (auto* e = qobject_cast<QLineEdit*>(w))
        limitLength(e, 0);
    else if (auto* c = qobject_cast<QComboBox*>(w); c && c->lineEdit())
        limitLength(c->lineEdit(), 0);
}

void bindField(QWidget* w, db::DataControl* dc, const QString& field) {
    unbindField(w);
    if (w && dc)
        new FieldBinding(w, dc, field);
}

} // namespace ui
