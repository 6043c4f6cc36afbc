// The recording-timer guard: closes the plug-in before a recording falls due,
// and on its first run takes the receiver over for the plug-in.

#include "config/configkeys.h"
#include "host/eavswitch.h"
#include "host/econfig.h"
#include "host/edvb.h"
#include "host/emessagebox.h"
#include "host/eservice.h"
#include "host/etimermanager.h"
#include "host/log.h"
#include "host/mainloop.h"
#include "host/paths.h"
#include "host/platform.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"
#include "session/backgroundpicture.h"
#include "timerguard/guardclock.h"
#include "timerguard/timerlist.h"
#include "timerguard/timerverdict.h"

namespace
{
const char *const timerListFile = "/var/tuxbox/config/enigma/timer.epl";
// While the next recording is far off, the guard looks again after this long.
constexpr long recheckMs = 240000;
constexpr long closeDelayMs = 1000;
constexpr int closeBoxSeconds = 5;

void showGuardBox(const char *text, int timeoutSeconds)
{
	eMessageBox box(text, _("Information"), eMessageBox::btOK | eMessageBox::iconInfo, eMessageBox::btOK,
		timeoutSeconds);
	box.show();
	box.exec();
	box.hide();
}

// The receiver's time in seconds since 1970, as the receiver counts it.
long long referenceNow()
{
	time_t corrected = guardSystemTime() + eDVB::getInstance()->time_difference;
	struct tm utc = {};
	gmtime_r(&corrected, &utc);
	eDebug("[quelt]: year: %d", utc.tm_year);
	return timerReferenceTime(utc);
}
} // namespace

void eQUELT::parseTimerList()
{
	bool unjudged = false;
	if (eTimerManager::getInstance()->timerCount() > 0)
	{
		long long now = referenceNow();
		TimerList list;
		if (readTimerList(hostPath(timerListFile), list))
		{
			unjudged = list.unjudged;
			TimerVerdict verdict = judgeTimerList(list, now);
			switch (verdict.kind)
			{
			case TimerVerdict::dueSoon:
				eDebug("[quelt]: next event in: %llds", verdict.distance);
				showGuardBox("A Timerevent will occur within the next 8 mins. The plugin will shutdown NOW!",
					closeBoxSeconds);
				TIMEREVENT = 1;
				shutdownTimer->start(closeDelayMs, true);
				break;
			case TimerVerdict::later:
				eDebug("[quelt]: next event in: %llds", verdict.distance);
				TIMEREVENT = 0;
				recheckTimer->start(recheckMs, true);
				break;
			case TimerVerdict::inProgress:
				eDebug("[quelt]: event in progress for at least %llds", verdict.secondsLeft);
				showGuardBox("A Timerevent is currently in progress. The plugin will shutdown NOW!", closeBoxSeconds);
				TIMEREVENT = 3;
				shutdownTimer->start(closeDelayMs, true);
				break;
			case TimerVerdict::nothingAhead:
				break;
			}
		}
	}

	if (TIMEREVENT == 0 && unjudged && startUp)
	{
		eDebug("[quelt]: unhandled event, starting msgbox");
		showGuardBox("Detected one or more unhandled timer-events (e.g. Ngrab, repeating timer etc.).\n"
					 "Run QUELT at your own risk!",
			0);
	}

	if (startUp)
	{
		tv_volume = volu = currVol = quelt_volume = configdefault::volume;
		eConfig::getInstance()->getKey(configkey::volume, quelt_volume);
		eDebug("[quelt]: getting current tv volume");
		eAVSwitch *avs = eAVSwitch::getInstance();
		tv_volume = avs->volume;
		eDebug("[quelt]: changing volume to quelt mode");
		avs->changeVolume(eAVSwitch::modeAbsolute, quelt_volume);
		currVol = volu = quelt_volume;

		eDebug("[quelt]: is StartUp and getting service API");
		if (eServiceInterface *services = eDVB::getInstance()->getServiceAPI())
		{
			savedService = services->service;
			eDebug("[quelt]: got service API");
		}
		// A recording that runs already keeps its service and the picture.
		if (TIMEREVENT != 3)
		{
			eDebug("[quelt]: stopping interface");
			eServiceInterface::getInstance()->stop(0);
			eDebug("[quelt]: interface stopped");
			backgroundpicture::show();
		}
	}
	startUp = false;
}
