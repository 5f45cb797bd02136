#include "platform/widgets/cuttext.h"

#include "platform/db/values.h"
#include "platform/widgets/gridfont.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QStyle>
#include <QTableView>
#include <QTextDocument>
#include <QTimer>
#include <QToolTip>
#include <QValidator>

namespace ui {
namespace {

bool showWhole(QHelpEvent* e, const QString& text, QWidget* over) {
    QToolTip::showText(e->globalPos(), Qt::convertFromPlainText(text), over);
    return true;
}

// Cell text needs the item's margins besides its own width.
int cellRoom(const QWidget* w, int width) {
    return width - cellMargins(w);
}

// QLineEdit's own maximum counts UTF-16 halves and may cut a pair in two; this counts as the database does.
class FieldLength : public QValidator {
public:
    FieldLength(QLineEdit* box, int size) : QValidator(box), m_size(size) {}
    void setSize(int size) { m_size = size; }

    State validate(QString& input, int& pos) const override {
        if (db::textLength(input) <= m_size)
            return Acceptable;
        // What was just typed or pasted ends at the cursor: its end goes, the text around it stays.
        const QString after = input.mid(pos);
        const int room = m_size - db::textLength(after);
        if (room < 0) {
            input = db::leftChars(input, m_size);
            pos = qMin(pos, static_cast<int>(input.size()));
        } else {
            const QString before = db::leftChars(input.left(pos), room);
            input = before + after;
            pos = static_cast<int>(before.size());
        }
        return Acceptable;
    }

private:
    int m_size;
};

class BoxTip : public QObject {
public:
    BoxTip(QLineEdit* box, const QString& otherwise) : QObject(box), m_box(box), m_otherwise(otherwise) {}

    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::ToolTip || !m_box->toolTip().isEmpty())
            return false;
        const QMargins m = m_box->textMargins();
        // QLineEdit keeps two pixels either side of the text inside its frame.
        const int room = m_box->contentsRect().width() - m.left() - m.right() - 4 -
                         2 * m_box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_box);
        if (m_box->fontMetrics().horizontalAdvance(m_box->text()) <= room)
            return !m_otherwise.isEmpty() && showWhole(static_cast<QHelpEvent*>(e), m_otherwise, m_box);
        return showWhole(static_cast<QHelpEvent*>(e), m_box->text(), m_box);
    }

private:
    QLineEdit* m_box;
    QString m_otherwise;
};

class CellTip : public QObject {
public:
    CellTip(QAbstractItemView* view, QHeaderView* header) : QObject(view), m_view(view), m_header(header) {}

    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::ToolTip || !m_view->model())
            return false;
        auto* help = static_cast<QHelpEvent*>(e);
        QString text;
        int width = 0;
        const QWidget* over = nullptr;
        if (m_header && watched == m_header->viewport()) {
            const int section = m_header->logicalIndexAt(help->pos());
            if (section < 0)
                return false;
            text = m_view->model()->headerData(section, m_header->orientation(), Qt::DisplayRole).toString();
            width = m_header->sectionSize(section);
            over = m_header;
        } else {
            const QModelIndex index = m_view->indexAt(help->pos());
            if (!index.isValid() || index.data(Qt::ToolTipRole).isValid())
                return false;
            text = index.data(Qt::DisplayRole).toString();
            width = m_view->visualRect(index).width();
            over = m_view;
        }
        if (text.isEmpty() || over->fontMetrics().horizontalAdvance(text) <= cellRoom(over, width))
            return false;
        return showWhole(help, text, m_view->viewport());
    }

private:
    QAbstractItemView* m_view;
    QHeaderView* m_header;
};

} // namespace

void setTextFromStart(QLineEdit* box, const QString& text) {
    box->setText(text);
    box->setCursorPosition(0);
}

void selectAllFromStartWhenShown(QLineEdit* box) {
    // Qt selects the text after the box is set up and shown; the selection is turned round after that.
    QTimer::singleShot(0, box, [box] {
        if (box->hasSelectedText() && box->selectedText() == box->text())
            box->setSelection(box->text().size(), -box->text().size());
    });
}

void showChoiceFromStart(QComboBox* box) {
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box] {
        // A text the user typed and confirmed is left as it is; a text the combo box put in is not marked modified.
        if (QLineEdit* edit = box->lineEdit(); edit && !edit->isModified())
            edit->setCursorPosition(0);
    });
    if (box->lineEdit())
        box->lineEdit()->setCursorPosition(0);
}

void limitLength(QLineEdit* box, int size) {
    auto* limit = dynamic_cast<FieldLength*>(const_cast<QValidator*>(box->validator()));
    if (size <= 0) {
        if (limit) {
            box->setValidator(nullptr);
            delete limit;
        }
        return;
    }
    if (limit)
        limit->setSize(size);
    else
        box->setValidator(new FieldLength(box, size));
}

void tipWhenCut(QLineEdit* box, const QString& otherwise) {
    box->installEventFilter(new BoxTip(box, otherwise));
}

void tipCutCells(QAbstractItemView* view) {
    auto* table = qobject_cast<QTableView*>(view);
    QHeaderView* header = table ? table->horizontalHeader() : nullptr;
    auto* tip = new CellTip(view, header);
    view->viewport()->installEventFilter(tip);
    if (header) // the grids' headers draw the ellipsis themselves
        header->viewport()->installEventFilter(tip);
}

} // namespace ui
