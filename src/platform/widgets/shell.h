#pragma once

#include "platform/desktop.h"

namespace ui {

// The desktop's handlers: files and folders through their default programs, links (http:, mailto:) as they are.
class DesktopShell : public desktop::Shell {
public:
    bool open(const QString& target, int showMode) override;
    bool startProgram(const QString& program, const QStringList& args) override;
};

// The URL the shell hands over for a target: local paths become file URLs, links stay as they are.
QUrl shellUrl(const QString& target);

// Shows a text file (the change log, the settings file) in the desktop's text editor, through the shell.
bool openInTextEditor(const QString& path);

// Starts the machine's system-information tool when one is installed; false when there is none or it did not
// start, so the caller can say it is unavailable.
bool systemInformation();

} // namespace ui
