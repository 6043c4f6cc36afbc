#include "host/eslider.h"

#include <algorithm>

eSlider::eSlider(eWidget *parent, eWidget *descr, int min, int max)
	: eProgress(parent, 1), m_descr(descr), m_min(std::min(min, max)), m_max(std::max(min, max)), m_value(m_min)
{
	addActionMap(&i_cursorActions->map);
	updatePerc();
}

void eSlider::setValue(int value)
{
	m_value = std::clamp(value, m_min, m_max);
	updatePerc();
}

void eSlider::updatePerc()
{
	setPerc(m_max == m_min ? 0 : (m_value - m_min) * 100 / (m_max - m_min));
}

int eSlider::eventHandler(const eWidgetEvent &event)
{
	if (event.type != eWidgetEvent::evtAction)
		return eProgress::eventHandler(event);
	int step = 0;
	if (event.action == &i_cursorActions->left)
		step = -1;
	else if (event.action == &i_cursorActions->right)
		step = 1;
	else
		return eProgress::eventHandler(event);
	int old = m_value;
	setValue(m_value + step);
	if (m_value != old)
		changed(m_value);
	return 1;
}

void eSlider::describe(eString &out) const
{
	out += eString::format(" value=%d range=%d..%d", m_value, m_min, m_max);
}
