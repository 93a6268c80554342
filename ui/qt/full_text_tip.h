#pragma once
// Tooltips for item texts that a view cannot show whole.
class QAbstractItemView;
class QHelpEvent;

// Answers a tooltip request on the view's viewport: the full text of the item under the
// pointer when the item does not fit where it is shown (cut short with "…", or partly
// scrolled out of sight); no tooltip otherwise. Returns true: the request is handled.
// `needed_width` is the width the item's text takes, when the view's size hint for it
// says something else (a view whose items share one size).
bool ShowFullTextTip(const QAbstractItemView& view, const QHelpEvent& event, int needed_width = -1);
