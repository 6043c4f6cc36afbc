#include "host/eprogress.h"

#include <algorithm>

#include "host/gpainter.h"
#include "host/log.h"

eProgress::eProgress(eWidget *parent, int takeFocus) : eWidget(parent, takeFocus)
{
}

void eProgress::setPerc(int perc)
{
	perc = std::clamp(perc, 0, 100);
	if (perc == m_perc)
		return;
	m_perc = perc;
	invalidate();
}

void eProgress::setLeftColor(const gColor &c)
{
	m_left = c;
	invalidate();
}

void eProgress::setRightColor(const gColor &c)
{
	m_right = c;
	invalidate();
}

int eProgress::setProperty(const eString &prop, const eString &value)
{
	if (prop != "leftColor" && prop != "rightColor")
		return eWidget::setProperty(prop, value);
	// Stored like every property, then applied.
	eWidget::setProperty(prop, value);
	gColor c;
	if (!lookupColor(value, c))
	{
		eWarning("[host] %s: unknown colour %s", prop.c_str(), value.c_str());
		return 0;
	}
	if (prop == "leftColor")
		setLeftColor(c);
	else
		setRightColor(c);
	return 0;
}

void eProgress::describe(eString &out) const
{
	out += eString::format(" perc=%d", m_perc);
}

void eProgress::redrawWidget(gPainter *target, const eRect &area)
{
	eRect client = getClientRect();
	int split = client.w * m_perc / 100;
	target->fill(eRect(client.x, client.y, split, client.h), m_left);
	target->fill(eRect(client.x + split, client.y, client.w - split, client.h), m_right);
	eWidget::redrawWidget(target, area);
}
