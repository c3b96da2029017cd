#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPalette>

class QWidget;

// The colours and fonts the windows share, in one place.
namespace Look {

inline const QColor kButtonFace(212, 208, 200);    // window background (the classic button face)
inline const QColor kButtonBar(192, 192, 192);     // the grey bar holding a window's buttons
inline const QColor kCream(255, 251, 240);         // highlighted columns, notes, computed cells
inline const QColor kTotalRow(241, 239, 226);      // total lines of grids
inline const QColor kMainBackground(192, 220, 192);  // the main window
inline const QColor kMaroon(128, 0, 0);
inline const QColor kNavy(0, 0, 128);
inline const QColor kTeal(0, 128, 128);
inline const QColor kTypedText(Qt::blue);          // values the operator typed, in computed grids

// Fills a colour role of the widget's palette, with the background drawn.
void Paint(QWidget* widget, QPalette::ColorRole role, const QColor& colour);

// The font made bold.
QFont Bold(QFont font);

// Pixels a text needs in the widget's font, with room for frames and margins.
int TextWidth(const QWidget* widget, const QString& text);

// A grid column's width: the given width, or more when the text (a header, the longest value)
// would be cut in the font.
int ColumnWidth(const QFontMetrics& metrics, int width, const QString& text);

}  // namespace Look
