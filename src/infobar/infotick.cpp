#include "host/ezaplcd.h"
#include "host/mainloop.h"
#include "infobar/equeltinfo.h"
#include "infobar/receivertime.h"
#include "plugin/globals.h"

namespace
{
// Names up to this many bytes fit the title and never scroll.
const size_t titleBytes = 25;
// The scrolled title never shrinks below this many bytes.
const unsigned int shortestWindow = 20;
// 75 ticks of 225 ms: the infobar stays about 17 seconds.
const int lastTick = 74;
// The logo is repainted on the first three ticks, so that it stays on top of
// whatever the screen draws while the infobar appears.
const int logoTicks = 3;
} // namespace

void eQUELTInfo::showScrollWindow()
{
	eString piece = scrollText.right(scrollWidth);
	setElementText("e_now_title", piece);
	eZapLCD::getInstance()->lcdMain->setServiceName(piece);
}

void eQUELTInfo::actualize_EinNow()
{
	if (hasPicon && logoRepaints < logoTicks)
	{
		++logoRepaints;
		logoLabel.invalidate();
	}

	// A long name loses a leading byte per tick down to the last 21, then grows
	// back behind a few blanks until the whole padded name is out, and starts over.
	size_t length = scrollText.size();
	if (scrollLeft && length > titleBytes)
	{
		showScrollWindow();
		--scrollWidth;
		if (scrollWidth <= shortestWindow)
		{
			scrollLeft = false;
			++scrollWidth;
		}
	}
	else if (!scrollLeft && length > titleBytes)
	{
		scrollText = "     " + loadFile;
		showScrollWindow();
		++scrollWidth;
		if (scrollWidth >= scrollText.size())
		{
			scrollText = loadFile;
			scrollWidth = static_cast<unsigned int>(scrollText.size());
			scrollLeft = true;
		}
	}

	if (tickTimer && infoIsVisible)
	{
		++tickCount;
		if (tickCount > lastTick)
		{
			// The timer dies inside its own timeout; nothing touches it afterwards.
			tickTimer.reset();
			scrollWidth = static_cast<unsigned int>(scrollText.size());
			tickCount = 0;
			infoIsVisible = false;
			close(0);
		}
	}
}

void eQUELTInfo::updateTime()
{
	struct tm now = receiverLocalTime();
	eString text;
	// The skins that show seconds get a separator that blinks with them.
	if (f_support && blink)
	{
		text = eString::format("%02d:%02d:%02d", now.tm_hour, now.tm_min, now.tm_sec);
		blink = false;
	}
	else
	{
		text = eString::format("%02d.%02d.%02d", now.tm_hour, now.tm_min, now.tm_sec);
		if (f_support)
			blink = true;
	}
	setElementText("fulltime", text);
	clockTimer->start(1000, false);
}
