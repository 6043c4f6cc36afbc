#include "host/echeckbox.h"

#include <algorithm>

#include "host/gpainter.h"

eCheckbox::eCheckbox(eWidget *parent, int checked, int takeFocus, bool swapTxtPixmap, const char *deco)
	: eLabel(parent, 0, takeFocus, deco), m_checked(checked ? 1 : 0), m_swap(swapTxtPixmap)
{
	addActionMap(&i_cursorActions->map);
}

void eCheckbox::setCheck(int c)
{
	c = c ? 1 : 0;
	if (c == m_checked)
		return;
	m_checked = c;
	invalidate();
}

int eCheckbox::eventHandler(const eWidgetEvent &event)
{
	if (event.type == eWidgetEvent::evtAction && event.action == &i_cursorActions->ok)
	{
		setCheck(!m_checked);
		std::weak_ptr<char> alive = lifeToken();
		checked(m_checked);
		if (!alive.expired())
			selected();
		return 1;
	}
	return eLabel::eventHandler(event);
}

void eCheckbox::describe(eString &out) const
{
	out += eString::format(" checked=%d", m_checked);
}

void eCheckbox::redrawWidget(gPainter *target, const eRect &area)
{
	eRect client = getClientRect();
	if (hasFocus())
		target->fill(client, gColor(0x30, 0x50, 0x90));
	int side = std::min(20, client.h);
	int boxX = m_swap ? client.right() - side : client.x;
	eRect box(boxX, client.y + (client.h - side) / 2, side, side);
	target->fill(box, getForegroundColor());
	target->fill(eRect(box.x + 2, box.y + 2, box.w - 4, box.h - 4), gColor(0x20, 0x20, 0x20));
	if (m_checked)
		target->fill(eRect(box.x + 5, box.y + 5, box.w - 10, box.h - 10), getForegroundColor());
	eRect text = m_swap ? eRect(client.x, client.y, client.w - side - 8, client.h)
			    : eRect(client.x + side + 8, client.y, client.w - side - 8, client.h);
	target->setForegroundColor(getForegroundColor());
	target->renderText(text, getText(), gPainter::RT_VALIGN_CENTER);
}
