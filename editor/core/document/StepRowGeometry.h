#pragma once

#include <QString>

#include "core/document/StepView.h"

// Geometry of one row of the step list, in pixels. A row is laid out left to right as: the
// line-number gutter (when shown), the icon cell shifted right by one indent step per block
// level, then the caption; its height is the caption's height (at least the icon cell, at most
// kMaxTextHeight) plus kRowPadding.
namespace StepRowGeometry {

inline constexpr int kIconNone = 0;
inline constexpr int kIconSmall = 1;
inline constexpr int kIconLarge = 2;

inline constexpr int kTextTop = 4;      // caption top below the row's top
inline constexpr int kTextRightGap = 2; // caption right edge inside the row's right
inline constexpr int kRowPadding = 8;   // row height beyond the caption's
inline constexpr int kMaxTextHeight = 202;
inline constexpr int kMaxRowHeight = kMaxTextHeight + kRowPadding; // 210
inline constexpr int kGutterTextTop = 4;   // line number below the row's top
inline constexpr int kGutterTextRight = 3; // line number inside the gutter's right edge
inline constexpr int kMaxIndent = 45;

// Side of the square icon cell: 2, 20 or 38 for None, Small, Large.
int IconCellSize(int iconStyle);
// Pixels per block level: 36 for Large icons, else 22.
int IndentStep(int iconStyle);
// Side of the icon drawn in the cell: 0, 16 or 32.
int IconSize(int iconStyle);
// Number of "0" characters whose width makes the gutter: the digits of rowCount plus two.
int GutterDigits(int rowCount);
// Left edge of the caption: after the gutter, the icon cell and the indentation.
int TextLeft(int gutterRight, int iconStyle, int indent);
// Left edge of the icon cell.
int IconLeft(int gutterRight, int iconStyle, int indent);
// Height of the caption area for a measured caption height: at least the icon cell, at most
// kMaxTextHeight.
int TextHeight(int measuredTextHeight, int iconStyle);
// Height of the whole row for a measured caption height.
int RowHeight(int measuredTextHeight, int iconStyle);

} // namespace StepRowGeometry

// The caption of a step in the visual view: its information lines with every tab shown as
// " » ".
QString VisualCaption(const StepView &step);
// Lines of a text whose line ends are CR LF, LF or CR.
int LineCount(const QString &text);
// Lines of the visual caption, unwrapped, counted without building it.
int CaptionLines(const StepView &step);
// Lines of the row text: only a comment spans lines ("<!--", its text, "-->"); other steps
// write line breaks in values and text as "&#10;".
int RowTextLines(const StepView &step);
