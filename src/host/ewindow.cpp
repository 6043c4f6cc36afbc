#include "host/ewindow.h"

#include <algorithm>

#include "host/gpainter.h"

namespace
{
const gColor frameColor(0x60, 0x70, 0x90);
const gColor titleColor(0x20, 0x38, 0x70);
const gColor clientColor(0x10, 0x18, 0x30);
} // namespace

eWindow::eWindow(int takeFocus) : eWidget(nullptr, takeFocus)
{
	setBackgroundColor(clientColor);
	addActionMap(&i_cursorActions->map);
}

void eWindow::cmove(const ePoint &pos)
{
	move(ePoint(pos.x - borderWidth, pos.y - titleBarHeight - borderWidth));
}

void eWindow::cresize(const eSize &size)
{
	resize(eSize(size.w + 2 * borderWidth, size.h + titleBarHeight + 2 * borderWidth));
}

eRect eWindow::clientRectFor(const eSize &frame) const
{
	return eRect(borderWidth, titleBarHeight + borderWidth, std::max(0, frame.w - 2 * borderWidth),
		std::max(0, frame.h - titleBarHeight - 2 * borderWidth));
}

int eWindow::eventHandler(const eWidgetEvent &event)
{
	if (event.type == eWidgetEvent::evtAction && event.action == &i_cursorActions->cancel && isModal())
	{
		close(-1);
		return 1;
	}
	return eWidget::eventHandler(event);
}

void eWindow::redrawWidget(gPainter *target, const eRect &area)
{
	target->fill(eRect(0, 0, area.w, borderWidth), frameColor);
	target->fill(eRect(0, area.h - borderWidth, area.w, borderWidth), frameColor);
	target->fill(eRect(0, 0, borderWidth, area.h), frameColor);
	target->fill(eRect(area.w - borderWidth, 0, borderWidth, area.h), frameColor);
	eRect title(borderWidth, borderWidth, area.w - 2 * borderWidth, titleBarHeight);
	target->fill(title, titleColor);
	target->setForegroundColor(getForegroundColor());
	target->renderText(eRect(title.x + 10, title.y, title.w - 20, title.h), getText(), gPainter::RT_VALIGN_CENTER);
	eWidget::redrawWidget(target, area);
}
