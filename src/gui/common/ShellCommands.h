#pragma once

#include <QString>

class QWidget;

namespace tollix {

// The one support address of the project: the about window, both mail menu
// entries and the help text all lead here.
inline constexpr char kSupportAddress[] = "support@tollix.example.org";

// "Tollix V3.1", built from the version numbers.
QString VersionedTitle();

// The mail link: mailto:, the address and the subject; the File menu's entry
// adds one blank after the subject, the popup menu and the about window do not.
QString MailLink(bool trailingBlank);

// Hands the mail link to the desktop's mail program; nothing happens when
// there is none.
void OpenMailLink(bool trailingBlank);

// Menu command: asks, then puts "Tollix V3.1.desktop" on the user's desktop.
void AddDesktopShortcut(QWidget* parent);

// Menu command: asks, then puts "Tollix.desktop" into the autostart folder so
// that the meter starts with the desktop session.
void InsertShortCut(QWidget* parent);

// The Icon= value for shortcuts: the theme name when the icon is installed,
// else the absolute path of a copy in the user's icon folder, else empty.
QString ShortcutIcon();

}  // namespace tollix
