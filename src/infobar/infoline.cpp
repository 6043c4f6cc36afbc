#include <algorithm>
#include <climits>

#include "host/elabel.h"
#include "host/mainloop.h"
#include "infobar/receivertime.h"
#include "infobar/vlcstatus.h"
#include "plugin/equelt.h"
#include "plugin/globals.h"

namespace
{
// The line stays this long, and comes back this often while a file plays,
// whatever delay its first showing had.
const long infoLineShownMs = 6000;
const long infoLineIntervalMs = 300000;
} // namespace

int eQUELT::readInfos()
{
	VlcStatus status;
	if (!status.fetch())
		return 0;
	long long left = static_cast<long long>(status.length) - status.time;
	return static_cast<int>(std::clamp<long long>(left, INT_MIN, INT_MAX));
}

void eQUELT::showInfo()
{
	struct tm now = receiverLocalTime();
	int minutesLeft = readInfos() / 60;
	if (info)
	{
		info->setText(eString::format("%02d:%02d -- %dmin.", now.tm_hour, now.tm_min, minutesLeft));
		info->show();
	}
	i_isVisible = true;
	if (infoCloseTimer)
		infoCloseTimer->start(infoLineShownMs, true);
	if (infoTimer)
		infoTimer->start(infoLineIntervalMs, true);
}

void eQUELT::closeInfo()
{
	if (info)
	{
		info->hide();
		info->setText("");
	}
	i_isVisible = false;
}
