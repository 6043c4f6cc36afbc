#include "host/enumber.h"

#include <algorithm>

#include "host/gpainter.h"

eNumber::eNumber(eWidget *parent, int len, int min, int max, int maxdigits, int *init, int isactive, eWidget *descr,
	int grabfocus, const char *deco)
	: eWidget(parent, grabfocus), m_values(size_t(std::clamp(len, 1, 16)), 0), m_min(std::min(min, max)),
	  m_max(std::max(min, max)), m_maxDigits(std::clamp(maxdigits, 1, 9)), m_descr(descr)
{
	loadDeco(deco ? deco : "");
	addActionMap(&i_cursorActions->map);
	addActionMap(&i_shortcutActions->map);
	for (size_t i = 0; i < m_values.size(); ++i)
		m_values[i] = std::clamp(init ? init[i] : 0, m_min, m_max);
	updateText();
}

void eNumber::setNumber(int field, int number)
{
	if (field < 0 || field >= int(m_values.size()))
		return;
	m_values[size_t(field)] = std::clamp(number, m_min, m_max);
	updateText();
}

int eNumber::getNumber(int field) const
{
	if (field < 0 || field >= int(m_values.size()))
		return 0;
	return m_values[size_t(field)];
}

void eNumber::updateText()
{
	eString text;
	for (size_t i = 0; i < m_values.size(); ++i)
	{
		if (i)
			text += ".";
		text += eString::format("%d", m_values[i]);
	}
	setText(text);
}

void eNumber::typeDigit(int digit)
{
	int &value = m_values[size_t(m_active)];
	int typed = m_typed == 0 ? digit : value * 10 + digit;
	value = std::clamp(typed, m_min, m_max);
	if (++m_typed >= m_maxDigits)
	{
		m_typed = 0;
		if (m_active + 1 < int(m_values.size()))
			++m_active;
	}
	updateText();
}

int eNumber::eventHandler(const eWidgetEvent &event)
{
	if (event.type != eWidgetEvent::evtAction)
		return eWidget::eventHandler(event);
	int digit = i_shortcutActions->digitOf(event.action);
	if (digit >= 0)
	{
		typeDigit(digit);
		numberChanged();
		return 1;
	}
	bool left = event.action == &i_cursorActions->left, right = event.action == &i_cursorActions->right;
	if (left || right)
	{
		m_typed = 0;
		if (m_values.size() > 1)
		{
			m_active = std::clamp(m_active + (right ? 1 : -1), 0, int(m_values.size()) - 1);
			invalidate();
			return 1;
		}
		int old = m_values[0];
		setNumber(0, old + (right ? 1 : -1));
		if (m_values[0] != old)
			numberChanged();
		return 1;
	}
	if (event.action == &i_cursorActions->ok)
	{
		m_typed = 0;
		selected(m_values.data());
		return 1;
	}
	return eWidget::eventHandler(event);
}

void eNumber::redrawWidget(gPainter *target, const eRect &area)
{
	eRect client = getClientRect();
	target->fill(client, hasFocus() ? gColor(0x30, 0x50, 0x90) : gColor(0x28, 0x28, 0x28));
	target->setForegroundColor(getForegroundColor());
	target->renderText(client, getText(), gPainter::RT_HALIGN_CENTER | gPainter::RT_VALIGN_CENTER);
}
