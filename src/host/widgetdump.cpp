#include "host/widgetdump.h"

#include "host/ewidget.h"
#include "host/gpixmap.h"

eString WidgetDump::quote(const eString &text)
{
	eString out = "\"";
	for (char c : text)
	{
		if (c == '\n')
			out += "\\n";
		else if (c == '\t')
			out += "\\t";
		else if (c == '"' || c == '\\')
		{
			out += '\\';
			out += c;
		}
		else
			out += c;
	}
	return out + "\"";
}

void WidgetDump::dump(const eWidget *w, int depth, eString &out)
{
	eString indent(size_t(depth) * 2, ' ');
	eRect r = w->getAbsoluteRect();
	out += indent;
	out += w->className();
	out += " " + quote(w->getName());
	out += eString::format(" %d,%d %dx%d", r.x, r.y, r.w, r.h);
	if (!w->getText().empty())
		out += " text=" + quote(w->getText());
	if (!w->getHelpText().empty())
		out += " help=" + quote(w->getHelpText());
	if (const gPixmap *p = w->getPixmap())
		out += " pixmap=" + quote(p->source);
	if (w->hasFocus())
		out += " focus";
	if (w->isModal())
		out += " modal";
	eString extra;
	w->describe(extra);
	out += extra;
	out += "\n";
	std::vector<eString> lines;
	w->describeLines(lines);
	for (const eString &line : lines)
		out += indent + "  " + line + "\n";
	for (const eWidget *child : w->getChildren())
		if (child->isVisible())
			dump(child, depth + 1, out);
}

eString WidgetDump::widget(const eWidget *w)
{
	eString out;
	if (w)
		dump(w, 0, out);
	return out;
}

eString WidgetDump::screen()
{
	eString out;
	for (const eWidget *w : eWidget::topLevelWidgets())
		if (w->isVisibleOnScreen())
			dump(w, 0, out);
	return out;
}
