#include "platform/widgets/dialogs.h"

#include "platform/widgets/cuttext.h"
#include "platform/widgets/screen.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTextBoundaryFinder>
#include <QTextDocument>
#include <QUrl>
#include <climits>

namespace ui {
namespace {

QtDialogs g_qtDialogs;
Dialogs* g_dialogs = nullptr;

QWidget* owner() {
    return QApplication::activeWindow();
}

class QtProgressWindow : public ProgressWindow {
public:
    QtProgressWindow(const QString& label, const QString& title)
        : m_dialog(label, QStringLiteral("Cancel"), 0, 0, owner()) {
        m_dialog.setWindowTitle(title);
        m_dialog.setWindowModality(Qt::ApplicationModal); // the work goes on in this thread
        m_dialog.setMinimumDuration(1000);
        m_dialog.setAutoClose(false);
        m_dialog.setAutoReset(false);
    }
    bool step(qint64 done, qint64 total) override {
        if (total <= 0) {
            // How far is not known: a busy bar, and the events the dialog would otherwise run on a new value.
            m_dialog.setMaximum(0);
            QCoreApplication::processEvents();
            return !m_dialog.wasCanceled();
        }
        // The dialog counts in int; large totals are scaled down.
        const qint64 scale = total > 1000000 ? total / 1000000 + 1 : 1;
        m_dialog.setMaximum(static_cast<int>(total / scale));
        m_dialog.setValue(static_cast<int>(std::min(done, total) / scale)); // modal: runs pending events
        return !m_dialog.wasCanceled();
    }

private:
    QProgressDialog m_dialog;
};

constexpr int BoxTextWidth = 520; // pixels: the widest a box's text runs before it wraps
constexpr int LongestRun = 40;    // characters without a break chance before one is given

// A box's text as its label shows it: the characters that steer the wrapping are added, and known, so that a copy
// gives the text without them.
class ShownText {
public:
    void append(QChar c, bool steering = false) {
        m_text += c;
        m_steering.append(steering);
    }
    void append(const QString& s) {
        for (const QChar c : s)
            append(c);
    }
    const QString& text() const { return m_text; }
    // The first n characters shown.
    ShownText left(qsizetype n) const {
        ShownText out;
        out.m_text = m_text.left(n);
        out.m_steering = m_steering.mid(0, n);
        return out;
    }
    // The shown characters from..from+n, without those added for the wrapping.
    QString exact(qsizetype from = 0, qsizetype n = -1) const {
        const qsizetype end = n < 0 ? m_text.size() : qMin(m_text.size(), from + n);
        QString out;
        for (qsizetype i = qMax<qsizetype>(0, from); i < end; ++i)
            if (!m_steering.at(i))
                out += m_text.at(i);
        return out;
    }

private:
    QString m_text;
    QList<bool> m_steering;
};

// The text as shown in a wrapped label: it breaks between words, never inside one ("mm/dd/yyyy" stays whole: the
// break chances after "/" or "-" are taken away with word joiners); only a run too long for one line gets break
// chances (zero-width spaces).
ShownText breakable(const QString& text) {
    ShownText out;
    QTextBoundaryFinder chances(QTextBoundaryFinder::Line, text);
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        if (text[i].isSpace()) {
            out.append(text[i++]);
            continue;
        }
        qsizetype end = i;
        while (end < n && !text[end].isSpace())
            ++end;
        if (end - i < LongestRun) {
            for (qsizetype k = i; k < end; ++k) {
                // Only a chance after a sign ("/", "-") goes: text written without spaces (Chinese, Japanese)
                // keeps its own break chances.
                const QChar before = k > i ? text[k - 1] : QChar();
                chances.setPosition(k);
                if (k > i && before.unicode() < 128 && !before.isLetterOrNumber() && chances.isAtBoundary())
                    out.append(QChar(0x2060), true);
                out.append(text[k]);
            }
        } else {
            int run = 0;
            for (qsizetype k = i; k < end; ++k) {
                out.append(text[k]);
                if (++run >= LongestRun && !text[k].isHighSurrogate()) {
                    out.append(QChar(0x200B), true);
                    run = 0;
                }
            }
        }
        i = end;
    }
    return out;
}

// The text cut with "..." to the lines that fit the height, at BoxTextWidth (cut set); the whole text when it fits.
ShownText fitted(const QString& text, const QFont& font, int height, bool& cut) {
    const QFontMetrics fm(font);
    auto fits = [&](const QString& t) {
        return fm.boundingRect(QRect(0, 0, BoxTextWidth, 1 << 24), Qt::TextWordWrap, t).height() <= height;
    };
    const ShownText shown = breakable(text);
    cut = !fits(shown.text());
    if (!cut)
        return shown;
    int lo = 0;
    int hi = static_cast<int>(shown.text().size());
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fits(qv::leftWhole(shown.text(), mid) + QStringLiteral("...")))
            lo = mid;
        else
            hi = mid - 1;
    }
    ShownText out = shown.left(qv::leftWhole(shown.text(), lo).size());
    out.append(QStringLiteral("..."));
    return out;
}

