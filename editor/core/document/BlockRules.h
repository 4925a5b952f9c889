#pragma once

#include <QString>

// Block keywords of scripts; names compare exactly (case-sensitive).
namespace BlockRules {

// Largest depth that Indent produces.
inline constexpr int kMaxIndent = 45;

// True for "if", "else" and "loop": the row after it is one level deeper.
bool IsOpener(const QString &elementName);
// True for "else", "endif" and "endloop": the row is one level shallower than the one before.
bool IsCloser(const QString &elementName);

// Depth of a new row at index row, given the row before it (ignored when row is 0).
int NewRowDepth(int row, int previousDepth, const QString &previousElementName,
                const QString &newElementName);

// Depth after Indent: one more, at most kMaxIndent.
int Indent(int depth);
// Depth after Outdent: one less, at least 0.
int Outdent(int depth);

} // namespace BlockRules
