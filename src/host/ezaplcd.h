#ifndef HOST_EZAPLCD_H
#define HOST_EZAPLCD_H

#include <sigc++/sigc++.h>

#include "host/estring.h"

// One page of the front-panel LCD.
class eZapLCDPage
{
public:
	void show() { m_visible = true; changed(); }
	void hide() { m_visible = false; changed(); }
	bool isVisible() const { return m_visible; }
	sigc::signal<void()> changed;

protected:
	bool m_visible = false;
};

// The main page shows the name of what is playing.
class eZapLCDMain : public eZapLCDPage
{
public:
	void setServiceName(const eString &name) { m_serviceName = name; changed(); }
	const eString &serviceName() const { return m_serviceName; }

private:
	eString m_serviceName;
};

class eZapLCDMenu : public eZapLCDPage
{
};

// The front-panel LCD with its pages. GUI thread only.
class eZapLCD
{
public:
	static eZapLCD *getInstance();
	static eZapLCD *instance() { return getInstance(); }

	eZapLCDMain *lcdMain = &m_main;
	eZapLCDMenu *lcdMenu = &m_menu;

	// The text the LCD shows now: the service name while the main page is up.
	eString currentText() const;

private:
	eZapLCDMain m_main;
	eZapLCDMenu m_menu;
};

#endif