// The room left for a box's text once its buttons (and input line) are placed.
constexpr int BoxChrome = 140;

// The box's text fitted to the screen; where it had to be cut, the whole text becomes the box's tooltip.
ShownText boxText(QWidget* box, const QString& text) {
    bool cut = false;
    ShownText shown = fitted(text, box->font(), windowRoom().height() - BoxChrome, cut);
    if (cut)
        box->setToolTip(Qt::convertFromPlainText(text)); // stored text stays text in the tip too
    return shown;
}

// Copying from a box's label gives the text without the characters added for the wrapping: the label's own Copy
// (keys and its menu), the box's (which some platforms offer) and the selection a mouse leaves for pasting with the
// middle button go through here.
class ExactCopy : public QObject {
public:
    ExactCopy(QLabel* label, ShownText shown) : QObject(label), m_label(label), m_shown(std::move(shown)) {
        label->installEventFilter(this);
        label->window()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->matches(QKeySequence::Copy)) {
            if (m_label->hasSelectedText()) {
                copySelection();
                return true;
            }
            // The box copies itself whole where the platform does so: its copy is mended once it is made.
            if (watched != m_label)
                QMetaObject::invokeMethod(this, &ExactCopy::mendClipboard, Qt::QueuedConnection);
            return false;
        }
        if (watched == m_label && e->type() == QEvent::MouseButtonRelease) {
            // The label hands its selection to the platform as it takes the release: it is mended after.
            QMetaObject::invokeMethod(this, &ExactCopy::mendSelection, Qt::QueuedConnection);
            return false;
        }
        if (watched == m_label && e->type() == QEvent::ContextMenu &&
            (m_label->textInteractionFlags() & Qt::TextSelectableByMouse)) {
            auto* menu = new QMenu(m_label);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            QAction* copy = menu->addAction(QStringLiteral("&Copy"), this, &ExactCopy::copySelection);
            copy->setShortcut(QKeySequence::Copy);
            copy->setEnabled(m_label->hasSelectedText());
            menu->addSeparator();
            QAction* all = menu->addAction(QStringLiteral("Select All"), this, [this] {
                m_label->setSelection(0, static_cast<int>(m_label->text().size()));
            });
            all->setShortcut(QKeySequence::SelectAll);
            menu->popup(static_cast<QContextMenuEvent*>(e)->globalPos());
            return true;
        }
        return false;
    }

private:
    void copySelection() { copySelectionTo(QClipboard::Clipboard); }
    void mendSelection() {
        if (QGuiApplication::clipboard()->supportsSelection())
            copySelectionTo(QClipboard::Selection);
    }
    void copySelectionTo(QClipboard::Mode mode) {
        if (m_label->hasSelectedText())
            QGuiApplication::clipboard()->setText(
                m_shown.exact(m_label->selectionStart(), m_label->selectedText().size()), mode);
    }
    void mendClipboard() {
        QClipboard* clipboard = QGuiApplication::clipboard();
        QString copied = clipboard->text();
        if (m_shown.exact() == m_shown.text() || !copied.contains(m_shown.text()))
            return;
        copied.replace(m_shown.text(), m_shown.exact());
        clipboard->setText(copied);
    }

    QLabel* m_label;
    ShownText m_shown;
};

