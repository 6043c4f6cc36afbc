#include "host/ezaplcd.h"

eZapLCD *eZapLCD::getInstance()
{
	static eZapLCD instance;
	return &instance;
}

eString eZapLCD::currentText() const
{
	if (m_main.isVisible())
		return m_main.serviceName();
	return eString();
}
