#include "host/elabel.h"

#include "host/gpainter.h"

eLabel::eLabel(eWidget *parent, int flags, int takeFocus, const char *deco) : eWidget(parent, takeFocus), m_flags(flags)
{
	loadDeco(deco ? deco : "");
}

void eLabel::redrawWidget(gPainter *target, const eRect &area)
{
	eWidget::redrawWidget(target, area);
	if (getText().empty())
		return;
	target->setForegroundColor(getForegroundColor());
	target->renderText(getClientRect(), getText(), textFlags() | gPainter::RT_WRAP);
}
