#pragma once

#include <QString>

// A separator as the user sees it: blanks, tabs and line breaks, which an
// empty-looking box would hide, each as one visible sign (one for one, so
// cursor positions stay valid while typing), and back.
QString VisibleSeparator(const QString &separator);
QString SeparatorFromShown(const QString &shown);
// Its characters named for a tool tip: "Leerzeichen, „;“".
QString SeparatorNames(const QString &separator);
