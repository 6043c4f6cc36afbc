#include "host/actions.h"
#include "host/eavswitch.h"
#include "host/mainloop.h"
#include "infobar/equeltinfo.h"
#include "plugin/globals.h"

// The infobar keeps every key while it is up: red, green and the digits do
// nothing here rather than reach the main window behind it.
int eQUELTInfo::eventHandler(const eWidgetEvent &event)
{
	if (event.type != eWidgetEvent::evtAction)
		return eWidget::eventHandler(event);

	if (event.action == &i_cursorActions->ok || event.action == &i_cursorActions->cancel)
	{
		if (tickTimer && infoIsVisible)
			tickTimer.reset();
		if (infoIsVisible)
		{
			tickCount = 0;
			scrollText = loadFile;
			infoIsVisible = false;
		}
		close(0);
	}
	// The receiver's scale runs from 0 (loudest) to 63: up the scale is quieter.
	else if (event.action == &i_shortcutActions->yellow)
		eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeRelative, 1);
	else if (event.action == &i_shortcutActions->blue)
		eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeRelative, -1);
	return 1;
}
