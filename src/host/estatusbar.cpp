#include "host/estatusbar.h"

eStatusBar::eStatusBar(eWidget *parent, const char *deco) : eLabel(parent, 0, 0, deco)
{
	eWidget *window = getTLW();
	window->statusChanged.connect(sigc::mem_fun(*this, &eStatusBar::update));
	update(window->getFocus());
}

void eStatusBar::update(eWidget *focus)
{
	setText(focus ? focus->getHelpText() : eString());
}