// A box's label wraps within the width its text was fitted at.
void wrapAtBoxWidth(QLabel* label) {
    label->setWordWrap(true);
    label->setMaximumWidth(qMin(BoxTextWidth, windowRoom().width() - 60));
}

} // namespace

std::unique_ptr<QMessageBox> messageBox(const QString& text, Buttons buttons, const QString& title, QWidget* parent) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::NoIcon, title, QString(), QMessageBox::NoButton, parent);
    box->setTextFormat(Qt::PlainText); // messages carry stored and typed text
    ShownText shown = boxText(box.get(), text);
    box->setText(shown.text());
    switch (buttons) {
    case Buttons::Ok:
        box->setStandardButtons(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Ok);
        break;
    case Buttons::OkCancel:
        box->setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Ok);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    case Buttons::YesNo:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    }
    // The box's own sizing wraps the text; the label is held to the width the text was fitted at.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        wrapAtBoxWidth(label);
        new ExactCopy(label, std::move(shown));
    }
    return box;
}

namespace {

// An input box's answer given beforehand shows its start when the box opens, selected whole as usual.
class AnswerFromStart : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::Show)
            if (auto* answer = watched->findChild<QLineEdit*>())
                selectAllFromStartWhenShown(answer);
        return false;
    }
};

} // namespace

std::unique_ptr<QInputDialog> inputBox(const QString& prompt, const QString& title, const QString& defaultText,
                                       bool password, QWidget* parent, int maxLength) {
    auto box = std::make_unique<QInputDialog>(parent);
    box->setWindowTitle(title);
    box->setInputMode(QInputDialog::TextInput);
    box->setTextEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    box->setTextValue(defaultText);
    const ShownText shown = boxText(box.get(), prompt);
    box->setLabelText(shown.text());
    if (auto* line = box->findChild<QLineEdit*>())
        limitLength(line, maxLength);
    box->installEventFilter(new AnswerFromStart(box.get()));
    for (QLabel* label : box->findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        wrapAtBoxWidth(label);
        // A prompt that fits one line stays on one; a longer one takes the whole width before it wraps.
        int widest = 0;
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            widest = qMax(widest, label->fontMetrics().horizontalAdvance(line) + 1);
        label->setMinimumWidth(qMin(widest, label->maximumWidth()));
        if (label->text() == shown.text())
            new ExactCopy(label, shown);
    }
    return box;
}

std::unique_ptr<ProgressWindow> QtDialogs::progress(const QString& label, const QString& title) {
    return std::make_unique<QtProgressWindow>(label, title);
}

Answer QtDialogs::message(const QString& text, Buttons buttons, const QString& title) {
    const std::unique_ptr<QMessageBox> shown = messageBox(text, buttons, title, owner());
    QMessageBox& box = *shown;
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    switch (clicked ? box.standardButton(clicked) : QMessageBox::NoButton) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    default:
        break;
    }
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

QString QtDialogs::input(const QString& prompt, const QString& title, const QString& defaultText, int maxLength) {
    const std::unique_ptr<QInputDialog> box = inputBox(prompt, title, defaultText, false, owner(), maxLength);
    return box->exec() == QDialog::Accepted ? box->textValue() : QString();
}

QString QtDialogs::password(const QString& prompt, const QString& title, int maxLength) {
    const std::unique_ptr<QInputDialog> box = inputBox(prompt, title, QString(), true, owner(), maxLength);
    return box->exec() == QDialog::Accepted ? box->textValue() : QString();
}

std::optional<QColor> QtDialogs::chooseColour(const QColor& initial) {
    const QColor c = QColorDialog::getColor(initial, owner());
    if (!c.isValid())
        return std::nullopt;
    return c;
}

