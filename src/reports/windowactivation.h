#pragma once

#include <QObject>

class QWidget;

// Which window of this program was active before the one becoming active now, as the old platform's
// Activate event understands it: only the program's own modeless windows count, so message boxes, input
// boxes, common dialogs, pop-ups and other programs in between leave the answer as it was.
class WindowActivation : public QObject {
public:
    // The one watcher, installed on the application the first time it is asked for.
    static WindowActivation& instance();

    // Called from a window's WindowActivate handler: true when the program window active before it was
    // another one, activated after `since` (a serial this window took when it last ran its Activate).
    bool cameFromOtherWindow(const QWidget* w, quint64 since) const;
    quint64 serial() const { return m_serial; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowActivation() = default;

    struct Seen {
        const void* window = nullptr; // identity only; it may be gone
        quint64 serial = 0;
    };
    Seen m_current;  // the program window active now (or last)
    Seen m_previous; // the one before it
    quint64 m_serial = 0;
};
