#ifndef HOST_WIDGETDUMP_H
#define HOST_WIDGETDUMP_H

#include "host/estring.h"

class eWidget;

// The screen as text: one line per shown widget, children indented by two spaces
// under their parent, top-level widgets back to front. A line reads
//   eLabel "name" 85,77 138x30 text="File" help="..." pixmap="file.png" focus perc=40
// with the class, the name, the frame in screen coordinates and size, then only
// the facts that apply. A list adds one line per entry below it, "> " marking the
// highlighted one. The same tree always gives the same text.
class WidgetDump
{
public:
	static eString screen();
	// One widget and its shown children (the widget itself even when hidden).
	static eString widget(const eWidget *w);
	// Text in double quotes, with quotes, backslashes, newlines and tabs escaped.
	static eString quote(const eString &text);

private:
	static void dump(const eWidget *w, int depth, eString &out);
};

#endif