namespace {

// The family's upright style of that weight by its usual name, else the upright one nearest in weight; "" when
// the family lists none.
QString uprightStyle(const QString& family, bool bold) {
    const QStringList styles = QFontDatabase::styles(family);
    const QStringList usual = bold ? QStringList{QStringLiteral("Bold")}
                                   : QStringList{QStringLiteral("Regular"), QStringLiteral("Book"),
                                                 QStringLiteral("Normal"), QStringLiteral("Roman")};
    for (const QString& name : usual)
        for (const QString& style : styles)
            if (style.compare(name, Qt::CaseInsensitive) == 0)
                return style;
    QString nearest;
    int distance = INT_MAX;
    const int weight = bold ? QFont::Bold : QFont::Normal;
    for (const QString& style : styles) {
        if (QFontDatabase::italic(family, style))
            continue;
        const int d = std::abs(QFontDatabase::weight(family, style) - weight);
        if (d < distance) {
            distance = d;
            nearest = style;
        }
    }
    return nearest;
}

QFont withoutEffects(QFont font) {
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

} // namespace

std::unique_ptr<QFontDialog> fontDialog(const QFont& initial, QWidget* parent) {
    QFont start = withoutEffects(initial);
    // Without this the dialog falls back to its first face, plain.
    if (!QFontDatabase::hasFamily(initial.family()))
        start.setFamily(QFontInfo(initial).family());
    // Named, so that the dialog does not pick the first style its list gives for the weight (a slanted one in
    // some families).
    const QString style = uprightStyle(start.family(), initial.bold());
    if (!style.isEmpty())
        start.setStyleName(style);
    auto dialog = std::make_unique<QFontDialog>(parent);
    dialog->setCurrentFont(start);
    // Only face, size and weight are kept: the effects (underline, strikeout) are not offered. The dialog has no
    // option for that, so their group goes.
    QWidget* sample = dialog->findChild<QWidget*>(QStringLiteral("qt_fontDialog_sampleEdit"));
    for (QCheckBox* effect : dialog->findChildren<QCheckBox*>()) {
        if (auto* group = qobject_cast<QGroupBox*>(effect->parentWidget()); group && !group->isHidden()) {
            // The sample beside it kept the group's height; alone it would shrink to nothing.
            if (sample && sample->parentWidget())
                sample->parentWidget()->setMinimumHeight(group->sizeHint().height());
            group->hide();
        }
        effect->setChecked(false);
        effect->setEnabled(false);
        effect->hide();
    }
    return dialog;
}

std::optional<QFont> QtDialogs::chooseFont(const QFont& initial) {
    const std::unique_ptr<QFontDialog> dialog = fontDialog(initial, owner());
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    return withoutEffects(dialog->selectedFont());
}

QString QtDialogs::openFile(const QString& vbFilter, const QString& title, const QString& initialFolder) {
    return QFileDialog::getOpenFileName(owner(), title, initialFolder, qtFileFilter(vbFilter));
}

FolderChoice QtDialogs::browseFolder(const QString& title) {
    const QUrl url = QFileDialog::getExistingDirectoryUrl(owner(), title);
    if (url.isEmpty())
        return FolderChoice::cancelled();
    if (!url.isLocalFile())
        return FolderChoice::noPath();
    return FolderChoice::folder(url.toLocalFile());
}

QString qtFileFilter(const QString& vbFilter) {
    const QStringList parts = vbFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts.at(i).trimmed();
        const QString patterns = parts.at(i + 1).trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            continue;
        QStringList list = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : list)
            p = p.trimmed();
        const QString spaced = list.join(QLatin1Char(' '));
        // Qt reads the patterns from the last brackets; a description that shows them already keeps its look.
        const QString shown = QLatin1Char('(') + patterns + QLatin1Char(')');
        if (description.endsWith(shown))
            filters << description.left(description.size() - shown.size()) + QLatin1Char('(') + spaced +
                           QLatin1Char(')');
        else
            filters << description + QLatin1String(" (") + spaced + QLatin1Char(')');
    }
    return filters.join(QLatin1String(";;"));
}

Dialogs& dialogs() {
    return g_dialogs ? *g_dialogs : g_qtDialogs;
}
void setDialogs(Dialogs* d) {
    g_dialogs = d;
}

SettingsCommand::~SettingsCommand() {
    if (m_writes.outermost() && m_writes.failed())
        MsgBox(m_writes.failedOnlyForLineBreaks() ? qv::settingHasLineBreakText(qv::inipath())
                                                  : qv::cannotStoreSettingsText(qv::inipath()));
}

Answer MsgBox(const QString& text, Buttons buttons, const QString& title) {
    return dialogs().message(text, buttons, title);
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText, int maxLength) {
    return dialogs().input(prompt, title, defaultText, maxLength);
}

} // namespace ui
