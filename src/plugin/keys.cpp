#include "config/configkeys.h"
#include "engine/engine.h"
#include "host/actions.h"
#include "host/eavswitch.h"
#include "host/econfig.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"

int eQUELT::eventHandler(const eWidgetEvent &event)
{
	if (event.type != eWidgetEvent::evtAction)
		return eWindow::eventHandler(event);

	if (event.action == &i_cursorActions->cancel)
	{
		if (!menuVisible && !volumeIsVisible)
			return 1; // Stopping a parked stream is not built yet.
		if (volumeIsVisible)
		{
			volumeGraphic.hide();
			geminiVolume.hide();
			volumeIsVisible = false;
			return 1;
		}
		if (i_isVisible)
			closeInfo();
		if (eQUELTEngine::getInstance()->status == STATUS_PLAYING)
		{
			// The stream goes on; the window only frees its picture again.
			park();
			return 1;
		}
		eConfig::getInstance()->setKey(configkey::volume, quelt_volume);
		eAVSwitch::getInstance()->changeVolume(eAVSwitch::modeAbsolute, tv_volume);
		infoTimer->stop();
		close(0);
		return 1;
	}
	return eWindow::eventHandler(event);
}
